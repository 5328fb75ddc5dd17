// Reading and writing slides in the core: the worked example in both byte
// orders, the relative records, old-format headers, damaged input and the
// real corpus; slide names in their code pages.

#include "coreerror.h"
#include "namecodec.h"
#include "namecodepage.h"
#include "slidedata.h"
#include "slidewriter.h"
#include "testdata.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <array>

using namespace quarvel::core;
namespace test = quarvel::test;

namespace {

std::string hex(const char *text)
{
    return QByteArray::fromHex(text).toStdString();   // spaces are skipped
}

// The constructed 640 x 480 slide of the format notes: a red vector, offset
// vector and common-endpoint vector, then a green filled triangle.
std::string workedExample(ByteOrder order)
{
    SlideWriter w(639, 479, 13333333 / 1e7, order);
    w.color(1);
    w.vector(100, 100, 300, 100);
    w.offsetVector(0, 50, 100, 50);
    w.commonEndpoint(-20, -30);
    w.color(3);
    w.fill(std::array<Point, 3>{{{10, 10}, {60, 10}, {35, 50}}});
    return w.finish();
}

// The drawing's batches as "kind colour x count", e.g. "L1x3 P3x4".
std::string batches(const SlideDrawing &d)
{
    std::string out;
    for (const SlideDrawing::Batch &b : d.batches) {
        out += out.empty() ? "" : " ";
        out += (b.kind == SlideDrawing::Kind::Lines ? 'L' : 'P') + std::to_string(b.color) + 'x'
               + std::to_string(b.count);
    }
    return out;
}

using Lines = std::vector<Line>;
using Points = std::vector<Point>;

} // namespace

// The worked example decodes in both byte orders, and with the old (level 1)
// header that stores the aspect ratio as a double.
TEST(SlideFormat, WorkedExampleIsWrittenByteForByteAndDecodesInEveryForm)
{
    const std::string low = workedExample(ByteOrder::LowFirst), hbf = workedExample(ByteOrder::HighFirst);
    EXPECT_EQ(low,
              hex("4175746F43414420536C6964650D0A1A00 56 02 7F02 DF01 5573CB00 0200 3412"
                  "01FF 640064002C016400 00FB326432 ECFEE2 03FF"
                  "00FD0400FEFF 00FD0A000A00 00FD3C000A00 00FD23003200 00FD2300CEFF 00FC"));
    EXPECT_EQ(hbf.substr(19, 12), hex("027F 01DF 5573CB00 0002 1234"));
    EXPECT_EQ(hbf.substr(31, 20), hex("FF01 00640064012C0064 FB00326432 FEECE2 FF03"));
    const auto old = [](const std::string &slide, const char *aspect) {
        return slide.substr(0, 18) + '\x01' + slide.substr(19, 4) + hex(aspect) + slide.substr(kNewHeaderSize);
    };
    const struct { const char *what; std::string bytes; ByteOrder order; int level; } forms[] = {
        {"low first", low, ByteOrder::LowFirst, 2},
        {"high first", hbf, ByteOrder::HighFirst, 2},
        {"old, low first", old(low, "555555555555F53F 0200 00"), ByteOrder::LowFirst, 1},
        {"old, high first", old(hbf, "3FF5555555555555 0002 00"), ByteOrder::HighFirst, 1},
    };
    for (const auto &f : forms) {
        SCOPED_TRACE(f.what);
        SlideDrawing d;
        // Bytes after the end record are not part of the slide.
        const DecodeResult r = decodeSlide(f.bytes + std::string(40, '\x7f'), &d);
        ASSERT_TRUE(r.isSound()) << r.error;
        EXPECT_EQ(r.header.order, f.order);
        EXPECT_EQ(r.header.level, f.level);
        EXPECT_EQ(Point(r.header.highX, r.header.highY), Point(639, 479));
        EXPECT_NEAR(r.header.aspect, 4.0 / 3.0, 1e-7);
        EXPECT_EQ(r.length, 83 + (f.level == 1 ? kOldHeaderSize - kNewHeaderSize : 0));
        EXPECT_EQ(d.lines, (Lines{{{100, 100}, {300, 100}}, {{100, 150}, {200, 150}}, {{100, 150}, {80, 120}}}));
        EXPECT_EQ(batches(d), "L1x3 P3x4");
        // The closing record is counted, so the third vertex appears twice.
        EXPECT_EQ(d.points, (Points{{10, 10}, {60, 10}, {35, 50}, {35, 50}}));
        const SlideStats &s = r.stats;
        EXPECT_EQ(std::vector<unsigned>({s.vectors, s.offsetVectors, s.commonEndpointVectors, s.fillRecords,
                                         s.colorRecords}),
                  std::vector<unsigned>({1, 1, 1, 5, 2}));
        EXPECT_FALSE(s.outsideArea);
    }
}

