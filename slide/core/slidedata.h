#pragma once

// Reading of AutoCAD slides without any GUI library: the header of both
// formats (level 1 and level 2), both byte orders, and the data records,
// decoded into drawing batches that the rasteriser and the picture writers
// walk without knowing the file format.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quarvel::core {

enum class ByteOrder : std::uint8_t { LowFirst, HighFirst };

inline constexpr std::size_t kSlideIdLength = 17;
extern const char kSlideId[kSlideIdLength];      // "AutoCAD Slide" CR LF ^Z NUL
inline constexpr int kNewHeaderSize = 31;
inline constexpr int kOldHeaderSize = 34;
inline constexpr std::uint8_t kSlideTypeByte = 0x56;

struct Point
{
    int x = 0;
    int y = 0;
    friend bool operator==(const Point &, const Point &) = default;
};

struct Line
{
    Point a;
    Point b;
    friend bool operator==(const Line &, const Line &) = default;
};

struct SlideHeader
{
    int level = 2;                 // 1 = old format (34-byte header), 2 = new format
    ByteOrder order = ByteOrder::LowFirst;
    int highX = 0;                 // largest x of the drawing area
    int highY = 0;                 // largest y of the drawing area
    double aspect = 0.0;           // physical width / height as stored
    std::uint32_t aspectRaw = 0;   // level 2: the stored value (aspect * 10,000,000)
    int hardwareFill = 2;
    std::uint8_t typeByte = kSlideTypeByte;
    int size = kNewHeaderSize;     // bytes before the first record

    // The aspect to draw with: the stored one, or the shape of the pixel grid
    // when the stored value is zero, negative or absurd.
    double drawingAspect() const;
};

// A decoded slide as drawing batches. Consecutive vectors in one colour form
// one batch of lines; each filled polygon is a batch of its own. Colours are
// AutoCAD colour indices, resolved against a background only when drawn.
struct SlideDrawing
{
    enum class Kind : std::uint8_t { Lines, Polygon };
    struct Batch
    {
        Kind kind;
        std::uint8_t color;
        std::uint32_t first;   // index into lines (Lines) or points (Polygon)
        std::uint32_t count;
    };

    std::vector<Line> lines;       // slide coordinates, y up
    std::vector<Point> points;     // polygon vertices, slide coordinates
    std::vector<Batch> batches;

    void clear();
    bool isEmpty() const { return batches.empty(); }
};

struct SlideStats
{
    std::uint32_t vectors = 0;
    std::uint32_t offsetVectors = 0;
    std::uint32_t commonEndpointVectors = 0;
    std::uint32_t fillRecords = 0;
    std::uint32_t fillPolygons = 0;
    std::uint32_t colorRecords = 0;
    std::uint32_t distinctColors = 0;
    bool outsideArea = false;      // some coordinate lies outside 0..high X / 0..high Y
};

// What is wrong with a slide, as a code the windows word in their language;
// DecodeResult::error holds the English wording.
enum class Damage : std::uint8_t {
    None,
    NoSlideHeader,          // no slide header: not an AutoCAD slide
    HeaderTruncated,        // file ends inside the slide header
    BadByteOrder,           // invalid byte-order test number
    UnknownLevel,           // unknown slide format level N (value: N)
    OldHeaderInvalid,       // old-format header not valid in either byte order
    UnknownRecord,          // unknown record type 0xNN (value: type)
    RecordTruncated,        // data ends inside a record
    NoEndOfFile,            // no end-of-file record
    FillNeverEnds,          // solid-fill sequence never ends
    FillVertexOutside,      // solid-fill vertex outside a fill sequence
};

// The English wording of a damage alone (what was found, not that the file
// is damaged or not a slide: the message around it says that); value is the
// level or record type it names.
std::string damageText(Damage damage, std::int64_t value = 0);

struct DecodeResult
{
    bool isSlide = false;          // the header was recognised
    bool reachedEnd = false;       // the end-of-file record was found
    SlideHeader header;
    std::int64_t length = 0;       // bytes up to and with the end-of-file record (or read before the damage)
    std::int64_t errorOffset = -1; // offset of the first problem, from the start of the slide
    Damage damage = Damage::None;
    std::int64_t damageValue = 0;  // the level or record type the damage names
    std::string error;             // English wording of damage; empty when the slide is sound
    SlideStats stats;

    bool isSound() const { return isSlide && reachedEnd && error.empty(); }
};

// Decodes the slide that starts at data[0]; size bounds what may be read
// (inside a library: up to the end of the file). Bytes after the end-of-file
// record are not looked at. When drawing is given it receives every primitive
// decoded before the first fatal problem. Never reads outside data[0..size).
DecodeResult decodeSlide(const char *data, std::size_t size, SlideDrawing *drawing = nullptr);
inline DecodeResult decodeSlide(const std::string &bytes, SlideDrawing *drawing = nullptr)
{
    return decodeSlide(bytes.data(), bytes.size(), drawing);
}

// The length of the slide at data[0] up to and with its end-of-file record,
// or -1 when no end-of-file record is reached. Steps over the records without
// interpreting them: the same length decodeSlide finds, much faster.
std::int64_t slideExtent(const char *data, std::size_t size);

// True when data starts with the slide ID string (header not yet checked).
bool hasSlideId(const char *data, std::size_t size);

} // namespace quarvel::core
