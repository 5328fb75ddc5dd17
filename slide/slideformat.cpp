#include "slideformat.h"

#include <array>
#include <cmath>
#include <cstring>

namespace quarvel {

const char kSlideId[kSlideIdLength] = {'A', 'u', 't', 'o', 'C', 'A', 'D', ' ', 'S',
                                       'l', 'i', 'd', 'e', '\r', '\n', '\x1a', '\0'};

namespace {

constexpr std::uint8_t kOffsetVector = 0xFB;
constexpr std::uint8_t kEndOfFile = 0xFC;
constexpr std::uint8_t kSolidFill = 0xFD;
constexpr std::uint8_t kCommonEndpoint = 0xFE;
constexpr std::uint8_t kNewColor = 0xFF;
constexpr std::size_t kMaxFillVertices = 255;

inline std::uint8_t u8(const char *p) { return static_cast<std::uint8_t>(*p); }
inline int s8(const char *p) { return static_cast<std::int8_t>(*p); }

inline int u16(const char *p, ByteOrder order)
{
    return order == ByteOrder::LowFirst ? u8(p) | (u8(p + 1) << 8) : (u8(p) << 8) | u8(p + 1);
}
inline int s16(const char *p, ByteOrder order)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(u16(p, order)));
}

bool plausibleAspect(double a) { return std::isfinite(a) && a >= 0.05 && a <= 20.0; }

double readDouble(const char *p, ByteOrder order)
{
    std::array<unsigned char, 8> b;
    std::memcpy(b.data(), p, 8);
    if (order == ByteOrder::HighFirst)
        std::reverse(b.begin(), b.end());
    double d;
    std::memcpy(&d, b.data(), 8);   // IEEE 754 little-endian on every platform we build for
    return d;
}

// Walks the records after the header; collects primitives when drawing is set.
class RecordDecoder
{
public:
    RecordDecoder(const char *data, qsizetype size, const SlideHeader &header, DecodeResult &result,
                  SlideDrawing *drawing)
        : mData(data), mSize(size), mHeader(header), mResult(result), mDrawing(drawing)
    {}

    void run();

private:
    void fail(qsizetype offset, const QString &what, bool fatal);
    void addLine(int x1, int y1, int x2, int y2);
    void fillRecord(qsizetype offset, int x, int y);
    void closeFill();
    void checkArea(int x, int y)
    {
        if (x < 0 || y < 0 || x > mHeader.highX || y > mHeader.highY)
            mResult.stats.outsideArea = true;
    }

    const char *mData;
    qsizetype mSize;
    const SlideHeader &mHeader;
    DecodeResult &mResult;
    SlideDrawing *mDrawing;

    int mColor = 7;
    int mLastX = 0;
    int mLastY = 0;
    bool mFillOpen = false;
    qsizetype mFillStart = 0;
    int mFillCount = 0;
    std::vector<QPoint> mFill;
    std::array<bool, 256> mColorsSeen{};
};

void RecordDecoder::fail(qsizetype offset, const QString &what, bool fatal)
{
    if (mResult.error.isEmpty()) {
        mResult.error = what;
        mResult.errorOffset = offset;
    }
    if (fatal)
        mResult.length = offset;
}

void RecordDecoder::addLine(int x1, int y1, int x2, int y2)
{
    checkArea(x1, y1);
    checkArea(x2, y2);
    if (!mDrawing)
        return;
    auto &batches = mDrawing->batches;
    auto &lines = mDrawing->lines;
    if (batches.empty() || batches.back().kind != SlideDrawing::Kind::Lines
        || batches.back().color != mColor) {
        batches.push_back({SlideDrawing::Kind::Lines, static_cast<std::uint8_t>(mColor),
                           static_cast<std::uint32_t>(lines.size()), 0});
    }
    lines.emplace_back(x1, y1, x2, y2);
    ++batches.back().count;
}

void RecordDecoder::fillRecord(qsizetype offset, int x, int y)
{
    if (!mFillOpen) {
        if (y < 0) {               // start of a sequence; x counts the records that follow
            mFillOpen = true;
            mFillStart = offset;
            mFillCount = x;
            mFill.clear();
        } else {
            fail(offset, QStringLiteral("solid-fill vertex outside a fill sequence"), false);
        }
        return;
    }
    if (y >= 0) {
        if (mFill.size() < kMaxFillVertices)
            mFill.emplace_back(x, y);
        return;
    }
    // The closing record repeats the last vertex with its y negated; it is one
    // of the counted records, so it only adds a point when the count asks for one.
    if (static_cast<int>(mFill.size()) < mFillCount && mFill.size() < kMaxFillVertices)
        mFill.emplace_back(x, -y);
    closeFill();
}

