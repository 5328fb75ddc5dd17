// quarvel-cli names: the slide names of a library, in library order.

#include "commands.h"
#include "libraryaccess.h"

#include <cstdio>

namespace quarvel::cli {

int runNames(const CommandContext &context, const Args &args)
{
    const ArgParser parser(args, {});
    parser.expectPositionals(1, 1, "LIBRARY");
    const core::Library library = openSlideFile(context, parser.positionals().front());
    // One buffered write for the lot: a library may hold thousands of names.
    std::string out;
    for (std::size_t i = 0; i < library.slideCount(); ++i) {
        out += shownName(context, library, i);
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

} // namespace quarvel::cli
