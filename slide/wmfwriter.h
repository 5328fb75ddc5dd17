#pragma once

// Export of a decoded slide as a placeable Windows metafile.

#include "slideformat.h"

#include <QByteArray>
#include <QColor>
#include <QPoint>
#include <QRgb>

#include <cstdint>
#include <span>
#include <vector>

namespace quarvel {

// The metafile of a slide: vectors and fills in the slide's colours on the
// given background, sized to keep the slide's shape.
QByteArray slideToWmf(const SlideHeader &header, const SlideDrawing &drawing, QColor background);

// Writes a placeable metafile record by record. It keeps the object table
// as a player does (each new pen or brush takes the lowest free slot) and
// fills in the header fields that depend on the records when finished.
// Coordinates are logical units; values outside -32768..32767 are clamped.
class WmfWriter
{
public:
    enum class PenStyle : std::uint16_t { Solid = 0, Null = 5 };
    enum class BrushStyle : std::uint16_t { Solid = 0, Null = 1 };
    enum MapMode : std::uint16_t { Anisotropic = 8 };
    enum BkMode : std::uint16_t { Transparent = 1, Opaque = 2 };
    enum PolyFillMode : std::uint16_t { Alternate = 1, Winding = 2 };

    // The picture's bounding box is (0, 0, width, height); inch is the
    // number of logical units per inch.
    WmfWriter(int width, int height, int inch);

    void setMapMode(MapMode mode);
    void setWindowOrg(int x, int y);
    void setWindowExt(int width, int height);
    void setBkMode(BkMode mode);
    void setPolyFillMode(PolyFillMode mode);

    // Each returns the slot the new object takes.
    int createPen(PenStyle style, QRgb color, int width = 0);
    int createBrush(BrushStyle style, QRgb color);
    // Throw std::logic_error for a free slot; deleting the selected pen or
    // brush is refused the same way, as Windows refuses it.
    void selectObject(int slot);
    void deleteObject(int slot);

    void moveTo(int x, int y);
    void lineTo(int x, int y);
    void rectangle(int left, int top, int right, int bottom);
    void polyline(std::span<const QPoint> points);
    void polygon(std::span<const QPoint> points);

    // Appends the end record and returns the whole file.
    QByteArray finish();

private:
    enum class Slot : std::uint8_t { Free, Pen, Brush };

    void record(std::uint16_t function, std::initializer_list<int> params);
    void pointRecord(std::uint16_t function, std::span<const QPoint> points);
    void beginRecord(std::uint32_t words, std::uint16_t function);
    void putWord(int value);
    int takeSlot(Slot kind);
    Slot &slotAt(int slot, const char *operation);

    QByteArray mRecords;
    int mWidth;
    int mHeight;
    int mInch;
    std::uint32_t mMaxRecord = 0;
    std::vector<Slot> mSlots;
    int mSelectedPen = -1;
    int mSelectedBrush = -1;
};

} // namespace quarvel
