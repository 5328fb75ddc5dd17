#include "librarywatcher.h"

#include <QFileInfo>

#include <filesystem>

namespace quarvel {

namespace {
// The stamp of the file path names now; none (and the reason in failure)
// when it cannot be reached.
std::optional<core::FileStamp> stampNow(const QString &path, std::optional<core::Error> *failure = nullptr)
{
    try {
        return core::stampOf(std::filesystem::path(path.toStdU16String()));
    } catch (const core::Error &e) {
        if (failure)
            *failure = e;
    }
    return std::nullopt;
}
} // namespace

LibraryWatcher::LibraryWatcher(QObject *parent)
    : QObject(parent)
{
    mQuiet.setSingleShot(true);
    mQuiet.setInterval(kQuietMs);
    connect(&mQuiet, &QTimer::timeout, this, &LibraryWatcher::lookAtFile);
    connect(&mWatcher, &QFileSystemWatcher::fileChanged, this, &LibraryWatcher::somethingChanged);
    connect(&mWatcher, &QFileSystemWatcher::directoryChanged, this, &LibraryWatcher::somethingChanged);
}

void LibraryWatcher::watch(const QString &path)
{
    if (path != mPath) {
        const QStringList watched = mWatcher.files() + mWatcher.directories();
        if (!watched.isEmpty())
            mWatcher.removePaths(watched);
        mPath = path;
    }
    // What is pending was made before the window reads the file now.
    mQuiet.stop();
    rearm();
    mKnown = mPath.isEmpty() ? std::nullopt : stampNow(mPath);
}

void LibraryWatcher::noteOwnSave(const QString &path)
{
    if (path != mPath || mPath.isEmpty())
        return;
    rearm();
    mKnown = stampNow(mPath);
}

void LibraryWatcher::postpone()
{
    mKnown = mBeforeReport;
    mFirstChange.start();
    mQuiet.start();
}

void LibraryWatcher::somethingChanged()
{
    if (mPath.isEmpty())
        return;
    if (!mQuiet.isActive())
        mFirstChange.start();
    // Each change puts the look off again, but not for ever.
    if (mFirstChange.elapsed() < kLongestDelayMs)
        mQuiet.start();
}

void LibraryWatcher::rearm()
{
    if (mPath.isEmpty())
        return;
    // A rename over the file leaves the watch on the file that was there;
    // the folder shows the new one coming (and a deleted one made again).
    const QString folder = QFileInfo(mPath).absolutePath();
    if (!mWatcher.directories().contains(folder) && QFileInfo(folder).isDir())
        mWatcher.addPath(folder);
    if (mWatcher.files().contains(mPath))
        mWatcher.removePath(mPath);
    if (QFileInfo::exists(mPath))
        mWatcher.addPath(mPath);
}

void LibraryWatcher::lookAtFile()
{
    if (mPath.isEmpty())
        return;
    // Armed again before the stamp is taken: whatever comes after it is
    // noticed.
    rearm();
    std::optional<core::Error> failure;
    const std::optional<core::FileStamp> now = stampNow(mPath, &failure);
    if (now == mKnown)
        return;
    mBeforeReport = mKnown;
    mKnown = now;
    if (now)
        emit changed(mPath);
    else
        emit vanished(mPath, *failure);
}

} // namespace quarvel
