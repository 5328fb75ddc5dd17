#include "settingslocation.h"

#include "paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quarvel {

QString settingsFilePath(const QString &programFolder, bool programFolderWritable,
                         const QString &userConfigFolder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(programFolderWritable)
    Q_UNUSED(userConfigFolder)
    return JoinPath(programFolder, QString::fromUtf16(kSettingsFileName));
#else
    const QString fileName = QString::fromUtf16(kSettingsFileName);
    if (programFolderWritable || userConfigFolder.isEmpty())
        return JoinPath(programFolder, fileName);
    return JoinPath(JoinPath(userConfigFolder, QStringLiteral("Quarvel")), fileName);
#endif
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

QString settingsFilePath(const QString &programFolder)
{
    // The administrator can write into the system's program folder, but the
    // settings of one user do not belong beside the programs every user
    // shares (nor would the package manager remove them).
    const bool writable = QFileInfo(programFolder).isWritable() && !isSystemProgramFolder(programFolder);
    const QString path = settingsFilePath(
        programFolder, writable,
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    const QString folder = FolderOfPath(path);
    if (!writable && !folder.isEmpty())
        QDir().mkpath(folder);
    return path;
}

} // namespace quarvel
