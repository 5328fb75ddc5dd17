#include "slidedata.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace quarvel::core {

const char kSlideId[kSlideIdLength] = {'A', 'u', 't', 'o', 'C', 'A', 'D', ' ', 'S',
                                       'l', 'i', 'd', 'e', '\r', '\n', '\x1a', '\0'};

namespace {

constexpr std::uint8_t kOffsetVector = 0xFB;
constexpr std::uint8_t kEndOfFile = 0xFC;
constexpr std::uint8_t kSolidFill = 0xFD;
constexpr std::uint8_t kCommonEndpoint = 0xFE;
constexpr std::uint8_t kNewColor = 0xFF;
constexpr std::size_t kMaxFillVertices = 255;

void setDamage(DecodeResult &result, Damage damage, std::int64_t offset, std::int64_t value = 0)
{
    result.damage = damage;
    result.damageValue = value;
    result.errorOffset = offset;
    result.error = damageText(damage, value);
}

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
    RecordDecoder(const char *data, std::int64_t size, const SlideHeader &header, DecodeResult &result,
                  SlideDrawing *drawing)
        : mData(data), mSize(size), mHeader(header), mResult(result), mDrawing(drawing)
    {}

    void run();

private:
    void fail(std::int64_t offset, Damage damage, bool fatal, std::int64_t value = 0);
    void addLine(int x1, int y1, int x2, int y2);
    void fillRecord(std::int64_t offset, int x, int y);
    void closeFill();
    void checkArea(int x, int y)
    {
        if (x < 0 || y < 0 || x > mHeader.highX || y > mHeader.highY)
            mResult.stats.outsideArea = true;
    }

    const char *mData;
    std::int64_t mSize;
    const SlideHeader &mHeader;
    DecodeResult &mResult;
    SlideDrawing *mDrawing;

    int mColor = 7;
    int mLastX = 0;
    int mLastY = 0;
    bool mFillOpen = false;
    std::int64_t mFillStart = 0;
    int mFillCount = 0;
    std::vector<Point> mFill;
    std::array<bool, 256> mColorsSeen{};
};

void RecordDecoder::fail(std::int64_t offset, Damage damage, bool fatal, std::int64_t value)
{
    if (mResult.damage == Damage::None) {
        setDamage(mResult, damage, offset, value);
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
    lines.push_back(Line{Point{x1, y1}, Point{x2, y2}});
    ++batches.back().count;
}

void RecordDecoder::fillRecord(std::int64_t offset, int x, int y)
{
    if (!mFillOpen) {
        if (y < 0) {               // start of a sequence; x counts the records that follow
            mFillOpen = true;
            mFillStart = offset;
            mFillCount = x;
            mFill.clear();
        } else {
            fail(offset, Damage::FillVertexOutside, false);
        }
        return;
    }
    if (y >= 0) {
        if (mFill.size() < kMaxFillVertices)
            mFill.push_back(Point{x, y});
        return;
    }
    // The closing record repeats the last vertex with its y negated; it is one
    // of the counted records, so it only adds a point when the count asks for one.
    if (static_cast<int>(mFill.size()) < mFillCount && mFill.size() < kMaxFillVertices)
        mFill.push_back(Point{x, -y});
    closeFill();
}

void RecordDecoder::closeFill()
{
    mFillOpen = false;
    ++mResult.stats.fillPolygons;
    for (const Point &p : mFill)
        checkArea(p.x, p.y);
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
    std::int64_t pos = mHeader.size;

    while (true) {
        if (pos + 2 > mSize) {
            if (mFillOpen) {
                fail(mFillStart, Damage::FillNeverEnds, false);
                closeFill();
            }
            fail(pos, pos == mSize ? Damage::NoEndOfFile : Damage::RecordTruncated, true);
            return;
        }
        const char *p = mData + pos;
        const std::uint8_t type = low ? u8(p + 1) : u8(p);
        const int lowByte = low ? s8(p) : s8(p + 1);

        if (mFillOpen && type != kSolidFill) {
            fail(mFillStart, Damage::FillNeverEnds, false);
            closeFill();
        }

        if (type < 0x80) {
            if (pos + 8 > mSize) {
                fail(pos, Damage::RecordTruncated, true);
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
                fail(pos, Damage::RecordTruncated, true);
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
                fail(pos, Damage::RecordTruncated, true);
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
                fail(pos, Damage::RecordTruncated, true);
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
            fail(pos, Damage::UnknownRecord, true, type);
            return;
        }
    }
}

// Level 2 header: the test number decides the byte order.
bool parseNewHeader(const char *data, std::int64_t size, DecodeResult &result)
{
    if (size < kNewHeaderSize) {
        setDamage(result, Damage::HeaderTruncated, size);
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
        setDamage(result, Damage::BadByteOrder, 29);
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
bool decodeOldSlide(const char *data, std::int64_t size, DecodeResult &result, SlideDrawing *drawing)
{
    if (size < kOldHeaderSize) {
        setDamage(result, Damage::HeaderTruncated, size);
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
    setDamage(result, Damage::OldHeaderInvalid, 19);
    return false;
}

} // namespace

std::string damageText(Damage damage, std::int64_t value)
{
    switch (damage) {
    case Damage::None: return {};
    case Damage::NoSlideHeader: return "no slide header";
    case Damage::HeaderTruncated: return "file ends inside the slide header";
    case Damage::BadByteOrder: return "invalid byte-order test number";
    case Damage::UnknownLevel: return "unknown slide format level " + std::to_string(value);
    case Damage::OldHeaderInvalid: return "old-format slide header is not valid in either byte order";
    case Damage::UnknownRecord: {
        static const char digits[] = "0123456789ABCDEF";
        const auto v = static_cast<unsigned>(value) & 0xFFu;
        std::string hex = "0x";
        if (v >= 16)
            hex += digits[v >> 4];
        hex += digits[v & 15];
        return "unknown record type " + hex;
    }
    case Damage::RecordTruncated: return "data ends inside a record";
    case Damage::NoEndOfFile: return "no end-of-file record";
    case Damage::FillNeverEnds: return "solid-fill sequence never ends";
    case Damage::FillVertexOutside: return "solid-fill vertex outside a fill sequence";
    }
    return {};
}

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

bool hasSlideId(const char *data, std::size_t size)
{
    return size >= kSlideIdLength
           && std::memcmp(data, kSlideId, kSlideIdLength) == 0;
}

std::int64_t slideExtent(const char *data, std::size_t bytes)
{
    const auto size = static_cast<std::int64_t>(bytes);
    // Level 2 only: the byte order is in the header. Old-format slides take
    // the full decoder.
    if (size < kNewHeaderSize || !hasSlideId(data, bytes) || u8(data + 18) != 2) {
        const DecodeResult r = decodeSlide(data, bytes);
        return r.reachedEnd ? r.length : -1;
    }
    const bool low = u8(data + 29) == 0x34 && u8(data + 30) == 0x12;
    if (!low && !(u8(data + 29) == 0x12 && u8(data + 30) == 0x34))
        return -1;
    const int typeAt = low ? 1 : 0;
    std::int64_t pos = kNewHeaderSize;
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

DecodeResult decodeSlide(const char *data, std::size_t bytes, SlideDrawing *drawing)
{
    const auto size = static_cast<std::int64_t>(bytes);
    DecodeResult result;
    if (!hasSlideId(data, bytes)) {
        setDamage(result, Damage::NoSlideHeader, 0);
        return result;
    }
    if (size < 19) {
        setDamage(result, Damage::HeaderTruncated, size);
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
        setDamage(result, Damage::UnknownLevel, 18, level);
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

} // namespace quarvel::core
