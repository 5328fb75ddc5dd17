// quarvel-cli make-slide: a slide from a text description (developer tool;
// it builds the bundled sample library).

#include "commands.h"
#include "output.h"
#include "paths.h"
#include "slidedescription.h"

#include "fileio.h"

namespace quarvel::cli {

int runMakeSlide(const CommandContext &, const Args &args)
{
    const ArgParser parser(args, {{"--output", "-o"}});
    parser.expectPositionals(1, 1, "DESC.txt");
    if (!parser.has("--output"))
        throw UsageError("missing -o OUT.sld");
    const std::string &source = parser.positionals().front();
    const std::string slide = slideFromDescription(core::readWholeFile(toPath(source)), shownPath(source));
    writeOutput(parser.value("--output"), [&](core::Sink &out) { out.write(slide.data(), slide.size()); },
                Durability::Synced);
    return 0;
}

} // namespace quarvel::cli