TEST(SlideFormat, FillsFollowTheWriterForm)
{
    // A square whose last vertex lies on y = 0 is rotated so the closing
    // record can carry a negated y; a large polygon becomes a fan of triangles;
    // a flat one is dropped.
    SlideWriter w(99, 99);
    w.color(5);
    w.fill(std::array<Point, 4>{{{10, 10}, {20, 10}, {20, 20}, {10, 0}}});
    Points big;
    for (int i = 0; i < 12; ++i)
        big.push_back({50 + i, 50 + (i % 3)});
    w.fill(big);
    w.fill(std::array<Point, 3>{{{1, 0}, {5, 0}, {9, 0}}});
    SlideDrawing d;
    const DecodeResult r = decodeSlide(w.finish(), &d);
    ASSERT_TRUE(r.isSound()) << r.error;
    std::string expected = "P5x5";   // the square, then ten triangles
    for (int i = 0; i < 10; ++i)
        expected += " P5x4";
    EXPECT_EQ(batches(d), expected);
    EXPECT_EQ(r.stats.fillPolygons, 11u);
    EXPECT_EQ(Points(d.points.begin(), d.points.begin() + 5), (Points{{10, 0}, {10, 10}, {20, 10}, {20, 20}, {20, 20}}));
}

// Damaged input: one precise error, and the records before it still drawn.
// A fill with a stray vertex, an absurd count or no end still shows.
TEST(SlideFormat, DamagedInputGivesOnePreciseError)
{
    const std::string good = workedExample(ByteOrder::LowFirst);
    struct Case { const char *what; std::string bytes; bool isSlide; std::int64_t offset; Damage damage;
                  std::int64_t value; const char *error, *batches; };
    std::string badTest = good, level = good;
    badTest[29] = 0x35;
    level[18] = 3;
    SlideWriter w(99, 99);
    w.color(2);
    w.fillRecord(5, 5);            // stray vertex before any start record
    w.fillRecord(30000, -2);       // absurd count
    w.fillRecord(0, 0);
    w.fillRecord(10, 0);
    w.fillRecord(10, 10);
    w.vector(1, 1, 2, 2);          // interrupts the open sequence
    const char *noSlide = "no slide header";
    const Case cases[] = {
        {"empty", {}, false, 0, Damage::NoSlideHeader, 0, noSlide, ""},
        {"wrong id", "AutoCAD Slidf" + good.substr(13), false, 0, Damage::NoSlideHeader, 0, noSlide, ""},
        {"header cut", good.substr(0, 25), false, 25, Damage::HeaderTruncated, 0, "file ends inside the slide header", ""},
        {"bad test number", badTest, false, 29, Damage::BadByteOrder, 0, "invalid byte-order test number", ""},
        {"unknown level", level, false, 18, Damage::UnknownLevel, 3, "unknown slide format level 3", ""},
        {"reserved record type", good.substr(0, 0x29) + hex("0080") + good.substr(0x29), true, 0x29,
         Damage::UnknownRecord, 0x80, "unknown record type 0x80", "L1x1"},
        {"record cut short", good.substr(0, 0x2C), true, 0x29, Damage::RecordTruncated, 0, "data ends inside a record",
         "L1x1"},
        {"no end record", good.substr(0, good.size() - 2), true, std::int64_t(good.size()) - 2, Damage::NoEndOfFile, 0,
         "no end-of-file record", "L1x3 P3x4"},
        {"fill never ends", good.substr(0, 0x45) + hex("00FC"), true, 0x33, Damage::FillNeverEnds, 0,
         "solid-fill sequence never ends", "L1x3"},   // two vertices make no polygon
        {"unfinished fill", w.finish(), true, 33, Damage::FillVertexOutside, 0, "solid-fill vertex outside a fill sequence",
         "P2x3 L2x1"},   // the first problem is the one kept
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SlideDrawing d;
        const DecodeResult r = decodeSlide(c.bytes, &d);
        EXPECT_EQ(r.isSlide, c.isSlide);
        EXPECT_FALSE(r.isSound());
        EXPECT_EQ(r.errorOffset, c.offset);
        EXPECT_EQ(r.damage, c.damage);
        EXPECT_EQ(r.damageValue, c.value);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(batches(d), c.batches);
        EXPECT_EQ(slideExtent(c.bytes.data(), c.bytes.size()), r.reachedEnd ? r.length : -1);
    }
}

