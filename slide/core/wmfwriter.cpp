#include "wmfwriter.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

namespace quarvel::core {

namespace {

constexpr std::uint16_t kEof = 0x0000;
constexpr std::uint16_t kSetBkMode = 0x0102;
constexpr std::uint16_t kSetMapMode = 0x0103;
constexpr std::uint16_t kSetPolyFillMode = 0x0106;
constexpr std::uint16_t kSetWindowOrg = 0x020B;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr std::uint16_t kLineTo = 0x0213;
constexpr std::uint16_t kMoveTo = 0x0214;
constexpr std::uint16_t kSelectObject = 0x012D;
constexpr std::uint16_t kDeleteObject = 0x01F0;
constexpr std::uint16_t kCreatePen = 0x02FA;
constexpr std::uint16_t kCreateBrush = 0x02FC;
constexpr std::uint16_t kPolygon = 0x0324;
constexpr std::uint16_t kPolyline = 0x0325;
constexpr std::uint16_t kRectangle = 0x041B;

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr int kHeaderWords = 9;
constexpr int kMaxCoordinate = 32767;
// Long chains are split so that no record grows past what old readers take.
constexpr std::size_t kMaxPolylinePoints = 4096;
// Streamed records are handed on in pieces of about this size.
constexpr std::size_t kStreamPiece = 64 * 1024;

int clamp16(int v) { return std::clamp(v, -32768, kMaxCoordinate); }

void appendWord(std::string &out, int value)
{
    const auto v = static_cast<std::uint16_t>(value);
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void appendDword(std::string &out, std::uint32_t v)
{
    appendWord(out, static_cast<int>(v & 0xFFFF));
    appendWord(out, static_cast<int>(v >> 16));
}

int red(Rgb c) { return c.r; }
int greenShifted(Rgb c) { return c.g << 8; }

} // namespace

WmfWriter::WmfWriter(int width, int height, int inch)
    : mWidth(width), mHeight(height), mInch(inch)
{
}

WmfWriter::WmfWriter(int width, int height, int inch, MeasureOnly)
    : mMeasureOnly(true), mWidth(width), mHeight(height), mInch(inch)
{
}

WmfWriter::WmfWriter(int width, int height, int inch, Sink &out, const Totals &totals)
    : mOut(&out), mDeclared(totals), mWidth(width), mHeight(height), mInch(inch)
{
    const std::string head = header(totals);
    out.write(head.data(), head.size());
    mRecords.reserve(kStreamPiece + 64);
}

WmfWriter::~WmfWriter() = default;

void WmfWriter::putWord(int value)
{
    appendWord(mRecords, value);
}

void WmfWriter::beginRecord(std::uint32_t words, std::uint16_t function)
{
    if ((mOut != nullptr || mMeasureOnly) && mRecords.size() >= kStreamPiece) {
        if (mOut != nullptr)
            mOut->write(mRecords.data(), mRecords.size());
        mRecords.clear();
    }
    mMaxRecord = std::max(mMaxRecord, words);
    mWords += words;
    appendDword(mRecords, words);
    putWord(function);
}

void WmfWriter::record(std::uint16_t function, std::initializer_list<int> params)
{
    beginRecord(3 + static_cast<std::uint32_t>(params.size()), function);
    for (int p : params)
        putWord(p);
}

void WmfWriter::pointRecord(std::uint16_t function, std::span<const Point> points)
{
    beginRecord(4 + 2 * static_cast<std::uint32_t>(points.size()), function);
    putWord(static_cast<int>(points.size()));
    for (const Point &p : points) {
        putWord(clamp16(p.x));
        putWord(clamp16(p.y));
    }
}

// Parameters are stored in the reverse of the order the drawing calls take them.
void WmfWriter::setMapMode(MapMode mode) { record(kSetMapMode, {mode}); }
void WmfWriter::setWindowOrg(int x, int y) { record(kSetWindowOrg, {clamp16(y), clamp16(x)}); }
void WmfWriter::setWindowExt(int width, int height) { record(kSetWindowExt, {clamp16(height), clamp16(width)}); }
void WmfWriter::setBkMode(BkMode mode) { record(kSetBkMode, {mode}); }
void WmfWriter::setPolyFillMode(PolyFillMode mode) { record(kSetPolyFillMode, {mode}); }
void WmfWriter::moveTo(int x, int y) { record(kMoveTo, {clamp16(y), clamp16(x)}); }
void WmfWriter::lineTo(int x, int y) { record(kLineTo, {clamp16(y), clamp16(x)}); }

void WmfWriter::rectangle(int left, int top, int right, int bottom)
{
    record(kRectangle, {clamp16(bottom), clamp16(right), clamp16(top), clamp16(left)});
}

void WmfWriter::polyline(std::span<const Point> points) { pointRecord(kPolyline, points); }
void WmfWriter::polygon(std::span<const Point> points) { pointRecord(kPolygon, points); }

int WmfWriter::takeSlot(Slot kind)
{
    const auto free = std::find(mSlots.begin(), mSlots.end(), Slot::Free);
    const auto slot = static_cast<int>(free - mSlots.begin());
    if (free == mSlots.end())
        mSlots.push_back(kind);
    else
        *free = kind;
    return slot;
}

WmfWriter::Slot &WmfWriter::slotAt(int slot, const char *operation)
{
    if (slot < 0 || slot >= static_cast<int>(mSlots.size()) || mSlots[slot] == Slot::Free)
        throw std::logic_error(std::string("metafile: ") + operation + " of an empty object slot");
    return mSlots[slot];
}

int WmfWriter::createPen(PenStyle style, Rgb color, int width)
{
    record(kCreatePen, {static_cast<int>(style), width, 0, red(color) | greenShifted(color), color.b});
    return takeSlot(Slot::Pen);
}

int WmfWriter::createBrush(BrushStyle style, Rgb color)
{
    record(kCreateBrush, {static_cast<int>(style), red(color) | greenShifted(color), color.b, 0});
    return takeSlot(Slot::Brush);
}

void WmfWriter::selectObject(int slot)
{
    (slotAt(slot, "select") == Slot::Pen ? mSelectedPen : mSelectedBrush) = slot;
    record(kSelectObject, {slot});
}

void WmfWriter::deleteObject(int slot)
{
    Slot &s = slotAt(slot, "delete");
    if (slot == mSelectedPen || slot == mSelectedBrush)
        throw std::logic_error("metafile: deleting the selected object");
    s = Slot::Free;
    record(kDeleteObject, {slot});
}

WmfWriter::Totals WmfWriter::totals() const
{
    return {mWords, mMaxRecord, static_cast<std::uint16_t>(mSlots.size())};
}

std::string WmfWriter::header(const Totals &totals) const
{
    std::string out;
    const int placeable[10] = {static_cast<int>(kPlaceableKey & 0xFFFF), static_cast<int>(kPlaceableKey >> 16),
                               0, 0, 0, clamp16(mWidth), clamp16(mHeight), mInch, 0, 0};
    int checksum = 0;
    for (int word : placeable) {
        appendWord(out, word);
        checksum ^= word & 0xFFFF;
    }
    appendWord(out, checksum);

    appendWord(out, 1);              // memory metafile
    appendWord(out, kHeaderWords);
    appendWord(out, 0x0300);
    appendDword(out, kHeaderWords + totals.words);
    appendWord(out, totals.objects);
    appendDword(out, totals.maxRecord);
    appendWord(out, 0);
    return out;
}

std::string WmfWriter::finish()
{
    record(kEof, {});
    if (mMeasureOnly) {
        mRecords.clear();
        return {};
    }
    if (mOut != nullptr) {
        const Totals made = totals();
        if (made.words != mDeclared.words || made.maxRecord != mDeclared.maxRecord
            || made.objects != mDeclared.objects)
            throw std::logic_error("metafile: the records differ from the header's totals");
        mOut->write(mRecords.data(), mRecords.size());
        mRecords.clear();
        return {};
    }
    std::string out = header(totals());
    out += mRecords;
    return out;
}

namespace {

// Where slide points land in the metafile: y turned downward and, when the
// slide's pixels were not square, one axis stretched so that the picture
// keeps the slide's physical shape.
class WmfMapping
{
public:
    explicit WmfMapping(const SlideHeader &header)
        : mHighY(header.highY)
    {
        const double w0 = header.highX + 1.0;
        const double h0 = header.highY + 1.0;
        const double aspect = header.drawingAspect();
        double w = w0;
        double h = h0;
        // Real slides from screens with square pixels store an aspect within
        // a fraction of a percent of the grid's shape: leave those unscaled.
        if (std::abs(w0 / h0 / aspect - 1.0) > 0.002) {
            if (w0 / h0 < aspect)
                w = h0 * aspect;
            else
                h = w0 / aspect;
        }
        // The background rectangle reaches one unit past the extent.
        const double limit = kMaxCoordinate - 1;
        if (std::max(w, h) > limit) {
            const double k = limit / std::max(w, h);
            w *= k;
            h *= k;
        }
        width = std::max(1, static_cast<int>(std::lround(w)));
        height = std::max(1, static_cast<int>(std::lround(h)));
        mScaleX = width / w0;
        mScaleY = height / h0;
        mSquare = width == static_cast<int>(w0) && height == static_cast<int>(h0);
    }

