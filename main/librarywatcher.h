#pragma once

// Notices when another program changes the file the main window has open (a
// library being added to by the command-line tool or by AutoCAD, a copy over
// it, its deletion). Changes come in bursts: a save writes a temporary file,
// renames it over the library and may be followed at once by the next save.
// So the watcher waits until the file has been quiet for a moment, then
// compares the file's stamp (size, time of change, device, inode) with the
// one the window last read or wrote, and reports once. Saves the window made
// itself are stamped as they are made, so they are never reported.
//
// Only one file is looked at per report; the folder is watched (not read)
// so that a file replaced by a rename, or deleted and made again, is still
// followed.

#include "core/coreerror.h"
#include "core/fileio.h"

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

namespace quarvel {

class LibraryWatcher : public QObject
{
    Q_OBJECT

public:
    // How long the file must be quiet before it is looked at, and how long
    // a stream of changes may put that off.
    static constexpr int kQuietMs = 250;
    static constexpr int kLongestDelayMs = 2000;

    explicit LibraryWatcher(QObject *parent = nullptr);

    // Follows path (empty: nothing) and takes its stamp as the one the window
    // has read; call it just before reading the file, so that a change made
    // while it is read is reported rather than missed.
    void watch(const QString &path);
    const QString &path() const { return mPath; }

    // The window has just written the file it follows: the file as it is now
    // is its own.
    void noteOwnSave(const QString &path);

    // The report just made cannot be taken now: it is made again after the
    // next quiet spell (once, however many changes come meanwhile).
    void postpone();

signals:
    // The file differs from what the window last read or wrote.
    void changed(const QString &path);
    // The file can no longer be read where it was (deleted, renamed away,
    // its folder gone); reason is what the system says.
    void vanished(const QString &path, const quarvel::core::Error &reason);

private:
    void somethingChanged();
    void lookAtFile();
    void rearm();

    QFileSystemWatcher mWatcher;
    QTimer mQuiet;
    QElapsedTimer mFirstChange;
    QString mPath;
    // The stamp of the file as the window knows it; none while the file is
    // missing (so that its return is a change).
    std::optional<core::FileStamp> mKnown;
    std::optional<core::FileStamp> mBeforeReport;   // mKnown before the last report
};

} // namespace quarvel