// Every real slide in the corpus decodes to its end record, with exactly the
// header facts and record counts listed in the corpus manifest; the quick
// extent agrees with the decoder.
TEST(SlideFormat, CorpusSlidesMatchTheManifest)
{
    const QString manifest = QString::fromUtf8(test::readFile(test::corpusDir(QStringLiteral("MANIFEST.md"))));
    ASSERT_FALSE(manifest.isEmpty());
    const QRegularExpression row(QStringLiteral(
        R"(^\| (\S[^|]*?\.(?:sld|SLD)) \|[^|]*\| (\d+) \| (\d) \| (LE|BE) \| (\d+)×(\d+) \|[^|]*\|[^|]*\| vec=(\d+) offvec=(\d+) cend=(\d+) fill=(\d+) color=(\d+) eof=1 \|)"),
        QRegularExpression::MultilineOption);
    int checked = 0;
    for (const auto &m : row.globalMatch(manifest)) {
        const QString path = test::corpusDir(QStringLiteral("sld/") + m.captured(1));
        SCOPED_TRACE(path.toStdString());
        const QByteArray bytes = test::readFile(path);
        ASSERT_EQ(bytes.size(), m.captured(2).toLongLong());
        SlideDrawing d;
        const DecodeResult r = decodeSlide(bytes.constData(), bytes.size(), &d);
        ASSERT_TRUE(r.isSound()) << r.error;
        EXPECT_EQ(slideExtent(bytes.constData(), bytes.size()), r.length);
        EXPECT_EQ(r.header.order, m.captured(4) == u"LE" ? ByteOrder::LowFirst : ByteOrder::HighFirst);
        const SlideStats &s = r.stats;
        const std::vector<int> got = {r.header.level, r.header.highX, r.header.highY, int(s.vectors),
                                      int(s.offsetVectors), int(s.commonEndpointVectors), int(s.fillRecords),
                                      int(s.colorRecords)};
        std::vector<int> expected;
        for (int i : {3, 5, 6, 7, 8, 9, 10, 11})
            expected.push_back(m.captured(i).toInt());
        EXPECT_EQ(got, expected);
        EXPECT_EQ(d.lines.size(), s.vectors + s.offsetVectors + s.commonEndpointVectors);
        ++checked;
    }
    EXPECT_EQ(checked, test::corpusFiles(QStringLiteral("sld")).size());
}

