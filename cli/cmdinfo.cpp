// quarvel-cli info: what a slide's header and records, or a library's
// directory, tell.

#include "argparser.h"
#include "commands.h"
#include "console.h"
#include "libraryaccess.h"
#include "slideerror.h"

#include <QDir>
#include <QFileInfo>

#include <map>

namespace quarvel::cli {

namespace {

void fact(const char *key, const QString &value)
{
    printLine(QStringLiteral("%1: %2").arg(QLatin1String(key), value));
}

void fact(const char *key, qint64 value)
{
    fact(key, QString::number(value));
}

QString orderName(ByteOrder order)
{
    return order == ByteOrder::LowFirst ? QStringLiteral("low byte first") : QStringLiteral("high byte first");
}

QString damageText(const DecodeResult &r)
{
    if (r.error.isEmpty())
        return QStringLiteral("none");
    return QStringLiteral("byte %1: %2").arg(r.errorOffset).arg(r.error);
}

void printSlide(const SlideLibrary &library, qint64 fileSize)
{
    const DecodeResult r = library.decode(0, nullptr);
    const SlideHeader &h = r.header;
    fact("kind", QStringLiteral("slide"));
    fact("level", h.level);
    fact("byte order", orderName(h.order));
    fact("high x", h.highX);
    fact("high y", h.highY);
    fact("aspect", QString::number(h.aspect, 'f', 7));
    if (h.level == 2)
        fact("aspect stored", static_cast<qint64>(h.aspectRaw));
    fact("type byte", QStringLiteral("0x") + QString::number(h.typeByte, 16).toUpper().rightJustified(2, QLatin1Char('0')));
    fact("hardware fill", h.hardwareFill);
    fact("header size", h.size);
    fact("file size", fileSize);
    fact("slide length", r.length);
    if (r.reachedEnd)
        fact("bytes after end", fileSize - r.length);
    const SlideStats &s = r.stats;
    fact("vectors", s.vectors);
    fact("offset vectors", s.offsetVectors);
    fact("common-endpoint vectors", s.commonEndpointVectors);
    fact("solid-fill records", s.fillRecords);
    fact("fill polygons", s.fillPolygons);
    fact("colour records", s.colorRecords);
    fact("distinct colours", s.distinctColors);
    fact("end record", r.reachedEnd ? QStringLiteral("yes") : QStringLiteral("no"));
    fact("outside drawing area", s.outsideArea ? QStringLiteral("yes") : QStringLiteral("no"));
    fact("damage", damageText(r));
}

void printLibrary(const SlideLibrary &library, qint64 fileSize)
{
    fact("kind", QStringLiteral("slide library"));
    fact("file size", fileSize);
    fact("name code page", library.codec().codePage());
    fact("slides", library.slideCount());

    // Formats in use, and every slide that does not decode cleanly.
    std::map<QString, int> formats;
    QStringList damaged;
    for (int i = 0; i < library.slideCount(); ++i) {
        const QString name = library.slideName(i);
        try {
            const DecodeResult r = library.decode(i, nullptr);
            if (r.isSlide)
                ++formats[QStringLiteral("level %1, %2").arg(r.header.level).arg(orderName(r.header.order))];
            if (!r.isSound())
                damaged << QStringLiteral("\"%1\" (slide %2): %3").arg(name).arg(i).arg(damageText(r));
        } catch (const SlideError &e) {
            damaged << QStringLiteral("\"%1\" (slide %2): %3").arg(name).arg(i).arg(e.reason());
        }
    }
    QStringList formatText;
    for (const auto &[format, count] : formats)
        formatText << QStringLiteral("%1 x %2").arg(format).arg(count);
    fact("formats", formatText.isEmpty() ? QStringLiteral("none") : formatText.join(QLatin1String("; ")));
    fact("directory problems", static_cast<qint64>(library.problems().size()));
    for (const LibraryProblem &p : library.problems())
        fact("directory problem", QStringLiteral("byte %1: %2").arg(p.offset).arg(p.what));
    fact("damaged slides", damaged.size());
    for (const QString &line : damaged)
        fact("damaged slide", line);
}

} // namespace

int runInfo(const CommandContext &context, const QStringList &args)
{
    const ArgParser parser(args, {});
    parser.expectPositionals(1, 1, QStringLiteral("FILE"));
    const QString path = parser.positionals().first();
    const SlideLibrary library = openSlideFile(context, path);
    fact("file", QDir::toNativeSeparators(path));
    const qint64 size = QFileInfo(path).size();
    if (library.kind() == SlideLibrary::Kind::Slide)
        printSlide(library, size);
    else
        printLibrary(library, size);
    return 0;
}

} // namespace quarvel::cli
