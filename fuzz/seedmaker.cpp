// Writes the seed inputs of the fuzz targets: small slides and libraries
// made with our own writer, covering every record kind, both byte orders,
// the old header format, and a few kinds of damage.
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
    const Point triangle[] = {{10, 10}, {60, 10}, {35, 50}};
    w.fill(triangle);
    const Point decagon[] = {{200, 200}, {240, 190}, {280, 200}, {300, 230}, {300, 270},
                              {280, 300}, {240, 310}, {200, 300}, {180, 270}, {180, 230}};
    w.fill(decagon);
    return w.finish();
}

// The old (level 1) header: 34 bytes, the aspect ratio as a double.
QByteArray oldFormat()
{
    const QByteArray modern = everyRecord(ByteOrder::LowFirst);
    QByteArray old = modern.left(19);
    old[18] = '\x01';
    old.append(modern.mid(19, 4));                                    // high x, high y
    old.append(QByteArray::fromHex("5555555555 55f53f"));             // 4/3 as a little-endian double
    old.append(QByteArray::fromHex("0200 00"));                       // hardware fill, filler
    old.append(modern.mid(kNewHeaderSize));
    return old;
}

QByteArray library(const std::initializer_list<std::pair<const char *, QByteArray>> &slides)
{
    SlideLibrary lib;
    for (const auto &[name, bytes] : slides)
        lib.addSlideData(bytes, name, QStringLiteral("seed"));
    return lib.toLibraryBytes();
}

bool put(const QDir &dir, const char *name, const QByteArray &bytes)
{
    QFile file(dir.filePath(QString::fromLatin1(name)));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: quarvel-fuzz-seeds DIR\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    root.mkpath(QStringLiteral("sld"));
    root.mkpath(QStringLiteral("slb"));
    const QDir sld(root.filePath(QStringLiteral("sld")));
    const QDir slb(root.filePath(QStringLiteral("slb")));

    const QByteArray low = everyRecord(ByteOrder::LowFirst);
    const QByteArray high = everyRecord(ByteOrder::HighFirst);
    SlideWriter empty(99, 99);
    SlideWriter unfinishedFill(99, 99);
    unfinishedFill.color(2);
    unfinishedFill.fillRecord(4, -2);
    unfinishedFill.fillRecord(10, 10);
    unfinishedFill.fillRecord(20, 10);
    QByteArray unknownRecord = low.left(kNewHeaderSize) + QByteArray::fromHex("0090") + low.mid(kNewHeaderSize);

    bool ok = put(sld, "low.sld", low) && put(sld, "high.sld", high) && put(sld, "old.sld", oldFormat())
              && put(sld, "empty.sld", empty.finish()) && put(sld, "unfinished-fill.sld", unfinishedFill.finish())
              && put(sld, "unknown-record.sld", unknownRecord) && put(sld, "truncated.sld", low.left(low.size() - 5));

    const QByteArray two = library({{"LOW", low}, {"HIGH", high}});
    QByteArray noTerminator = two;
    noTerminator.replace(32 + 2 * 36, 36, QByteArray(36, 'Z'));
    QByteArray badAddress = two;
    badAddress[32 + 36 + 32 + 3] = '\x7f';   // second slide's address far past the end
    ok = ok && put(slb, "two.slb", two) && put(slb, "mixed.slb", library({{"OLD", oldFormat()}, {"E", empty.finish()}}))
         && put(slb, "no-terminator.slb", noTerminator) && put(slb, "bad-address.slb", badAddress)
         && put(slb, "truncated.slb", two.left(two.size() - 7)) && put(slb, "padded.slb", two + QByteArray(16, '\0'));
    if (!ok) {
        std::fprintf(stderr, "quarvel-fuzz-seeds: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
