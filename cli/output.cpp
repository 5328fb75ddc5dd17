#include "output.h"

#include "paths.h"

#include "atomicfile.h"
#include "coreerror.h"

#include <system_error>

#if defined(__linux__)
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quarvel::cli {

namespace {

// The writers' small pieces reach the file in large ones.
template<typename File>
void produceInto(File &file, const std::function<void(core::Sink &)> &produce)
{
    core::FileSink<File> raw(file);
    core::BufferedSink sink(raw);
    produce(sink);
    sink.flush();
    file.commit();
}

#if defined(__linux__)
// The folder pictures go into stays open for the whole run: a library's
// pictures all land in one.
int openFolder(const std::filesystem::path &folder)
{
    static std::filesystem::path openPath;
    static int openFd = -1;
    if (openFd >= 0 && folder == openPath)
        return openFd;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        if (openFd >= 0)
            ::close(openFd);
        openPath = folder;
        openFd = fd;
    }
    return fd;
}

// An unnamed file in the target's folder (O_TMPFILE), given the target's name
// only once complete: checked writes, checked close, no sync.
class PictureFile
{
public:
    explicit PictureFile(const std::string &target) : mTarget(target)
    {
        const std::filesystem::path path = toPath(target);
        const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
        mDirFd = openFolder(folder);
        if (mDirFd < 0)
            fail(errno);
        mName = fromPath(path.filename());
        struct stat st;
        mReplacing = ::fstatat(mDirFd, mName.c_str(), &st, 0) == 0;
        mFd = ::openat(mDirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        // vfat, NFS and SMB shares have no unnamed files: unnamed() tells.
        if (mFd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            fail(errno);
    }
    ~PictureFile()
    {
        if (mFd >= 0)
            ::close(mFd);
        if (!mTemporary.empty())
            ::unlinkat(mDirFd, mTemporary.c_str(), 0);
    }
    PictureFile(const PictureFile &) = delete;
    PictureFile &operator=(const PictureFile &) = delete;

    void write(const char *data, std::size_t size)
    {
        while (size > 0) {
            const ssize_t n = ::write(mFd, data, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                fail(n < 0 ? errno : EIO);
            data += n;
            size -= static_cast<std::size_t>(n);
        }
    }

    void commit()
    {
        // A picture that replaces an older one reaches the disk before the
        // rename, so that a crash leaves the old picture or the new one, never
        // an empty file. A new picture puts nothing old at risk: it skips the
        // flush, which would cost more than drawing it.
        if (mReplacing && ::fdatasync(mFd) != 0)
            fail(errno);
        // The unnamed file gets a temporary name, then replaces the target in
        // one rename: a reader never sees a part of the picture.
        const std::string self = "/proc/self/fd/" + std::to_string(mFd);
        for (int attempt = 0; mTemporary.empty(); ++attempt) {
            const std::string name = "." + mName + std::string(core::AtomicFile::kTemporaryMarker)
                                     + std::to_string(::getpid()) + "-" + std::to_string(attempt);
            if (::linkat(AT_FDCWD, self.c_str(), mDirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                mTemporary = name;
            else if (errno != EEXIST || attempt > 100)
                fail(errno);
        }
        const int fd = mFd;
        mFd = -1;
        if (::close(fd) != 0)
            fail(errno);
        if (::renameat(mDirFd, mTemporary.c_str(), mDirFd, mName.c_str()) != 0)
            fail(errno);
        mTemporary.clear();
    }

    // Whether this file system lets a file be made without a name.
    bool unnamed() const { return mFd >= 0; }

private:
    [[noreturn]] void fail(int error)
    {
        throw core::Error(shownPath(mTarget), core::Reason::CannotWrite).withSysError(error);
    }

    std::string mTarget;
    std::string mName;
    std::string mTemporary;
    int mDirFd = -1;   // owned by openFolder
    int mFd = -1;
    bool mReplacing = false;
};

#endif

} // namespace

void writeOutput(const std::string &target, const std::function<void(core::Sink &)> &produce, Durability durability)
{
    std::error_code ec;
    if (std::filesystem::is_directory(toPath(target), ec))
        throw core::Error(shownPath(target), core::Reason::CannotWrite, "it is a folder");
#if defined(__linux__)
    if (durability == Durability::Picture) {
        PictureFile file(target);
        if (file.unnamed()) {
            produceInto(file, produce);
            return;
        }
    }
#else
    (void)durability;
#endif
    core::AtomicFile file(toPath(target));
    produceInto(file, produce);
}

} // namespace quarvel::cli
