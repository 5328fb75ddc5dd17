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

QString settingsFilePath(const QString &programFolder)
{
    const bool writable = QFileInfo(programFolder).isWritable();
    const QString path = settingsFilePath(
        programFolder, writable,
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    const QString folder = FolderOfPath(path);
    if (!writable && !folder.isEmpty())
        QDir().mkpath(folder);
    return path;
}

} // namespace quarvel
