#include "metafileplayer.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace quarvel {

namespace {

constexpr qsizetype kPlaceableSize = 22;
constexpr qsizetype kHeaderSize = 18;
constexpr quint16 kSetWindowExt = 0x020C;

qint16 le16(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return static_cast<qint16>(u[0] | (u[1] << 8));
}

quint32 le32(const char *p)
{
    return static_cast<quint16>(le16(p)) | (static_cast<quint32>(static_cast<quint16>(le16(p + 2))) << 16);
}

// The picture's size in pixels at 96 per inch: from the placeable header
// when there is one, else from the first window extent among the records
// (checkMetafile has made sure that the records lie inside the data).
QSize naturalSize(const QByteArray &bytes, qsizetype *recordsStart)
{
    const char *data = bytes.constData();
    if (le32(data) == 0x9AC6CDD7u) {
        *recordsStart = kPlaceableSize;
        const int width = std::abs(le16(data + 10) - le16(data + 6));
        const int height = std::abs(le16(data + 12) - le16(data + 8));
        const int perInch = static_cast<quint16>(le16(data + 14));
        if (perInch > 0 && width > 0 && height > 0)
            return QSize(std::max(1, width * 96 / perInch), std::max(1, height * 96 / perInch));
    } else {
        *recordsStart = 0;
    }
    qsizetype pos = *recordsStart + kHeaderSize;
    while (pos + 6 <= bytes.size()) {
        const quint32 words = le32(data + pos);
        const quint16 function = static_cast<quint16>(le16(data + pos + 4));
        if (function == 0 || words < 3)
            break;
        if (function == kSetWindowExt && words >= 5 && pos + 10 <= bytes.size()) {
            const int height = std::abs(le16(data + pos + 6));
            const int width = std::abs(le16(data + pos + 8));
            if (width > 0 && height > 0)
                return QSize(width, height);
        }
        pos += static_cast<qsizetype>(words) * 2;
    }
    return QSize(640, 480);
}

// A 32-bit top-down bitmap that GDI draws into, filled with one colour.
struct Canvas
{
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    quint32 *pixels = nullptr;

    Canvas(QSize size, COLORREF fill)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = size.width();
        info.bmiHeader.biHeight = -size.height();
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        void *bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!dc || !bitmap)
            return;
        pixels = static_cast<quint32 *>(bits);
        old = SelectObject(dc, bitmap);
        const RECT all{0, 0, size.width(), size.height()};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas()
    {
        if (old)
            SelectObject(dc, old);
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
    }
};

} // namespace

QImage playMetafile(QByteArray &bytes, QSize maxSize, QString *reason)
{
    qsizetype start = 0;
    const QSize natural = naturalSize(bytes, &start);
    const QSize size = natural.scaled(maxSize, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));

    // GDI plays old metafiles through their enhanced form; the picture's
    // extent is given in hundredths of a millimetre.
    METAFILEPICT picture{};
    picture.mm = MM_ANISOTROPIC;
    picture.xExt = natural.width() * 2540 / 96;
    picture.yExt = natural.height() * 2540 / 96;
    HENHMETAFILE emf = SetWinMetaFileBits(static_cast<UINT>(bytes.size() - start),
                                          reinterpret_cast<const BYTE *>(bytes.constData() + start),
                                          nullptr, &picture);
    if (!emf) {
        *reason = QStringLiteral("the metafile cannot be played");
        return {};
    }

    // GDI draws without transparency: playing once on white and once on
    // black tells the covered pixels (alike on both) from the background
    // (white on one, black on the other).
    Canvas white(size, RGB(255, 255, 255));
    Canvas black(size, RGB(0, 0, 0));
    const RECT frame{0, 0, size.width(), size.height()};
    const bool played = white.pixels && black.pixels && PlayEnhMetaFile(white.dc, emf, &frame)
                        && PlayEnhMetaFile(black.dc, emf, &frame);
    DeleteEnhMetaFile(emf);
    if (!played) {
        *reason = QStringLiteral("the metafile cannot be played");
        return {};
    }
    GdiFlush();

    QImage image(size, QImage::Format_ARGB32);
    auto *out = reinterpret_cast<quint32 *>(image.bits());
    const qsizetype count = qsizetype(size.width()) * size.height();
    for (qsizetype i = 0; i < count; ++i) {
        const quint32 w = white.pixels[i];
        const quint32 b = black.pixels[i];
        int alpha = 255;
        for (int shift = 0; shift < 24; shift += 8)
            alpha = std::min(alpha, 255 - (int((w >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
        alpha = std::clamp(alpha, 0, 255);
        quint32 rgb = 0;
        if (alpha > 0) {
            for (int shift = 0; shift < 24; shift += 8)
                rgb |= quint32(std::min(255, int((b >> shift) & 0xFF) * 255 / alpha)) << shift;
        }
        out[i] = (quint32(alpha) << 24) | rgb;
    }
    return image;
}

} // namespace quarvel
