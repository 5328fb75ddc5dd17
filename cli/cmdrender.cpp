// quarvel-cli render: a slide drawn as PNG, SVG, Windows metafile or DXF; or
// every slide of a library in one run. quarvel-cli thumbnail: a small PNG of
// a slide or of a library's first slides, for file managers.

#include "colorname.h"
#include "commands.h"
#include "console.h"
#include "libraryaccess.h"
#include "output.h"
#include "outputnamer.h"
#include "paths.h"
#include "slidearg.h"

#include "dxfwriter.h"
#include "pngwriter.h"
#include "raster.h"
#include "svgwriter.h"
#include "wmfwriter.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace quarvel::cli {

namespace {

enum class PictureFormat { Png, Svg, Wmf, Dxf };

constexpr int kDefaultWidth = 800;
constexpr int kMaxSide = 8192;   // at most 64 MB of pixels: a typo must not exhaust memory

std::optional<PictureFormat> formatNamed(const std::string &name)
{
    const std::string n = asciiLower(name);
    if (n == "png")
        return PictureFormat::Png;
    if (n == "svg")
        return PictureFormat::Svg;
    if (n == "wmf")
        return PictureFormat::Wmf;
    if (n == "dxf")
        return PictureFormat::Dxf;
    return std::nullopt;
}

const char *extensionFor(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Png: return ".png";
    case PictureFormat::Svg: return ".svg";
    case PictureFormat::Wmf: return ".wmf";
    case PictureFormat::Dxf: return ".dxf";
    }
    return "";
}

struct Settings
{
    PictureFormat format = PictureFormat::Png;
    int width = 0;    // 0: from the slide's shape
    int height = 0;
    core::Rgb background{0, 0, 0};
};

void parseSize(const std::string &text, int &width, int &height)
{
    const std::string lower = asciiLower(text);
    const std::size_t x = lower.find('x');
    const bool ok = x != std::string::npos && parseInt(lower.substr(0, x), width)
                    && parseInt(lower.substr(x + 1), height) && width >= 1 && height >= 1 && width <= kMaxSide
                    && height <= kMaxSide;
    if (!ok) {
        throw UsageError("--size wants WIDTHxHEIGHT, each 1.." + std::to_string(kMaxSide) + " pixels, not \"" + text
                         + "\"");
    }
}

void pictureSize(const Settings &settings, const core::SlideHeader &header, int &width, int &height)
{
    if (settings.width > 0) {
        width = settings.width;
        height = settings.height;
        return;
    }
    width = kDefaultWidth;
    height = static_cast<int>(std::clamp(std::round(kDefaultWidth / header.drawingAspect()), 1.0, double(kMaxSide)));
}

// What one run reuses from slide to slide: the decoded records and the
// pixel rows (a fresh image per slide would cost its page faults each time).
struct Scratch
{
    core::SlideDrawing drawing;
    core::PaletteImage image;
};

void writePicture(core::Sink &out, const Settings &settings, const core::SlideHeader &header,
                  const core::SlideDrawing &drawing, core::PaletteImage &image)
{
    int width = 0;
    int height = 0;
    pictureSize(settings, header, width, height);
    switch (settings.format) {
    case PictureFormat::Png:
        if (image.width != width || image.height != height) {
            image = core::PaletteImage{};
            image.width = width;
            image.height = height;
            image.stride = static_cast<std::size_t>(width);
            image.pixels.resize(image.stride * static_cast<std::size_t>(height));
        }
        core::drawSlide(header, drawing,
                        {image.pixels.data(), width, height, static_cast<std::ptrdiff_t>(image.stride)},
                        {0, 0, double(width), double(height)}, settings.background, image.palette);
        core::writePng(out, image);
        return;
    case PictureFormat::Svg:
        core::writeSvg(out, header, drawing, width, height, settings.background);
        return;
    case PictureFormat::Wmf:
        core::writeWmf(out, header, drawing, settings.background);
        return;
    case PictureFormat::Dxf:
        core::writeDxf(out, header, drawing);
        return;
    }
}

// Draws one slide into target. Returns false (after saying why) when the
// slide is damaged: what came before the damage is still drawn.
bool renderOne(const CommandContext &context, const core::Library &library, std::size_t index,
               const Settings &settings, const std::string &target, Scratch &scratch)
{
    core::SlideDrawing &drawing = scratch.drawing;
    drawing.clear();
    const core::DecodeResult r = library.decode(index, &drawing);
    const std::string where = library.kind() == core::Library::Kind::Library
                                  ? core::displayPath(library.file()) + "(" + shownName(context, library, index) + ")"
                                  : core::displayPath(library.file());
    if (!r.isSlide)
        throw core::Error(where, core::Reason::NotASlide, {}, r.errorOffset).withDamage(r.damage, r.damageValue);
    writeOutput(target, [&](core::Sink &out) { writePicture(out, settings, r.header, drawing, scratch.image); });
    if (!r.isSound()) {
        printError(oneLine(core::Error(where, core::Reason::Other, r.error + " (drawn up to the damage)", r.errorOffset)
                               .message()));
        return false;
    }
    return true;
}

} // namespace

int runRender(const CommandContext &context, const Args &args)
{
    const ArgParser parser(args, {{"--output", "-o"}, {"--format", {}}, {"--size", {}}, {"--background", {}}});
    parser.expectPositionals(1, 1, "SPEC");
    if (!parser.has("--output"))
        throw UsageError("missing -o OUT");
    const std::string output = parser.value("--output");

    Settings settings;
    std::optional<PictureFormat> format;
    if (parser.has("--format")) {
        format = formatNamed(parser.value("--format"));
        if (!format)
            throw UsageError("unknown format \"" + parser.value("--format") + "\" (png, svg, wmf or dxf)");
    }
    if (parser.has("--size"))
        parseSize(parser.value("--size"), settings.width, settings.height);
    if (parser.has("--background")) {
        const auto colour = parseColor(parser.value("--background"));
        if (!colour)
            throw UsageError("unknown colour \"" + parser.value("--background") + "\"");
        settings.background = *colour;
    }

    const SlideArg spec = parseSlideArg(parser.positionals().front());
    const core::Library library = openSlideFile(context, spec.file);
    Scratch scratch;

    if (spec.inLibrary || library.kind() == core::Library::Kind::Slide) {
        const std::size_t index = spec.inLibrary ? requireSlide(context, library, spec.slideName) : 0;
        if (!format)
            format = formatNamed(extensionOf(output));
        if (!format) {
            throw UsageError("cannot tell the format from \"" + output
                             + "\": name it .png, .svg, .wmf or .dxf, or give --format");
        }
        settings.format = *format;
        return renderOne(context, library, index, settings, output, scratch) ? 0 : 1;
    }

    // A whole library: one picture per slide into the output folder.
    settings.format = format.value_or(PictureFormat::Png);
    OutputNamer namer(makeOutputDirectory(output), extensionFor(settings.format));
    int failures = 0;
    for (std::size_t i = 0; i < library.slideCount(); ++i) {
        try {
            if (!renderOne(context, library, i, settings, namer.pathFor(shownName(context, library, i)), scratch))
                ++failures;
        } catch (const core::Error &e) {
            printError(oneLine(e.message()));
            ++failures;
        }
    }
    return failures ? 1 : 0;
}

} // namespace quarvel::cli
