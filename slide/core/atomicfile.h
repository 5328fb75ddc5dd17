#pragma once

// Atomic replacement of a file, and the lock that keeps two edits of one
// library apart.
//
// AtomicFile writes to a temporary file beside the target and renames it over
// the target only after every write, the sync and the close succeeded; any
// failure removes the temporary file and leaves the target byte for byte as
// it was. On Linux the temporary file is unnamed (O_TMPFILE) where the file
// system supports it; elsewhere it is named ".<target name>.quarvel-save-XXXXXX"
// and holds a lock while it lives, so that the next save of the same target
// recognises and removes the ones a killed save left behind.
//
// EditLock is an advisory lock on the library file itself (flock on Linux).
// Because a save replaces the file by a rename, the locked file may stop
// being the one the path names: after locking, the lock checks that the path
// still names the locked file and otherwise locks the new one. So no lock
// file is ever left beside a library. (Windows cannot rename over an open
// file: there the lock is LockFileEx on a hidden companion file, deleted
// when the last editor closes it.)

#include "fileio.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace quarvel::core {

class AtomicFile
{
public:
    // Opens the temporary file beside target. Throws Error (CannotWrite, with
    // errno) naming target when it cannot.
    explicit AtomicFile(std::filesystem::path target);
    ~AtomicFile();   // removes the temporary file unless commit() succeeded
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Appends bytes; a partial write continues until all is written. Throws
    // Error (CannotWrite, errno: ENOSPC, EDQUOT, EFBIG, EIO, ...) and removes
    // the temporary file on failure; the target is not touched.
    void write(const char *data, std::size_t size);
    void write(std::string_view bytes) { write(bytes.data(), bytes.size()); }

    // Syncs and closes the temporary file (each checked), renames it over the
    // target and syncs the folder. Throws Error (CannotWrite) on any failure,
    // having removed the temporary file; the target is then unchanged.
    void commit();
    // Drops the temporary file; the target is not touched.
    void discard();

    const std::filesystem::path &target() const { return mTarget; }
    std::uint64_t written() const { return mWritten; }
    // After commit(): the stamp of the file now in place (taken before the
    // rename, so that no later change by another program can slip in).
    const FileStamp &committedStamp() const { return mStamp; }

    // Test hook. The gate is asked before every write (stage Write, with the
    // bytes written so far and the chunk's size) and before the sync, the
    // close and the rename (size 0). Returning a non-zero errno makes that
    // step fail as the system would have failed it.
    enum class Stage : std::uint8_t { Write, Sync, Close, Rename };
    using Gate = std::function<int(Stage stage, std::uint64_t written, std::size_t size)>;
    static void setGate(Gate gate);
    // Test hook: false makes saves use named temporary files, as they do
    // where the file system has no unnamed ones.
    static void useUnnamedTemporaries(bool use);

    // Removes the temporary files of killed saves of target (named ones no
    // live save holds). Called by every save; harmless at any time.
    static void removeStaleTemporaries(const std::filesystem::path &target);
    // The fixed part of a named temporary file's name: ".<name>" + marker + 6
    // random characters.
    static constexpr std::string_view kTemporaryMarker = ".quarvel-save-";

private:
    void fail(int error, const char *step);
    void closeHandle();

    std::filesystem::path mTarget;
    std::filesystem::path mFinal;       // the file replaced: the target, or the file a link names
    std::filesystem::path mTemporary;   // empty while the temporary file has no name
    std::uint64_t mWritten = 0;
    bool mCommitted = false;
    FileStamp mStamp;
#ifdef _WIN32
    void *mHandle = nullptr;
#else
    int mFd = -1;
    int mDirFd = -1;
#endif
};

// Writes bytes to target through an AtomicFile.
void writeFileAtomically(const std::filesystem::path &target, std::string_view bytes);

class EditLock
{
public:
    // How long a second editor waits for the first before giving up.
    static constexpr std::chrono::milliseconds kDefaultWait{5000};

    EditLock() = default;   // holds nothing
    // Locks the existing file path names for an edit, waiting up to wait
    // (polling) while another process holds it. Throws Error (Busy: "is being
    // changed by another program; try again") when it is still held then, or
    // Error (CannotRead, errno) when the file cannot be opened. A path that
    // names no file yields a lock that holds nothing (there is nothing to keep
    // apart yet).
    static EditLock acquire(const std::filesystem::path &path,
                            std::chrono::milliseconds wait = kDefaultWait);

    EditLock(EditLock &&other) noexcept;
    EditLock &operator=(EditLock &&other) noexcept;
    ~EditLock();

    bool held() const;
    const std::filesystem::path &path() const { return mPath; }
    void release();

private:
    std::filesystem::path mPath;
#ifdef _WIN32
    void *mHandle = nullptr;
#else
    int mFd = -1;
#endif
};

} // namespace quarvel::core
