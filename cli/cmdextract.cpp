// quarvel-cli extract: slides of a library written out as .sld files, byte
// for byte as the library stores them.

#include "argparser.h"
#include "commands.h"
#include "console.h"
#include "libraryaccess.h"
#include "outputnamer.h"
#include "slideerror.h"

#include <QDir>

#include <vector>

namespace quarvel::cli {

int runExtract(const CommandContext &context, const QStringList &args)
{
    const ArgParser parser(args, {{QStringLiteral("--output"), QStringLiteral("-o")}});
    parser.expectPositionals(1, -1, QStringLiteral("LIBRARY"));
    const SlideLibrary library = openSlideFile(context, parser.positionals().first());

    // Every name is looked up before anything is written, so that a typo
    // does not leave half the requested slides behind.
    std::vector<int> wanted;
    const QStringList names = parser.positionals().mid(1);
    for (const QString &name : names)
        wanted.push_back(requireSlide(library, name));
    if (names.isEmpty()) {
        for (int i = 0; i < library.slideCount(); ++i)
            wanted.push_back(i);
    }

    OutputNamer namer(makeOutputDirectory(parser.value(QStringLiteral("--output"), QStringLiteral("."))),
                      QStringLiteral(".sld"));
    int failures = 0;
    for (int index : wanted) {
        const QString target = namer.pathFor(library.slideName(index));
        try {
            library.exportToSld(target, index);
        } catch (const SlideError &e) {
            // One damaged slide should not cost the others.
            printError(e.message());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}

} // namespace quarvel::cli