// Names from a file are shown with every control byte and every byte that
// does not decode escaped, so that no two names show alike, and a shown
// name finds its slide again.
TEST(SlideNames, RawNamesAreShownUnambiguously)
{
    struct Case { int codePage; std::string raw, shown; };
    const Case cases[] = {
        {936, "AB\x81 C", "AB\\x81 C"},              // a lead byte before a byte that cannot follow it
        {936, "\xd6\xd0\xce\xc4", "中文"},
        {1251, "\xe4\xe2\x98", "дв\\x98"},           // a byte the code page leaves undefined
        {1251, "A\\B\x1b\n\x7f", "A\\\\B\\x1b\\x0a\\x7f"},
        {950, "\x80\xa4\x61", "\\x80兀"},            // decodes to a C1 control
        {1252, "CAF\xc9", "CAFÉ"},
        {1258, "\xe2\xcc\xac", "ầ¬"},                // letter and accent joined, as elsewhere
        {99999, "A\xe4", "A\\xe4"},                  // no such code page: only ASCII is shown as is
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.shown);
        const NameCodePage page(c.codePage);
        EXPECT_EQ(page.decode(c.raw), c.shown);
        EXPECT_TRUE(page.matches(c.raw, c.shown));
    }
    const NameCodePage gbk(936);
    EXPECT_FALSE(gbk.sameName("\x81", "\xc4"));
    EXPECT_TRUE(gbk.matches("\x81", "\\X81"));
    EXPECT_TRUE(gbk.matches("A\\B", "a\\b"));          // a backslash may be typed single
    EXPECT_EQ(quarvel::NameCodec(936).decode(QByteArray("\x81")), QStringLiteral("\\x81"));
}

// One rule for every name that enters a library: the characters, ASCII
// letters upper-cased and nothing else, 31 bytes in the code page.
TEST(SlideNames, NewNamesFollowOneRule)
{
    // bytes empty: refused for reason, with number and detail.
    struct Case { int codePage; std::string name, bytes; Reason reason; std::int64_t number; std::string detail; };
    const Reason ok = Reason::Other;
    const Case cases[] = {
        {1251, "door_1", "DOOR_1", ok, 0, ""},
        {1251, "дверь", "\xe4\xe2\xe5\xf0\xfc", ok, 0, ""},   // Cyrillic keeps its case
        {936, "中文中文中文中文中文中文中文中", hex("D6D0CEC4D6D0CEC4D6D0CEC4D6D0CEC4D6D0CEC4D6D0CEC4D6D0CEC4D6D0"), ok, 0, ""},
        {936, "中文中文中文中文中文中文中文中文", "", Reason::NameTooLong, 32, ""},
        {1258, "ầ¬", "\xe2\xcc\xac", ok, 0, ""},
        {950, "兀ab", "\xa4\x61\x41\x42", ok, 0, ""},   // a trail byte like "a" is not upper-cased
        {1251, "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ", std::string(16, '\xc6'), ok, 0, ""},   // 32 bytes in UTF-8, 16 stored
        {1251, "", "", Reason::NameEmpty, 0, ""},
        {1251, "имя слайда", "", Reason::NameInvalid, 0, " "},
        {1251, "a\tb", "", Reason::NameInvalid, 0, "\\x09"},
        {1251, "门", "", Reason::NameUnrepresentable, 1251, "门"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const NameCodePage page(c.codePage);
        if (!c.bytes.empty()) {
            EXPECT_EQ(page.encodeNew(c.name), c.bytes);
            continue;
        }
        try {
            page.encodeNew(c.name);
            ADD_FAILURE() << "accepted";
        } catch (const Error &e) {
            EXPECT_EQ(e.reason(), c.reason) << e.message();
            EXPECT_EQ(e.number(), c.number);
            EXPECT_EQ(e.detail(), c.detail);
        }
    }
    EXPECT_TRUE(NameCodePage::sameText("Дверь Ωmega Éa", "дВЕРЬ ωMEGA éA"));
    // Every code page offered has a working converter.
    for (const CodePageInfo &info : NameCodePage::supportedCodePages())
        EXPECT_EQ(NameCodePage(info.number).decode("\xb0\xb0").find('\\'), std::string::npos) << info.number;
}
