#include "settingslocation.h"

#include "paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace quarvel {

QString settingsFilePath(const QString &programFolder, bool programFolderWritable,
                         const QString &userConfigFolder)
{
    const QString fileName = QString::fromUtf16(kSettingsFileName);
    if (programFolderWritable || userConfigFolder.isEmpty())
        return JoinPath(programFolder, fileName);
    return JoinPath(JoinPath(userConfigFolder, QStringLiteral("Quarvel")), fileName);
}

bool isSystemProgramFolder(const QString &programFolder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(programFolder)
    return false;
#else
    const QString folder = QDir::cleanPath(programFolder);
    for (const QLatin1String root : {QLatin1String("/usr"), QLatin1String("/bin"), QLatin1String("/sbin")}) {
        if (folder == root || folder.startsWith(root + QLatin1Char('/')))
            return true;
    }
    return false;
#endif
}

namespace {

bool folderIsWritable(const QString &folder)
{
#ifdef Q_OS_WIN
    // Windows answers by the read-only attribute alone unless asked to read
    // the access rights, which Program Files refuses to ordinary users: a
    // file made and removed again is the sure answer.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("quarvel-probe-XXXXXX")));
    return probe.open();
#else
    return QFileInfo(folder).isWritable();
#endif
}

QString userConfigFolder()
{
#ifdef Q_OS_WIN
    return qEnvironmentVariable("APPDATA");
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
}

} // namespace

QString settingsFilePath(const QString &programFolder)
{
    // The administrator can write into the system's program folder, but the
    // settings of one user do not belong beside the programs every user
    // shares (nor would the package manager remove them).
    const bool writable = folderIsWritable(programFolder) && !isSystemProgramFolder(programFolder);
    const QString path = settingsFilePath(programFolder, writable, userConfigFolder());
    const QString folder = FolderOfPath(path);
    if (!writable && !folder.isEmpty())
        QDir().mkpath(folder);
    return path;
}

} // namespace quarvel
