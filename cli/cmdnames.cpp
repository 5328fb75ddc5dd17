// quarvel-cli names: the slide names of a library, in library order.

#include "argparser.h"
#include "commands.h"
#include "console.h"
#include "libraryaccess.h"

namespace quarvel::cli {

int runNames(const CommandContext &context, const QStringList &args)
{
    const ArgParser parser(args, {});
    parser.expectPositionals(1, 1, QStringLiteral("LIBRARY"));
    const SlideLibrary library = openSlideFile(context, parser.positionals().first());
    for (int i = 0; i < library.slideCount(); ++i)
        printLine(library.slideName(i));
    return 0;
}

} // namespace quarvel::cli