void RecordDecoder::closeFill()
{
    mFillOpen = false;
    ++mResult.stats.fillPolygons;
    for (const QPoint &p : mFill)
        checkArea(p.x(), p.y());
    if (mFill.size() < 3 || !mDrawing)
        return;
    auto &points = mDrawing->points;
    mDrawing->batches.push_back({SlideDrawing::Kind::Polygon, static_cast<std::uint8_t>(mColor),
                                 static_cast<std::uint32_t>(points.size()),
                                 static_cast<std::uint32_t>(mFill.size())});
    points.insert(points.end(), mFill.begin(), mFill.end());
}

void RecordDecoder::run()
{
    const ByteOrder order = mHeader.order;
    const bool low = order == ByteOrder::LowFirst;
    auto &stats = mResult.stats;
    qsizetype pos = mHeader.size;

    while (true) {
        if (pos + 2 > mSize) {
            if (mFillOpen) {
                fail(mFillStart, QStringLiteral("solid-fill sequence never ends"), false);
                closeFill();
            }
            fail(pos, pos == mSize ? QStringLiteral("no end-of-file record")
                                   : QStringLiteral("data ends inside a record"), true);
            return;
        }
        const char *p = mData + pos;
        const std::uint8_t type = low ? u8(p + 1) : u8(p);
        const int lowByte = low ? s8(p) : s8(p + 1);

        if (mFillOpen && type != kSolidFill) {
            fail(mFillStart, QStringLiteral("solid-fill sequence never ends"), false);
            closeFill();
        }

        if (type < 0x80) {
            if (pos + 8 > mSize) {
                fail(pos, QStringLiteral("data ends inside a record"), true);
                return;
            }
            const int x1 = u16(p, order);
            const int y1 = s16(p + 2, order);
            const int x2 = s16(p + 4, order);
            const int y2 = s16(p + 6, order);
            ++stats.vectors;
            addLine(x1, y1, x2, y2);
            mLastX = x1;
            mLastY = y1;
            pos += 8;
            continue;
        }
        switch (type) {
        case kOffsetVector: {
            if (pos + 5 > mSize) {
                fail(pos, QStringLiteral("data ends inside a record"), true);
                return;
            }
            const int x1 = mLastX + lowByte;
            const int y1 = mLastY + s8(p + 2);
            const int x2 = mLastX + s8(p + 3);
            const int y2 = mLastY + s8(p + 4);
            ++stats.offsetVectors;
            addLine(x1, y1, x2, y2);
            mLastX = x1;
            mLastY = y1;
            pos += 5;
            break;
        }
        case kCommonEndpoint: {
            if (pos + 3 > mSize) {
                fail(pos, QStringLiteral("data ends inside a record"), true);
                return;
            }
            const int x2 = mLastX + lowByte;
            const int y2 = mLastY + s8(p + 2);
            ++stats.commonEndpointVectors;
            addLine(mLastX, mLastY, x2, y2);
            mLastX = x2;
            mLastY = y2;
            pos += 3;
            break;
        }
        case kSolidFill: {
            if (pos + 6 > mSize) {
                fail(pos, QStringLiteral("data ends inside a record"), true);
                return;
            }
            ++stats.fillRecords;
            fillRecord(pos, s16(p + 2, order), s16(p + 4, order));
            pos += 6;
            break;
        }
        case kNewColor: {
            mColor = static_cast<std::uint8_t>(lowByte);
            ++stats.colorRecords;
            if (!mColorsSeen[mColor]) {
                mColorsSeen[mColor] = true;
                ++stats.distinctColors;
            }
            pos += 2;
            break;
        }
        case kEndOfFile:
            mResult.reachedEnd = true;
            mResult.length = pos + 2;
            return;
        default:
            fail(pos, QStringLiteral("unknown record type 0x%1")
                          .arg(QString::number(type, 16).toUpper()), true);
            return;
        }
    }
}

// Level 2 header: the test number decides the byte order.
bool parseNewHeader(const char *data, qsizetype size, DecodeResult &result)
{
    if (size < kNewHeaderSize) {
        result.error = QStringLiteral("file ends inside the slide header");
        result.errorOffset = size;
        return false;
    }
    SlideHeader &h = result.header;
    h.level = 2;
    h.size = kNewHeaderSize;
    h.typeByte = u8(data + 17);
    const char *test = data + 29;
    if (u8(test) == 0x34 && u8(test + 1) == 0x12) {
        h.order = ByteOrder::LowFirst;
    } else if (u8(test) == 0x12 && u8(test + 1) == 0x34) {
        h.order = ByteOrder::HighFirst;
    } else {
        result.error = QStringLiteral("invalid byte-order test number");
        result.errorOffset = 29;
        return false;
    }
    h.highX = u16(data + 19, h.order);
    h.highY = u16(data + 21, h.order);
    h.aspectRaw = u8(data + 23) | (u8(data + 24) << 8) | (u8(data + 25) << 16)
                  | (static_cast<std::uint32_t>(u8(data + 26)) << 24);
    h.aspect = h.aspectRaw / 10'000'000.0;
    h.hardwareFill = u16(data + 27, h.order);
    return true;
}

