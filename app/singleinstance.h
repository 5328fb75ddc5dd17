#pragma once

// One running copy per installed program: a lock file, named after the
// program's folder, in the user's runtime folder (on Windows the temporary
// folder). The lock is the operating
// system's, so a copy that crashed leaves no lock that blocks the next start.

#include <QLockFile>
#include <QString>

namespace quarvel {

class SingleInstanceGuard
{
public:
    // Tries to take the lock for programFolder in lockFolder (the user's
    // runtime folder when empty). Holds it while the object lives.
    explicit SingleInstanceGuard(const QString &programFolder, const QString &lockFolder = {});

    // True only when another running copy holds the lock. A lock that cannot
    // be made for any other reason (no runtime folder, no rights) does not
    // keep the program from starting.
    bool anotherIsRunning() const { return mAnotherIsRunning; }

    // The lock file used for programFolder in lockFolder.
    static QString lockFilePath(const QString &programFolder, const QString &lockFolder = {});

private:
    QLockFile mLock;
    bool mAnotherIsRunning = false;
};

} // namespace quarvel
