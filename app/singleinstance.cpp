#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quarvel {

QString SingleInstanceGuard::lockFilePath(const QString &programFolder, const QString &lockFolder)
{
    const QFileInfo info(programFolder);
    const QString key = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString folder = lockFolder;
#ifndef Q_OS_WIN
    // On Windows the "runtime" location is the user's home folder, where a
    // lock file would be left in sight; the temporary folder serves there.
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
#endif
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("quarvel-%1.lock").arg(QString::fromLatin1(hash)));
}

SingleInstanceGuard::SingleInstanceGuard(const QString &programFolder, const QString &lockFolder)
    : mLock(lockFilePath(programFolder, lockFolder))
{
    // Only a holder that is no longer running makes the lock stale; by age
    // alone the lock of a long-running copy would be taken over.
    mLock.setStaleLockTime(0);
    mAnotherIsRunning = !mLock.tryLock(0) && mLock.error() == QLockFile::LockFailedError;
}

} // namespace quarvel