// Level 1 header: no test number, so try the PC order first and keep the
// order under which the header is plausible and the records decode cleanly.
bool decodeOldSlide(const char *data, qsizetype size, DecodeResult &result, SlideDrawing *drawing)
{
    if (size < kOldHeaderSize) {
        result.error = QStringLiteral("file ends inside the slide header");
        result.errorOffset = size;
        return false;
    }
    auto headerFor = [&](ByteOrder order) {
        SlideHeader h;
        h.level = 1;
        h.size = kOldHeaderSize;
        h.order = order;
        h.typeByte = u8(data + 17);
        h.highX = u16(data + 19, order);
        h.highY = u16(data + 21, order);
        h.aspect = readDouble(data + 23, order);
        h.hardwareFill = u16(data + 31, order);
        return h;
    };
    auto plausible = [](const SlideHeader &h) {
        return h.highX >= 1 && h.highX <= 32767 && h.highY >= 1 && h.highY <= 32767
               && plausibleAspect(h.aspect);
    };
    auto attempt = [&](ByteOrder order, SlideDrawing *target) {
        DecodeResult r;
        r.isSlide = true;
        r.header = headerFor(order);
        RecordDecoder(data, size, r.header, r, target).run();
        return r;
    };

    const ByteOrder orders[2] = {ByteOrder::LowFirst, ByteOrder::HighFirst};
    for (ByteOrder order : orders) {
        if (!plausible(headerFor(order)))
            continue;
        DecodeResult trial = attempt(order, nullptr);
        if (trial.isSound() && !trial.stats.outsideArea) {
            result = drawing ? attempt(order, drawing) : trial;
            return true;
        }
    }
    for (ByteOrder order : orders) {
        if (plausible(headerFor(order))) {
            result = attempt(order, drawing);
            return true;
        }
    }
    result.error = QStringLiteral("old-format slide header is not valid in either byte order");
    result.errorOffset = 19;
    return false;
}

} // namespace

double SlideHeader::drawingAspect() const
{
    if (plausibleAspect(aspect))
        return aspect;
    return (highX + 1.0) / (highY + 1.0);
}

void SlideDrawing::clear()
{
    lines.clear();
    points.clear();
    batches.clear();
}

bool hasSlideId(const char *data, qsizetype size)
{
    return size >= static_cast<qsizetype>(kSlideIdLength)
           && std::memcmp(data, kSlideId, kSlideIdLength) == 0;
}

qsizetype slideExtent(const char *data, qsizetype size)
{
    // Level 2 only: the byte order is in the header. Old-format slides take
    // the full decoder.
    if (size < kNewHeaderSize || !hasSlideId(data, size) || u8(data + 18) != 2) {
        const DecodeResult r = decodeSlide(data, size);
        return r.reachedEnd ? r.length : -1;
    }
    const bool low = u8(data + 29) == 0x34 && u8(data + 30) == 0x12;
    if (!low && !(u8(data + 29) == 0x12 && u8(data + 30) == 0x34))
        return -1;
    const int typeAt = low ? 1 : 0;
    qsizetype pos = kNewHeaderSize;
    while (pos + 2 <= size) {
        const std::uint8_t type = u8(data + pos + typeAt);
        if (type < 0x80) {
            pos += 8;
            continue;
        }
        switch (type) {
        case kOffsetVector: pos += 5; break;
        case kCommonEndpoint: pos += 3; break;
        case kNewColor: pos += 2; break;
        case kSolidFill: pos += 6; break;
        case kEndOfFile: return pos + 2;
        default: return -1;
        }
    }
    return -1;
}

DecodeResult decodeSlide(const char *data, qsizetype size, SlideDrawing *drawing)
{
    DecodeResult result;
    if (!hasSlideId(data, size)) {
        result.error = QStringLiteral("not an AutoCAD slide (no slide header)");
        result.errorOffset = 0;
        return result;
    }
    if (size < 19) {
        result.error = QStringLiteral("file ends inside the slide header");
        result.errorOffset = size;
        return result;
    }
    const int level = u8(data + 18);
    if (level == 1) {
        DecodeResult old;
        const bool ok = decodeOldSlide(data, size, old, drawing);
        old.isSlide = ok;
        return old;
    }
    if (level != 2) {
        result.error = QStringLiteral("unknown slide format level %1").arg(level);
        result.errorOffset = 18;
        return result;
    }
    if (!parseNewHeader(data, size, result))
        return result;
    result.isSlide = true;
    if (drawing) {
        // Real slides are dominated by vectors and fills: a size-based guess
        // avoids most reallocations while decoding large slides.
        drawing->lines.reserve(drawing->lines.size() + static_cast<std::size_t>(size / 16));
    }
    RecordDecoder(data, size, result.header, result, drawing).run();
    return result;
}

} // namespace quarvel
