#pragma once

// Reading files without memory mapping: every read is a positioned read into
// memory, so a file that another program shrinks while it is read yields an
// error ("the file has changed"), never a signal.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace quarvel::core {

// The largest file read whole (a slide file, a settings file).
inline constexpr std::uint64_t kMaxWholeFile = std::uint64_t(1) << 30;

// A path as the messages show it: UTF-8 with the system's separators.
std::string displayPath(const std::filesystem::path &path);

#ifdef _WIN32
// The errno value closest to a Windows error code, so that messages give
// the same reasons as elsewhere.
int errnoOf(unsigned long windowsError);
#endif

// What tells a file apart from the same file changed: its size, its time of
// last change and its identity on the disk.
struct FileStamp
{
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

class InputFile
{
public:
    // Opens path for reading; throws Error (CannotRead, errno) naming it.
    explicit InputFile(const std::filesystem::path &path);
    ~InputFile();
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    const std::filesystem::path &path() const { return mPath; }
    // The stamp of the open file (not of whatever the path names now).
    FileStamp stamp() const;

    // Reads up to size bytes at offset; returns how many were read (fewer
    // only at the end of the file). Throws Error (CannotRead, errno).
    std::size_t readAt(std::uint64_t offset, char *data, std::size_t size) const;
    // Reads exactly size bytes at offset; a file that ends earlier throws
    // Error (Changed) when it is shorter than expectedSize, else Error
    // (CannotRead, "the file ends early").
    void readExactly(std::uint64_t offset, char *data, std::size_t size, std::uint64_t expectedSize) const;

private:
    std::filesystem::path mPath;
#ifdef _WIN32
    void *mHandle = nullptr;
#else
    int mFd = -1;
#endif
};

// The stamp of the file path names now; throws Error (CannotRead, errno).
FileStamp stampOf(const std::filesystem::path &path);

// Reads a whole file of at most maxSize bytes; throws Error (CannotRead with
// errno, or TooLarge).
std::string readWholeFile(const std::filesystem::path &path, std::uint64_t maxSize = kMaxWholeFile);

} // namespace quarvel::core
