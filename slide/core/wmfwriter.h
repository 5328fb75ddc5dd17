#pragma once

// Export of a decoded slide as a placeable Windows metafile.

#include "palette.h"
#include "sink.h"
#include "slidedata.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quarvel::core {

// Writes the metafile of a slide to out: vectors and fills in the slide's
// colours on the given background, sized to keep the slide's shape. The
// records are made twice, once to learn the sizes the header gives and once
// to stream them, so memory does not grow with the slide.
void writeWmf(Sink &out, const SlideHeader &header, const SlideDrawing &drawing, Rgb background);

// Writes a placeable metafile record by record. It keeps the object table
// as a player does (each new pen or brush takes the lowest free slot) and
// fills in the header fields that depend on the records. Coordinates are
// logical units; values outside -32768..32767 are clamped.
class WmfWriter
{
public:
    enum class PenStyle : std::uint16_t { Solid = 0, Null = 5 };
    enum class BrushStyle : std::uint16_t { Solid = 0, Null = 1 };
    enum MapMode : std::uint16_t { Anisotropic = 8 };
    enum BkMode : std::uint16_t { Transparent = 1, Opaque = 2 };
    enum PolyFillMode : std::uint16_t { Alternate = 1, Winding = 2 };

    // What the header says of the records that follow it.
    struct Totals
    {
        std::uint32_t words = 0;       // all records, in 16-bit words
        std::uint32_t maxRecord = 0;   // the largest record, in words
        std::uint16_t objects = 0;     // object table slots used
    };

    // The picture's bounding box is (0, 0, width, height); inch is the
    // number of logical units per inch. The records are kept in memory and
    // finish() returns the whole file.
    WmfWriter(int width, int height, int inch);
    // Makes no file: only counts, for totals().
    struct MeasureOnly
    {
    };
    WmfWriter(int width, int height, int inch, MeasureOnly);
    // Streams to out: the header is written at once with totals (from an
    // earlier run of the same calls without out), the records as they come.
    WmfWriter(int width, int height, int inch, Sink &out, const Totals &totals);
    ~WmfWriter();
    WmfWriter(const WmfWriter &) = delete;
    WmfWriter &operator=(const WmfWriter &) = delete;

    void setMapMode(MapMode mode);
    void setWindowOrg(int x, int y);
    void setWindowExt(int width, int height);
    void setBkMode(BkMode mode);
    void setPolyFillMode(PolyFillMode mode);

    // Each returns the slot the new object takes.
    int createPen(PenStyle style, Rgb color, int width = 0);
    int createBrush(BrushStyle style, Rgb color);
    // Throw std::logic_error for a free slot; deleting the selected pen or
    // brush is refused the same way, as Windows refuses it.
    void selectObject(int slot);
    void deleteObject(int slot);

    void moveTo(int x, int y);
    void lineTo(int x, int y);
    void rectangle(int left, int top, int right, int bottom);
    void polyline(std::span<const Point> points);
    void polygon(std::span<const Point> points);

    // Appends the end record. Keeping in memory: returns the whole file;
    // otherwise returns nothing (streaming: flushes the rest, and throws
    // std::logic_error when the records differ from the declared totals).
    std::string finish();
    // The totals of the records made so far (the end record included after finish()).
    Totals totals() const;

private:
    enum class Slot : std::uint8_t { Free, Pen, Brush };

    void record(std::uint16_t function, std::initializer_list<int> params);
    void pointRecord(std::uint16_t function, std::span<const Point> points);
    void beginRecord(std::uint32_t words, std::uint16_t function);
    void putWord(int value);
    int takeSlot(Slot kind);
    Slot &slotAt(int slot, const char *operation);
    std::string header(const Totals &totals) const;

    std::string mRecords;
    Sink *mOut = nullptr;
    bool mMeasureOnly = false;
    Totals mDeclared;
    int mWidth;
    int mHeight;
    int mInch;
    std::uint32_t mWords = 0;
    std::uint32_t mMaxRecord = 0;
    std::vector<Slot> mSlots;
    int mSelectedPen = -1;
    int mSelectedBrush = -1;
};

} // namespace quarvel::core
