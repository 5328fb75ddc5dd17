#include "fileio.h"

#include "coreerror.h"

#include <algorithm>
#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quarvel::core {

namespace fs = std::filesystem;

std::string displayPath(const fs::path &path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

#ifdef _WIN32

int errnoOf(unsigned long error)
{
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EACCES;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_FILE_TOO_LARGE: return EFBIG;
    default: return EIO;
    }
}

namespace {

FileStamp stampOfHandle(HANDLE handle, const fs::path &path)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info))
        throw Error(displayPath(path), Reason::CannotRead, "cannot query the file");
    FileStamp stamp;
    stamp.size = (std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stamp.modifiedNs = ((std::int64_t(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime) * 100;
    stamp.device = info.dwVolumeSerialNumber;
    stamp.inode = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return stamp;
}

HANDLE openForReading(const fs::path &path)
{
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw Error(displayPath(path), Reason::CannotRead).withSysError(errnoOf(GetLastError()));
    return handle;
}

} // namespace

InputFile::InputFile(const fs::path &path)
    : mPath(path), mHandle(openForReading(path))
{
}

InputFile::~InputFile()
{
    CloseHandle(static_cast<HANDLE>(mHandle));
}

FileStamp InputFile::stamp() const
{
    return stampOfHandle(static_cast<HANDLE>(mHandle), mPath);
}

std::size_t InputFile::readAt(std::uint64_t offset, char *data, std::size_t size) const
{
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED at{};
        const std::uint64_t where = offset + done;
        at.Offset = static_cast<DWORD>(where);
        at.OffsetHigh = static_cast<DWORD>(where >> 32);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1 << 30));
        DWORD got = 0;
        if (!ReadFile(static_cast<HANDLE>(mHandle), data + done, chunk, &got, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            throw Error(displayPath(mPath), Reason::CannotRead, "the system refused a read");
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

FileStamp stampOf(const fs::path &path)
{
    InputFile file(path);
    return file.stamp();
}

#else

namespace {

Error readError(const fs::path &path, int error)
{
    return Error(displayPath(path), Reason::CannotRead).withSysError(error);
}

FileStamp stampOfStat(const struct stat &st)
{
    FileStamp stamp;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modifiedNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    return stamp;
}

} // namespace

InputFile::InputFile(const fs::path &path)
    : mPath(path)
{
    do {
        mFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (mFd < 0 && errno == EINTR);
    if (mFd < 0)
        throw readError(path, errno);
    struct stat st;
    if (::fstat(mFd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(mFd);
        throw readError(path, error);
    }
}

InputFile::~InputFile()
{
    if (mFd >= 0)
        ::close(mFd);
}

FileStamp InputFile::stamp() const
{
    struct stat st;
    if (::fstat(mFd, &st) != 0)
        throw readError(mPath, errno);
    return stampOfStat(st);
}

std::size_t InputFile::readAt(std::uint64_t offset, char *data, std::size_t size) const
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(mFd, data + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw readError(mPath, errno);
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

FileStamp stampOf(const fs::path &path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        throw readError(path, errno);
    return stampOfStat(st);
}

#endif

void InputFile::readExactly(std::uint64_t offset, char *data, std::size_t size, std::uint64_t expectedSize) const
{
    if (readAt(offset, data, size) == size)
        return;
    if (stamp().size < expectedSize)
        throw Error(displayPath(mPath), Reason::Changed);
    throw Error(displayPath(mPath), Reason::CannotRead, "the file ends early", static_cast<std::int64_t>(offset));
}

std::string readWholeFile(const fs::path &path, std::uint64_t maxSize)
{
    InputFile file(path);
    const std::uint64_t size = file.stamp().size;
    if (size > maxSize)
        throw Error(displayPath(path), Reason::TooLarge,
                    maxSize >= (std::uint64_t(1) << 30) && maxSize % (std::uint64_t(1) << 30) == 0
                        ? "the file is larger than " + std::to_string(maxSize >> 30) + " GiB"
                        : "the file is larger than " + std::to_string(maxSize) + " bytes");
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc &) {
        throw Error(displayPath(path), Reason::OutOfMemory);
    }
    bytes.resize(file.readAt(0, bytes.data(), bytes.size()));
    return bytes;
}

} // namespace quarvel::core
