#include "slidewriter.h"

#include <cmath>
#include <stdexcept>
#include <vector>

namespace quarvel::core {

SlideWriter::SlideWriter(int highX, int highY, double aspect, ByteOrder order)
    : mOrder(order)
{
    mBytes.reserve(4096);
    mBytes.append(kSlideId, kSlideIdLength);
    mBytes.push_back(static_cast<char>(kSlideTypeByte));
    mBytes.push_back('\x02');
    put16(highX);
    put16(highY);
    if (!(aspect > 0.0))
        aspect = (highX + 1.0) / (highY + 1.0);
    const auto raw = static_cast<std::uint32_t>(std::lround(aspect * 10'000'000.0));
    for (int i = 0; i < 4; ++i)   // the aspect ratio is low byte first in every slide
        mBytes.push_back(static_cast<char>((raw >> (8 * i)) & 0xFF));
    put16(2);
    put16(0x1234);
}

void SlideWriter::put16(int value)
{
    const auto v = static_cast<std::uint16_t>(value);
    if (mOrder == ByteOrder::LowFirst) {
        mBytes.push_back(static_cast<char>(v & 0xFF));
        mBytes.push_back(static_cast<char>(v >> 8));
    } else {
        mBytes.push_back(static_cast<char>(v >> 8));
        mBytes.push_back(static_cast<char>(v & 0xFF));
    }
}

void SlideWriter::putRecordHead(std::uint8_t type, int lowByte)
{
    put16((type << 8) | (lowByte & 0xFF));
}

void SlideWriter::color(int aci)
{
    putRecordHead(0xFF, aci);
}

void SlideWriter::vector(int x1, int y1, int x2, int y2)
{
    if (x1 < 0 || x1 > 32767)
        throw std::invalid_argument("vector from-x outside 0..32767");
    put16(x1);
    put16(y1);
    put16(x2);
    put16(y2);
}

void SlideWriter::offsetVector(int dx1, int dy1, int dx2, int dy2)
{
    putRecordHead(0xFB, dx1);
    mBytes.push_back(static_cast<char>(dy1));
    mBytes.push_back(static_cast<char>(dx2));
    mBytes.push_back(static_cast<char>(dy2));
}

void SlideWriter::commonEndpoint(int dx, int dy)
{
    putRecordHead(0xFE, dx);
    mBytes.push_back(static_cast<char>(dy));
}

void SlideWriter::fillRecord(int x, int y)
{
    putRecordHead(0xFD, 0);
    put16(x);
    put16(y);
}

void SlideWriter::fillOne(std::span<const Point> polygon)
{
    // The closing record carries the last vertex with y negated, so the last
    // vertex must have y >= 1: rotate until it does.
    const std::size_t n = polygon.size();
    std::size_t last = n;
    for (std::size_t i = n; i-- > 0;) {
        if (polygon[i].y >= 1) {
            last = i;
            break;
        }
    }
    if (last == n)
        return;   // every vertex on y = 0: no area
    fillRecord(static_cast<int>(n) + 1, -2);
    for (std::size_t k = 1; k <= n; ++k) {
        const Point &v = polygon[(last + k) % n];
        fillRecord(v.x, v.y);
    }
    fillRecord(polygon[last].x, -polygon[last].y);
}

void SlideWriter::fill(std::span<const Point> polygon)
{
    if (polygon.size() < 3)
        return;
    if (polygon.size() <= 9) {
        fillOne(polygon);
        return;
    }
    for (std::size_t i = 1; i + 1 < polygon.size(); ++i) {
        const Point tri[3] = {polygon[0], polygon[i], polygon[i + 1]};
        fillOne(tri);
    }
}

std::string SlideWriter::finish()
{
    putRecordHead(0xFC, 0);
    return mBytes;
}

} // namespace quarvel::core
