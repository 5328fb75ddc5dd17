// quarvel-cli render: a slide drawn as PNG, SVG or Windows metafile; or every
// slide of a library in one run.

#include "argparser.h"
#include "commands.h"
#include "console.h"
#include "libraryaccess.h"
#include "outputnamer.h"
#include "pngencoder.h"
#include "renderer.h"
#include "slideerror.h"
#include "slidespec.h"
#include "wmfwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <optional>

namespace quarvel::cli {

namespace {

enum class PictureFormat { Png, Svg, Wmf };

constexpr int kDefaultWidth = 800;
constexpr int kMaxSide = 8192;   // at most 256 MB of pixels: a typo must not exhaust memory

std::optional<PictureFormat> formatNamed(const QString &name)
{
    const QString n = name.toLower();
    if (n == QLatin1String("png"))
        return PictureFormat::Png;
    if (n == QLatin1String("svg"))
        return PictureFormat::Svg;
    if (n == QLatin1String("wmf"))
        return PictureFormat::Wmf;
    return std::nullopt;
}

QString extensionOf(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Png: return QStringLiteral(".png");
    case PictureFormat::Svg: return QStringLiteral(".svg");
    case PictureFormat::Wmf: return QStringLiteral(".wmf");
    }
    return {};
}

struct Settings
{
    PictureFormat format = PictureFormat::Png;
    QSize size;                    // invalid: from the slide's shape
    QColor background = Qt::black;
};

QSize parseSize(const QString &text)
{
    const QStringList parts = text.toLower().split(QLatin1Char('x'));
    bool okW = false;
    bool okH = false;
    const int w = parts.size() == 2 ? parts[0].toInt(&okW) : 0;
    const int h = parts.size() == 2 ? parts[1].toInt(&okH) : 0;
    if (!okW || !okH || w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) {
        throw UsageError(QStringLiteral("--size wants WIDTHxHEIGHT, each 1..%1 pixels, not \"%2\"")
                             .arg(kMaxSide)
                             .arg(text));
    }
    return {w, h};
}

QSize pictureSize(const Settings &settings, const SlideHeader &header)
{
    if (settings.size.isValid())
        return settings.size;
    const double height = std::round(kDefaultWidth / header.drawingAspect());
    return {kDefaultWidth, static_cast<int>(std::clamp(height, 1.0, double(kMaxSide)))};
}

// The picture in the chosen format; nothing when it could not be made.
std::optional<QByteArray> encodePicture(const Settings &settings, const SlideHeader &header,
                                        const SlideDrawing &drawing)
{
    const QSize size = pictureSize(settings, header);
    switch (settings.format) {
    case PictureFormat::Png:
        return encodePng(renderToImage(header, drawing, size, settings.background));
    case PictureFormat::Svg: {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!renderToSvg(&buffer, header, drawing, size, settings.background))
            return std::nullopt;
        return bytes;
    }
    case PictureFormat::Wmf:
        return slideToWmf(header, drawing, settings.background);
    }
    return std::nullopt;
}

// Pictures are plain output that can be made again: written straight to the
// target (no flush to disk per file, which would cost more than drawing),
// and removed again when the write fails.
void writeFile(const QString &target, const QByteArray &bytes)
{
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw SlideError(QDir::toNativeSeparators(target), QStringLiteral("cannot write: %1").arg(file.errorString()));
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.close();
        file.remove();
        throw SlideError(QDir::toNativeSeparators(target), QStringLiteral("cannot write: %1").arg(reason));
    }
}

// Draws one slide into target. Returns false (after saying why) when the
// slide is damaged: what came before the damage is still drawn.
bool renderOne(const SlideLibrary &library, int index, const Settings &settings, const QString &target)
{
    SlideDrawing drawing;
    const DecodeResult r = library.decode(index, &drawing);
    const QString where = library.kind() == SlideLibrary::Kind::Library
                              ? QStringLiteral("%1(%2)").arg(QDir::toNativeSeparators(library.libraryFile()),
                                                              library.slideName(index))
                              : QDir::toNativeSeparators(library.libraryFile());
    if (!r.isSlide)
        throw SlideError(where, r.error, r.errorOffset);
    const std::optional<QByteArray> picture = encodePicture(settings, r.header, drawing);
    if (!picture || picture->isEmpty())
        throw SlideError(QDir::toNativeSeparators(target), QStringLiteral("the picture could not be made"));
    writeFile(target, *picture);
    if (!r.isSound()) {
        printError(SlideError(where, QStringLiteral("%1 (drawn up to the damage)").arg(r.error), r.errorOffset)
                       .message());
        return false;
    }
    return true;
}

} // namespace

int runRender(const CommandContext &context, const QStringList &args)
{
    const ArgParser parser(args, {{QStringLiteral("--output"), QStringLiteral("-o")},
                                  {QStringLiteral("--format"), {}},
                                  {QStringLiteral("--size"), {}},
                                  {QStringLiteral("--background"), {}}});
    parser.expectPositionals(1, 1, QStringLiteral("SPEC"));
    if (!parser.has(QStringLiteral("--output")))
        throw UsageError(QStringLiteral("missing -o OUT"));
    const QString output = parser.value(QStringLiteral("--output"));

    Settings settings;
    std::optional<PictureFormat> format;
    if (parser.has(QStringLiteral("--format"))) {
        format = formatNamed(parser.value(QStringLiteral("--format")));
        if (!format)
            throw UsageError(QStringLiteral("unknown format \"%1\" (png, svg or wmf)").arg(parser.value(QStringLiteral("--format"))));
    }
    if (parser.has(QStringLiteral("--size")))
        settings.size = parseSize(parser.value(QStringLiteral("--size")));
    if (parser.has(QStringLiteral("--background"))) {
        settings.background = QColor(parser.value(QStringLiteral("--background")));
        if (!settings.background.isValid())
            throw UsageError(QStringLiteral("unknown colour \"%1\"").arg(parser.value(QStringLiteral("--background"))));
    }

    const SlideSpec spec = parseSlideSpec(parser.positionals().first());
    const SlideLibrary library = openSlideFile(context, spec.file);

    if (spec.inLibrary || library.kind() == SlideLibrary::Kind::Slide) {
        const int index = spec.inLibrary ? requireSlide(library, spec.slideName) : 0;
        if (!format)
            format = formatNamed(QFileInfo(output).suffix());
        if (!format)
            throw UsageError(QStringLiteral("cannot tell the format from \"%1\": name it .png, .svg or .wmf, or give --format").arg(output));
        settings.format = *format;
        return renderOne(library, index, settings, output) ? 0 : 1;
    }

    // A whole library: one picture per slide into the output folder.
    settings.format = format.value_or(PictureFormat::Png);
    OutputNamer namer(makeOutputDirectory(output), extensionOf(settings.format));
    int failures = 0;
    for (int i = 0; i < library.slideCount(); ++i) {
        try {
            if (!renderOne(library, i, settings, namer.pathFor(library.slideName(i))))
                ++failures;
        } catch (const SlideError &e) {
            printError(e.message());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}

} // namespace quarvel::cli
