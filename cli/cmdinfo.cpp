// quarvel-cli info: what a slide's header and records, or a library's
// directory, tell.

#include "commands.h"
#include "console.h"
#include "libraryaccess.h"
#include "paths.h"

#include <cinttypes>
#include <cstdio>
#include <map>
#include <system_error>
#include <vector>

namespace quarvel::cli {

namespace {

void fact(const char *key, const std::string &value)
{
    printLine(std::string(key) + ": " + value);
}

void fact(const char *key, std::int64_t value)
{
    fact(key, std::to_string(value));
}

const char *orderName(core::ByteOrder order)
{
    return order == core::ByteOrder::LowFirst ? "low byte first" : "high byte first";
}

std::string damageText(const core::DecodeResult &r)
{
    if (r.error.empty())
        return "none";
    return "byte " + std::to_string(r.errorOffset) + ": " + r.error;
}

const char *yesNo(bool value)
{
    return value ? "yes" : "no";
}

void printSlide(const core::Library &library, std::int64_t fileSize)
{
    const core::DecodeResult r = library.decode(0, nullptr);
    const core::SlideHeader &h = r.header;
    char text[64];
    fact("kind", "slide");
    fact("level", h.level);
    fact("byte order", orderName(h.order));
    fact("high x", h.highX);
    fact("high y", h.highY);
    std::snprintf(text, sizeof text, "%.7f", h.aspect);
    fact("aspect", text);
    if (h.level == 2)
        fact("aspect stored", static_cast<std::int64_t>(h.aspectRaw));
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(h.typeByte));
    fact("type byte", text);
    fact("hardware fill", h.hardwareFill);
    fact("header size", h.size);
    fact("file size", fileSize);
    fact("slide length", r.length);
    if (r.reachedEnd)
        fact("bytes after end", fileSize - r.length);
    const core::SlideStats &s = r.stats;
    fact("vectors", s.vectors);
    fact("offset vectors", s.offsetVectors);
    fact("common-endpoint vectors", s.commonEndpointVectors);
    fact("solid-fill records", s.fillRecords);
    fact("fill polygons", s.fillPolygons);
    fact("colour records", s.colorRecords);
    fact("distinct colours", s.distinctColors);
    fact("end record", yesNo(r.reachedEnd));
    fact("outside drawing area", yesNo(s.outsideArea));
    fact("damage", damageText(r));
}

void printLibrary(const CommandContext &context, const core::Library &library, std::int64_t fileSize)
{
    fact("kind", "slide library");
    fact("file size", fileSize);
    fact("name code page", context.codePage.number());
    fact("slides", static_cast<std::int64_t>(library.slideCount()));

    // Formats in use, and every slide that does not decode cleanly.
    std::map<std::string, int> formats;
    std::vector<std::string> damaged;
    for (std::size_t i = 0; i < library.slideCount(); ++i) {
        const std::string where = "\"" + shownName(context, library, i) + "\" (slide " + std::to_string(i) + "): ";
        try {
            const core::DecodeResult r = library.decode(i, nullptr);
            if (r.isSlide)
                ++formats["level " + std::to_string(r.header.level) + ", " + orderName(r.header.order)];
            if (!r.isSound())
                damaged.push_back(where + damageText(r));
        } catch (const core::Error &e) {
            damaged.push_back(where + e.reasonText());
        }
    }
    std::string formatText;
    for (const auto &[format, count] : formats)
        formatText += (formatText.empty() ? "" : "; ") + format + " x " + std::to_string(count);
    fact("formats", formatText.empty() ? std::string("none") : formatText);
    fact("directory problems", static_cast<std::int64_t>(library.problems().size()));
    for (const core::LibraryProblem &p : library.problems())
        fact("directory problem", oneLine("byte " + std::to_string(p.offset) + ": " + p.message()));
    fact("damaged slides", static_cast<std::int64_t>(damaged.size()));
    for (const std::string &line : damaged)
        fact("damaged slide", oneLine(line));
}

} // namespace

int runInfo(const CommandContext &context, const Args &args)
{
    const ArgParser parser(args, {});
    parser.expectPositionals(1, 1, "FILE");
    const std::string &path = parser.positionals().front();
    const core::Library library = openSlideFile(context, path);
    fact("file", oneLine(shownPath(path)));
    std::error_code ec;
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(toPath(path), ec));
    if (library.kind() == core::Library::Kind::Slide)
        printSlide(library, ec ? 0 : size);
    else
        printLibrary(context, library, ec ? 0 : size);
    return 0;
}

} // namespace quarvel::cli
