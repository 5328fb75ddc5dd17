// quarvel-cli extract: slides of a library written out as .sld files, byte
// for byte as the library stores them.

#include "commands.h"
#include "console.h"
#include "libraryaccess.h"
#include "outputnamer.h"
#include "paths.h"

#include <vector>

namespace quarvel::cli {

int runExtract(const CommandContext &context, const Args &args)
{
    const ArgParser parser(args, {{"--output", "-o"}});
    parser.expectPositionals(1, -1, "LIBRARY");
    const core::Library library = openSlideFile(context, parser.positionals().front());

    // Every name is looked up before anything is written, so that a typo
    // does not leave half the requested slides behind.
    std::vector<std::size_t> wanted;
    for (const std::string &name : parser.positionalsFrom(1))
        wanted.push_back(requireSlide(context, library, name));
    if (parser.positionals().size() == 1) {
        for (std::size_t i = 0; i < library.slideCount(); ++i)
            wanted.push_back(i);
    }

    OutputNamer namer(makeOutputDirectory(parser.value("--output", ".")), ".sld");
    int failures = 0;
    for (const std::size_t index : wanted) {
        const std::string target = namer.pathFor(shownName(context, library, index));
        try {
            library.exportSlide(index, toPath(target));
        } catch (const core::Error &e) {
            // One damaged slide should not cost the others.
            printError(oneLine(e.message()));
            ++failures;
        }
    }
    return failures ? 1 : 0;
}

} // namespace quarvel::cli
