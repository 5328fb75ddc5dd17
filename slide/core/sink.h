#pragma once

// Where the picture writers put their bytes. A writer streams its output in
// pieces as it goes, so memory does not grow with the picture: a file sink
// writes each piece to the file, a string sink collects them for callers
// that want the bytes in memory.

#include <cstddef>
#include <string>
#include <string_view>

namespace quarvel::core {

class Sink
{
public:
    virtual ~Sink() = default;
    // Takes size bytes; throws (core::Error or std::bad_alloc) when they
    // cannot be taken.
    virtual void write(const char *data, std::size_t size) = 0;
};

class StringSink : public Sink
{
public:
    explicit StringSink(std::string &out) : mOut(out) {}
    void write(const char *data, std::size_t size) override { mOut.append(data, size); }

private:
    std::string &mOut;
};

// Hands every piece to a file object that has write(const char *, size_t).
template<typename File>
class FileSink : public Sink
{
public:
    explicit FileSink(File &file) : mFile(file) {}
    void write(const char *data, std::size_t size) override { mFile.write(data, size); }

private:
    File &mFile;
};

// Collects small writes and hands them on in large pieces.
class BufferedSink : public Sink
{
public:
    explicit BufferedSink(Sink &out) : mOut(out) { mBuffer.reserve(kSize); }
    ~BufferedSink() override = default;
    BufferedSink(const BufferedSink &) = delete;
    BufferedSink &operator=(const BufferedSink &) = delete;

    void write(const char *data, std::size_t size) override
    {
        if (mBuffer.size() + size > kSize)
            flush();
        if (size >= kSize)
            mOut.write(data, size);
        else
            mBuffer.append(data, size);
    }
    void write(std::string_view text) { write(text.data(), text.size()); }
    void put(char c)
    {
        if (mBuffer.size() >= kSize)
            flush();
        mBuffer.push_back(c);
    }
    // Hands on what is collected; call before the writer is done.
    void flush()
    {
        if (!mBuffer.empty()) {
            mOut.write(mBuffer.data(), mBuffer.size());
            mBuffer.clear();
        }
    }

private:
    static constexpr std::size_t kSize = 64 * 1024;
    Sink &mOut;
    std::string mBuffer;
};

} // namespace quarvel::core
