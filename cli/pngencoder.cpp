#include "pngencoder.h"

#include <QBuffer>
#include <QImageWriter>

#include <cstring>

namespace quarvel::cli {

namespace {
// QImageWriter's PNG compression runs 0..100 and maps to zlib level value / 10:
// 11 is level 1, the fastest that still compresses.
constexpr int kFastestPngCompression = 11;
} // namespace

QImage toExactPalette(const QImage &source)
{
    const QImage image = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                             ? source
                             : source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    QImage out(image.size(), QImage::Format_Indexed8);
    QList<QRgb> table;
    QRgb last = 0;
    uchar lastIndex = 0;
    bool haveLast = false;
    for (int y = 0; y < height; ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const QRgb c = in[x];
            if (!haveLast || c != last) {
                // Slides repeat colours in long runs; the table is searched
                // only when the colour changes.
                const qsizetype found = table.indexOf(c);
                if (found >= 0) {
                    lastIndex = static_cast<uchar>(found);
                } else {
                    if (table.size() == 256)
                        return {};
                    table.append(c);
                    lastIndex = static_cast<uchar>(table.size() - 1);
                }
                last = c;
                haveLast = true;
            }
            dst[x] = lastIndex;
        }
    }
    out.setColorTable(table);
    return out;
}

// A palette image of one or two colours as a 1-bit image: Qt writes 8 bits
// per pixel for every palette image but the 1-bit format, and most slides
// are one colour on the background.
QImage packTwoColours(const QImage &indexed)
{
    const int width = indexed.width();
    const int height = indexed.height();
    QImage mono(indexed.size(), QImage::Format_Mono);
    QList<QRgb> table = indexed.colorTable();
    while (table.size() < 2)
        table.append(table.value(0));
    mono.setColorTable(table);
    for (int y = 0; y < height; ++y) {
        const uchar *src = indexed.constScanLine(y);
        uchar *dst = mono.scanLine(y);
        std::memset(dst, 0, static_cast<std::size_t>(mono.bytesPerLine()));
        for (int x = 0; x < width; ++x) {
            if (src[x])
                dst[x >> 3] |= static_cast<uchar>(0x80 >> (x & 7));
        }
    }
    return mono;
}

QByteArray encodePng(const QImage &image)
{
    QImage palette = toExactPalette(image);
    if (!palette.isNull() && palette.colorCount() <= 2)
        palette = packTwoColours(palette);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(kFastestPngCompression);
    if (!writer.write(palette.isNull() ? image : palette))
        return {};
    return bytes;
}

} // namespace quarvel::cli
