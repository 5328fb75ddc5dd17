#include "atomicfile.h"

#include "coreerror.h"
#include "fileio.h"

#include <cerrno>
#include <random>
#include <system_error>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quarvel::core {

namespace fs = std::filesystem;

namespace {

AtomicFile::Gate &gate()
{
    static AtomicFile::Gate g;
    return g;
}

[[maybe_unused]] bool &unnamedAllowed()
{
    static bool allowed = true;
    return allowed;
}

int askGate(AtomicFile::Stage stage, std::uint64_t written, std::size_t size)
{
    const AtomicFile::Gate &g = gate();
    return g ? g(stage, written, size) : 0;
}

fs::path folderOf(const fs::path &target)
{
    const fs::path parent = target.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

// ".<name>.quarvel-save-": the fixed start of every temporary file of target.
// Long names are cut so that the whole name stays within 255 bytes.
std::string utf8Name(const fs::path &path)
{
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

std::string temporaryPrefix(const fs::path &target)
{
    std::string name = utf8Name(target);
    const std::size_t room = 255 - 1 - AtomicFile::kTemporaryMarker.size() - 6;
    if (name.size() > room)
        name.resize(room);
    return "." + name + std::string(AtomicFile::kTemporaryMarker);
}

std::string randomSuffix()
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
    std::string suffix(6, 'X');
    for (char &c : suffix)
        c = kLetters[pick(generator)];
    return suffix;
}

bool isTemporaryOf(const std::string &entry, const std::string &prefix)
{
    return entry.size() == prefix.size() + 6 && entry.compare(0, prefix.size(), prefix) == 0;
}

Error writeError(const fs::path &target, int error)
{
    return Error(displayPath(target), Reason::CannotWrite).withSysError(error);
}

} // namespace

void AtomicFile::setGate(Gate g)
{
    gate() = std::move(g);
}

void AtomicFile::useUnnamedTemporaries(bool use)
{
    unnamedAllowed() = use;
}

void writeFileAtomically(const fs::path &target, std::string_view bytes)
{
    AtomicFile file(target);
    file.write(bytes.data(), bytes.size());
    file.commit();
}

AtomicFile::~AtomicFile()
{
    if (!mCommitted)
        discard();
}

#ifdef _WIN32

AtomicFile::AtomicFile(fs::path target)
    : mTarget(std::move(target))
{
    std::error_code ec;
    if (fs::is_directory(mTarget, ec))
        throw writeError(mTarget, EISDIR);
    removeStaleTemporaries(mTarget);
    const std::string prefix = temporaryPrefix(mTarget);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = folderOf(mTarget) / fs::u8path(prefix + randomSuffix());
        // No FILE_SHARE_DELETE: while this save lives, nobody can remove it.
        HANDLE handle = CreateFileW(candidate.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            mHandle = handle;
            mTemporary = candidate;
            return;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            throw writeError(mTarget, errnoOf(GetLastError()));
    }
    throw writeError(mTarget, EEXIST);
}

void AtomicFile::closeHandle()
{
    if (mHandle)
        CloseHandle(static_cast<HANDLE>(mHandle));
    mHandle = nullptr;
}

void AtomicFile::fail(int error, const char *)
{
    discard();
    throw writeError(mTarget, error);
}

void AtomicFile::write(const char *data, std::size_t size)
{
    if (!mHandle)
        throw writeError(mTarget, EBADF);
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1 << 30));
        if (const int injected = askGate(Stage::Write, mWritten, chunk))
            fail(injected, "write");
        DWORD done = 0;
        if (!WriteFile(static_cast<HANDLE>(mHandle), data, chunk, &done, nullptr) || done == 0)
            fail(errnoOf(GetLastError()), "write");
        data += done;
        size -= done;
        mWritten += done;
    }
}

