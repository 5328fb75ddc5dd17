#include "pngwriter.h"

#include "coreerror.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace quarvel::core {

namespace {

constexpr std::size_t kChunkData = 64 * 1024;

void putBig32(char *at, std::uint32_t v)
{
    at[0] = static_cast<char>(v >> 24);
    at[1] = static_cast<char>(v >> 16);
    at[2] = static_cast<char>(v >> 8);
    at[3] = static_cast<char>(v);
}

void writeChunk(Sink &out, const char type[4], const char *data, std::size_t size)
{
    char head[8];
    putBig32(head, static_cast<std::uint32_t>(size));
    std::memcpy(head + 4, type, 4);
    uLong crc = crc32(0, reinterpret_cast<const Bytef *>(type), 4);
    if (size > 0)
        crc = crc32(crc, reinterpret_cast<const Bytef *>(data), static_cast<uInt>(size));
    char tail[4];
    putBig32(tail, static_cast<std::uint32_t>(crc));
    out.write(head, sizeof head);
    if (size > 0)
        out.write(data, size);
    out.write(tail, sizeof tail);
}

// Deflates the rows it is given and writes the result as IDAT chunks.
class IdatStream
{
public:
    IdatStream(Sink &out, int level) : mOut(out), mBuffer(kChunkData, '\0')
    {
        std::memset(&mZ, 0, sizeof mZ);
        const int result = deflateInit(&mZ, std::clamp(level, 0, 9));
        if (result == Z_MEM_ERROR)
            throw Error({}, Reason::OutOfMemory);
        if (result != Z_OK)
            throw Error({}, Reason::Other, "cannot start compressing");
        mZ.next_out = reinterpret_cast<Bytef *>(mBuffer.data());
        mZ.avail_out = static_cast<uInt>(mBuffer.size());
    }
    ~IdatStream() { deflateEnd(&mZ); }
    IdatStream(const IdatStream &) = delete;
    IdatStream &operator=(const IdatStream &) = delete;

    void write(const std::uint8_t *data, std::size_t size) { run(data, size, Z_NO_FLUSH); }
    void finish() { run(nullptr, 0, Z_FINISH); }

private:
    void run(const std::uint8_t *data, std::size_t size, int flush)
    {
        mZ.next_in = const_cast<Bytef *>(data);
        mZ.avail_in = static_cast<uInt>(size);
        for (;;) {
            const int result = deflate(&mZ, flush);
            if (result == Z_STREAM_ERROR)
                throw Error({}, Reason::Other, "compression failed");
            if (mZ.avail_out == 0)
                emit();
            if (flush == Z_FINISH ? result == Z_STREAM_END : (mZ.avail_in == 0 && mZ.avail_out != 0))
                break;
        }
        if (flush == Z_FINISH)
            emit();
    }

    void emit()
    {
        const std::size_t used = mBuffer.size() - mZ.avail_out;
        if (used > 0)
            writeChunk(mOut, "IDAT", mBuffer.data(), used);
        mZ.next_out = reinterpret_cast<Bytef *>(mBuffer.data());
        mZ.avail_out = static_cast<uInt>(mBuffer.size());
    }

    Sink &mOut;
    std::string mBuffer;
    z_stream mZ;
};

// Packs palette indices of fewer than 8 bits, leftmost pixel in the high bits.
void pack(const std::uint8_t *src, int width, int depth, std::uint8_t *dst)
{
    const int perByte = 8 / depth;
    const int whole = width / perByte;
    for (int i = 0; i < whole; ++i, src += perByte) {
        unsigned byte = 0;
        for (int k = 0; k < perByte; ++k)
            byte = (byte << depth) | src[k];
        dst[i] = static_cast<std::uint8_t>(byte);
    }
    const int rest = width - whole * perByte;
    if (rest > 0) {
        unsigned byte = 0;
        for (int k = 0; k < perByte; ++k)
            byte = (byte << depth) | (k < rest ? src[k] : 0);
        dst[whole] = static_cast<std::uint8_t>(byte);
    }
}

} // namespace

void writePng(Sink &out, const PaletteImage &image, const PngOptions &options)
{
    if (image.width <= 0 || image.height <= 0)
        throw Error({}, Reason::Other, "an image of no pixels cannot be written");
    const std::size_t colours = std::clamp<std::size_t>(image.palette.size(), 1, 256);
    const int depth = colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;

    static constexpr char kSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
    out.write(kSignature, sizeof kSignature);
    char ihdr[13];
    putBig32(ihdr, static_cast<std::uint32_t>(image.width));
    putBig32(ihdr + 4, static_cast<std::uint32_t>(image.height));
    ihdr[8] = static_cast<char>(depth);
    ihdr[9] = 3;    // palette colour
    ihdr[10] = 0;   // deflate
    ihdr[11] = 0;   // adaptive filters (only None is used)
    ihdr[12] = 0;   // not interlaced
    writeChunk(out, "IHDR", ihdr, sizeof ihdr);

    std::string plte;
    for (std::size_t i = 0; i < colours; ++i) {
        const Rgb c = i < image.palette.size() ? image.palette[i] : Rgb{};
        plte += static_cast<char>(c.r);
        plte += static_cast<char>(c.g);
        plte += static_cast<char>(c.b);
    }
    writeChunk(out, "PLTE", plte.data(), plte.size());
    if (options.transparentBackground) {
        const char alpha = 0;
        writeChunk(out, "tRNS", &alpha, 1);
    }

    // Each row: the filter byte (0, none) and the indices packed at depth bits.
    const std::size_t rowBytes = (static_cast<std::size_t>(image.width) * depth + 7) / 8;
    std::vector<std::uint8_t> row(rowBytes + 1);
    IdatStream idat(out, options.compression);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t *src = image.row(y);
        std::uint8_t *dst = row.data() + 1;
        if (depth == 8)
            std::memcpy(dst, src, rowBytes);
        else
            pack(src, image.width, depth, dst);
        idat.write(row.data(), row.size());
    }
    idat.finish();
    writeChunk(out, "IEND", nullptr, 0);
}

} // namespace quarvel::core