    Point map(const Point &p) const
    {
        if (mSquare)
            return {clamp16(p.x), clamp16(mHighY - p.y)};
        // Pixel centres map to centres, so the picture is not shifted by the scaling.
        return {clamp16(static_cast<int>(std::lround((p.x + 0.5) * mScaleX - 0.5))),
                clamp16(static_cast<int>(std::lround((mHighY - p.y + 0.5) * mScaleY - 0.5)))};
    }

    int width = 1;
    int height = 1;

private:
    int mHighY;
    double mScaleX = 1;
    double mScaleY = 1;
    bool mSquare = true;
};

// A vector of no length is a dot on the slide, but a metafile line leaves
// out its last point and would draw nothing: give it one unit of length.
void showDot(std::vector<Point> &pts)
{
    if (pts.size() == 2 && pts[0] == pts[1])
        pts[1].x += 1;
}

void drawRecords(WmfWriter &w, const WmfMapping &mapping, const SlideDrawing &drawing, Rgb background)
{
    w.setMapMode(WmfWriter::Anisotropic);
    w.setWindowOrg(0, 0);
    w.setWindowExt(mapping.width, mapping.height);
    w.setBkMode(WmfWriter::Opaque);
    w.setPolyFillMode(WmfWriter::Winding);

    // A slide has no background of its own; the viewer's is painted first.
    int brush = w.createBrush(WmfWriter::BrushStyle::Solid, background);
    w.selectObject(brush);
    int pen = w.createPen(WmfWriter::PenStyle::Null, {});
    w.selectObject(pen);
    // A null pen leaves out the right and bottom edges, hence the extra unit.
    w.rectangle(0, 0, mapping.width + 1, mapping.height + 1);

    // AutoCAD writes a colour record before nearly every primitive; objects
    // are made only when the colour drawn really changes.
    std::optional<Rgb> current;
    std::vector<Point> pts;
    for (const SlideDrawing::Batch &b : drawing.batches) {
        const Rgb rgb = aciColorOn(b.color, background);
        if (rgb != current) {
            current = rgb;
            const int newPen = w.createPen(WmfWriter::PenStyle::Solid, rgb, 0);
            w.selectObject(newPen);
            const int newBrush = w.createBrush(WmfWriter::BrushStyle::Solid, rgb);
            w.selectObject(newBrush);
            w.deleteObject(pen);
            w.deleteObject(brush);
            pen = newPen;
            brush = newBrush;
        }
        if (b.kind == SlideDrawing::Kind::Polygon) {
            pts.clear();
            for (std::uint32_t i = 0; i < b.count; ++i) {
                const Point p = mapping.map(drawing.points[b.first + i]);
                if (pts.empty() || pts.back() != p)
                    pts.push_back(p);
            }
            if (pts.size() > 1 && pts.back() == pts.front())
                pts.pop_back();
            if (pts.size() == 1)
                pts.push_back(pts.front());
            showDot(pts);
            w.polygon(pts);
            continue;
        }
        // Vectors that continue where the previous one ended (chains of
        // common-endpoint vectors) become one polyline.
        const Line *line = drawing.lines.data() + b.first;
        const Line *end = line + b.count;
        while (line != end) {
            pts.assign({mapping.map(line->a), mapping.map(line->b)});
            Point last = line->b;
            for (++line; line != end && line->a == last && pts.size() < kMaxPolylinePoints; ++line) {
                pts.push_back(mapping.map(line->b));
                last = line->b;
            }
            showDot(pts);
            w.polyline(pts);
        }
    }
}

} // namespace

void writeWmf(Sink &out, const SlideHeader &header, const SlideDrawing &drawing, Rgb background)
{
    const WmfMapping mapping(header);
    const int inch = std::max(1, static_cast<int>(std::lround(std::max(mapping.width, mapping.height) / 6.0)));
    WmfWriter::Totals totals;
    {
        WmfWriter measure(mapping.width, mapping.height, inch, WmfWriter::MeasureOnly{});
        drawRecords(measure, mapping, drawing, background);
        measure.finish();
        totals = measure.totals();
    }
    WmfWriter w(mapping.width, mapping.height, inch, out, totals);
    drawRecords(w, mapping, drawing, background);
    w.finish();
}

} // namespace quarvel::core