void AtomicFile::commit()
{
    if (!mHandle)
        throw writeError(mTarget, EBADF);
    if (const int injected = askGate(Stage::Sync, mWritten, 0))
        fail(injected, "sync");
    if (!FlushFileBuffers(static_cast<HANDLE>(mHandle)))
        fail(errnoOf(GetLastError()), "sync");
    if (const int injected = askGate(Stage::Close, mWritten, 0))
        fail(injected, "close");
    const bool closed = CloseHandle(static_cast<HANDLE>(mHandle));
    mHandle = nullptr;
    if (!closed)
        fail(errnoOf(GetLastError()), "close");
    if (const int injected = askGate(Stage::Rename, mWritten, 0))
        fail(injected, "rename");
    // The temporary file is hidden while it is written; the file it becomes
    // keeps what the old file was (hidden, system, archive), a new one is
    // plain.
    const DWORD old = GetFileAttributesW(mTarget.c_str());
    const DWORD attributes = old == INVALID_FILE_ATTRIBUTES
                           ? 0
                           : old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    if (!SetFileAttributesW(mTemporary.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL))
        fail(errnoOf(GetLastError()), "rename");
    if (!MoveFileExW(mTemporary.c_str(), mTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail(errnoOf(GetLastError()), "rename");
    try {
        mStamp = stampOf(mTarget);
    } catch (const Error &) {
    }
    mCommitted = true;
    mTemporary.clear();
}

void AtomicFile::discard()
{
    closeHandle();
    if (!mTemporary.empty())
        DeleteFileW(mTemporary.c_str());
    mTemporary.clear();
}

void AtomicFile::removeStaleTemporaries(const fs::path &target)
{
    const std::string prefix = temporaryPrefix(target);
    std::error_code ec;
    for (fs::directory_iterator it(folderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
        // A live save keeps its file open without delete sharing: deleting
        // it fails, deleting a killed save's file succeeds.
        if (isTemporaryOf(utf8Name(it->path()), prefix))
            DeleteFileW(it->path().c_str());
    }
}

// Windows cannot rename over a file that is open, so the lock cannot live on
// the library itself: it lives on a companion file beside it, hidden, and
// deleted when the last editor closes it.
EditLock EditLock::acquire(const fs::path &path, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    EditLock lock;
    lock.mPath = path;
    std::error_code ec;
    if (!fs::exists(path, ec))
        return lock;   // nothing there to keep apart
    const fs::path companion = folderOf(path) / (L"." + path.filename().wstring() + L".quarvel-lock");
    while (true) {
        HANDLE handle = CreateFileW(companion.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            OVERLAPPED at{};
            if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
                lock.mHandle = handle;
                return lock;
            }
            CloseHandle(handle);
        } else if (GetLastError() != ERROR_ACCESS_DENIED && GetLastError() != ERROR_SHARING_VIOLATION) {
            // A folder where no lock file can be made: go on unlocked.
            return lock;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            throw Error(displayPath(path), Reason::Busy);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool EditLock::held() const
{
    return mHandle != nullptr;
}

void EditLock::release()
{
    if (mHandle)
        CloseHandle(static_cast<HANDLE>(mHandle));   // closing the handle drops its locks
    mHandle = nullptr;
}

EditLock::EditLock(EditLock &&other) noexcept
    : mPath(std::move(other.mPath)), mHandle(other.mHandle)
{
    other.mHandle = nullptr;
}

EditLock &EditLock::operator=(EditLock &&other) noexcept
{
    if (this != &other) {
        release();
        mPath = std::move(other.mPath);
        mHandle = other.mHandle;
        other.mHandle = nullptr;
    }
    return *this;
}

#else

namespace {

int closeChecked(int fd)
{
    // close() after EINTR must not be repeated on Linux: the descriptor is gone.
    return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

} // namespace

AtomicFile::AtomicFile(fs::path target)
    : mTarget(std::move(target)), mFinal(mTarget)
{
    // A link to a file is followed: the file it names is replaced, the link
    // stays.
    std::error_code ec;
    if (fs::is_symlink(mTarget, ec)) {
        if (fs::path real = fs::weakly_canonical(mTarget, ec); !ec)
            mFinal = real;
    }
    const fs::path folder = folderOf(mFinal);
    struct stat st;
    const bool exists = ::stat(mFinal.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        throw writeError(mTarget, EISDIR);
    mDirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (mDirFd < 0)
        throw writeError(mTarget, errno);
    removeStaleTemporaries(mFinal);

#ifdef O_TMPFILE
    // An unnamed file is given its name through /proc at commit: without
    // /proc, a named one from the start.
    if (unnamedAllowed() && ::access("/proc/self/fd", X_OK) == 0)
        mFd = ::openat(mDirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#endif
    if (mFd < 0) {
        // No unnamed files here (vfat, network shares): a named one that
        // holds a lock while this save lives.
        const std::string prefix = temporaryPrefix(mFinal);
        int error = EEXIST;
        for (int attempt = 0; attempt < 100 && mFd < 0; ++attempt) {
            const std::string name = prefix + randomSuffix();
            mFd = ::openat(mDirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (mFd < 0) {
                error = errno;
                if (error != EEXIST)
                    break;
                continue;
            }
            if (::flock(mFd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
                // Another save's clean-up took it for a killed save's file.
                ::close(mFd);
                mFd = -1;
                continue;
            }
            mTemporary = folder / name;
        }
        if (mFd < 0) {
            ::close(mDirFd);
            mDirFd = -1;
            throw writeError(mTarget, error);
        }
    } else {
        ::flock(mFd, LOCK_EX | LOCK_NB);
    }
    if (exists)
        ::fchmod(mFd, st.st_mode & 07777);   // the new file keeps the old one's permissions
}

void AtomicFile::closeHandle()
{
    if (mFd >= 0)
        ::close(mFd);
    mFd = -1;
    if (mDirFd >= 0)
        ::close(mDirFd);
    mDirFd = -1;
}

void AtomicFile::fail(int error, const char *)
{
    discard();
    throw writeError(mTarget, error);
}

void AtomicFile::discard()
{
    if (!mTemporary.empty()) {
        if (mDirFd >= 0)
            ::unlinkat(mDirFd, mTemporary.filename().c_str(), 0);
        else
            ::unlink(mTemporary.c_str());
    }
    mTemporary.clear();
    closeHandle();
}

void AtomicFile::write(const char *data, std::size_t size)
{
    if (mFd < 0)
        throw writeError(mTarget, EBADF);
    while (size > 0) {
        if (const int injected = askGate(Stage::Write, mWritten, size))
            fail(injected, "write");
        const ssize_t done = ::write(mFd, data, size);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, "write");
        }
        if (done == 0)
            fail(EIO, "write");
        data += done;
        size -= static_cast<std::size_t>(done);
        mWritten += static_cast<std::uint64_t>(done);
    }
}

void AtomicFile::commit()
{
    if (mFd < 0)
        throw writeError(mTarget, EBADF);
    if (const int injected = askGate(Stage::Sync, mWritten, 0))
        fail(injected, "sync");
    if (::fsync(mFd) != 0)
        fail(errno, "sync");
    if (struct stat st; ::fstat(mFd, &st) == 0) {
        mStamp.size = static_cast<std::uint64_t>(st.st_size);
        mStamp.modifiedNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        mStamp.device = st.st_dev;
        mStamp.inode = st.st_ino;
    }

    const std::string prefix = temporaryPrefix(mFinal);
    if (mTemporary.empty()) {
        // Give the unnamed file a name of our own beside the target; the
        // rename below replaces the target with it.
        const std::string self = "/proc/self/fd/" + std::to_string(mFd);
        int error = EEXIST;
        for (int attempt = 0; attempt < 100 && mTemporary.empty(); ++attempt) {
            const std::string name = prefix + randomSuffix();
            if (::linkat(AT_FDCWD, self.c_str(), mDirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0
                || ::linkat(mFd, "", mDirFd, name.c_str(), AT_EMPTY_PATH) == 0) {
                mTemporary = folderOf(mFinal) / name;
                break;
            }
            error = errno;
            if (error != EEXIST)
                break;
        }
        if (mTemporary.empty())
            fail(error, "link");
    }

    // A second descriptor keeps this file's lock while the first is closed,
    // so that no other save removes it before the rename.
    const int keeper = ::dup(mFd);
    if (const int injected = askGate(Stage::Close, mWritten, 0)) {
        if (keeper >= 0)
            ::close(keeper);
        fail(injected, "close");
    }
    const int closeError = closeChecked(mFd);
    mFd = -1;
    if (closeError != 0) {
        if (keeper >= 0)
            ::close(keeper);
        fail(closeError, "close");
    }
    int renameError = askGate(Stage::Rename, mWritten, 0);
    if (renameError == 0
        && ::renameat(mDirFd, mTemporary.filename().c_str(), mDirFd, mFinal.filename().c_str()) != 0)
        renameError = errno;
    if (keeper >= 0)
        ::close(keeper);
    if (renameError != 0)
        fail(renameError, "rename");
    mTemporary.clear();
    mCommitted = true;
    // The rename is durable once the folder is synced. Some file systems
    // cannot sync a folder; the new file is in place either way.
    ::fsync(mDirFd);
    closeHandle();
}

void AtomicFile::removeStaleTemporaries(const fs::path &target)
{
    const std::string prefix = temporaryPrefix(target);
    const fs::path folder = folderOf(target);
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!isTemporaryOf(name, prefix))
            continue;
        const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat st;
        bool stale = false;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
                stale = true;   // no live save holds it
            else if (errno != EWOULDBLOCK)
                stale = ::time(nullptr) - st.st_mtime > 3600;   // no locks here: go by age
        }
        if (stale)
            ::unlinkat(dirFd, name.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}

EditLock EditLock::acquire(const fs::path &path, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    EditLock lock;
    lock.mPath = path;
    while (true) {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            if (errno == ENOENT)
                return lock;   // nothing there to keep apart
            throw Error(displayPath(path), Reason::CannotRead).withSysError(errno);
        }
        struct stat locked;
        if (::fstat(fd, &locked) != 0 || S_ISDIR(locked.st_mode)) {
            const int error = S_ISDIR(locked.st_mode) ? EISDIR : errno;
            ::close(fd);
            throw Error(displayPath(path), Reason::CannotRead).withSysError(error);
        }
        int result = ::flock(fd, LOCK_EX | LOCK_NB);
        if (result != 0 && errno == EBADF) {
            // Network file systems lock for writers only.
            const int writable = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
            if (writable >= 0) {
                ::close(fd);
                fd = writable;
                result = ::flock(fd, LOCK_EX | LOCK_NB);
            }
        }
        if (result == 0 || errno != EWOULDBLOCK) {
            // Locked (or the file system has no locks: go on unlocked). The
            // lock counts only while the path still names the locked file: a
            // save that finished meanwhile renamed a new file into place.
            struct stat now;
            if (::stat(path.c_str(), &now) == 0 && now.st_dev == locked.st_dev && now.st_ino == locked.st_ino) {
                lock.mFd = fd;
                return lock;
            }
            ::close(fd);
            if (std::chrono::steady_clock::now() < deadline)
                continue;
        } else {
            ::close(fd);
        }
        if (std::chrono::steady_clock::now() >= deadline)
            throw Error(displayPath(path), Reason::Busy);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool EditLock::held() const
{
    return mFd >= 0;
}

void EditLock::release()
{
    if (mFd >= 0)
        ::close(mFd);   // closing the only descriptor drops the lock
    mFd = -1;
}

EditLock::EditLock(EditLock &&other) noexcept
    : mPath(std::move(other.mPath)), mFd(other.mFd)
{
    other.mFd = -1;
}

EditLock &EditLock::operator=(EditLock &&other) noexcept
{
    if (this != &other) {
        release();
        mPath = std::move(other.mPath);
        mFd = other.mFd;
        other.mFd = -1;
    }
    return *this;
}

#endif

EditLock::~EditLock()
{
    release();
}

} // namespace quarvel::core
