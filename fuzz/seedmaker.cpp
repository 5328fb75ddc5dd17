// Writes the seed inputs of the fuzz targets: small slides and libraries
// made with our own writer, covering every record kind, both byte orders,
// the old header format, and a few kinds of damage (the fuzzer finds the
// rest by cutting and changing bytes).
//
//   quarvel-fuzz-seeds DIR    writes DIR/sld/... and DIR/slb/...

#include "slidelibrary.h"
#include "slidewriter.h"

#include <QDir>
#include <QFile>

#include <cstdio>

using namespace quarvel;

namespace {

QByteArray everyRecord(ByteOrder order)
{
    SlideWriter w(639, 479, 0.0, order);
    w.color(1);
    w.vector(100, 100, 300, 100);
    w.offsetVector(0, 50, 100, 50);
    w.commonEndpoint(-20, -30);
    w.color(3);
    w.fill(std::vector<Point>{{10, 10}, {60, 10}, {35, 50}});
    w.fill(std::vector<Point>{{200, 200}, {240, 190}, {280, 200}, {300, 230}, {300, 270},
                              {280, 300}, {240, 310}, {200, 300}, {180, 270}, {180, 230}});
    return w.finish();
}

QByteArray library(const std::initializer_list<std::pair<const char *, QByteArray>> &slides)
{
    SlideLibrary lib;
    for (const auto &[name, bytes] : slides)
        lib.addSlideData(bytes, name, QStringLiteral("seed"));
    return lib.toLibraryBytes();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: quarvel-fuzz-seeds DIR\n");
        return 2;
    }
    const QByteArray low = everyRecord(ByteOrder::LowFirst);
    const QByteArray high = everyRecord(ByteOrder::HighFirst);
    // The old (level 1) header: 34 bytes, the aspect ratio 4/3 as a little-endian double.
    const QByteArray old = low.left(18) + '\x01' + low.mid(19, 4) + QByteArray::fromHex("555555555555f53f 0200 00")
                           + low.mid(kNewHeaderSize);
    const QByteArray empty = SlideWriter(99, 99).finish();
    const QByteArray two = library({{"LOW", low}, {"HIGH", high}});
    QByteArray noTerminator = two, badAddress = two;
    noTerminator.replace(32 + 2 * 36, 36, QByteArray(36, 'Z'));
    badAddress[32 + 36 + 32 + 3] = '\x7f';   // second slide's address far past the end

    const std::pair<const char *, QByteArray> files[] = {
        {"sld/low.sld", low}, {"sld/high.sld", high}, {"sld/old.sld", old}, {"sld/empty.sld", empty},
        {"sld/unknown-record.sld", low.left(kNewHeaderSize) + QByteArray::fromHex("0090") + low.mid(kNewHeaderSize)},
        {"slb/two.slb", two}, {"slb/mixed.slb", library({{"OLD", old}, {"E", empty}})},
        {"slb/no-terminator.slb", noTerminator}, {"slb/bad-address.slb", badAddress},
        {"slb/truncated.slb", two.left(two.size() - 7)},
    };
    const QDir root(QString::fromLocal8Bit(argv[1]));
    bool ok = root.mkpath(QStringLiteral("sld")) && root.mkpath(QStringLiteral("slb"));
    for (const auto &[name, bytes] : files) {
        QFile file(root.filePath(QString::fromLatin1(name)));
        ok = ok && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    if (!ok) {
        std::fprintf(stderr, "quarvel-fuzz-seeds: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
