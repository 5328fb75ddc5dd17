// quarvel-cli create, add and delete: library edits. Every change is made in
// memory first and the library is written once, atomically, at the end, so
// a failure halfway leaves the file as it was.

#include "argparser.h"
#include "commands.h"
#include "libraryaccess.h"
#include "slideerror.h"

#include <QDir>

namespace quarvel::cli {

int runCreate(const CommandContext &context, const QStringList &args)
{
    const ArgParser parser(args, {});
    parser.expectPositionals(2, -1, parser.positionals().isEmpty() ? QStringLiteral("LIBRARY")
                                                                   : QStringLiteral("SLIDE.sld"));
    const QString target = parser.positionals().first();
    SlideLibrary library(context.codec);
    for (const QString &slide : parser.positionals().mid(1)) {
        const QString name = SlideLibrary::nameFromPath(slide);
        const int existing = library.indexOf(name);
        if (existing >= 0) {
            throw SlideError(QDir::toNativeSeparators(slide),
                             QStringLiteral("a slide named \"%1\" is already in the library (two slides cannot share a name)")
                                 .arg(library.slideName(existing)));
        }
        library.addSlideFile(slide, name);
    }
    library.saveLibrary(target);
    return 0;
}

int runAdd(const CommandContext &context, const QStringList &args)
{
    const ArgParser parser(args, {});
    parser.expectPositionals(2, -1, parser.positionals().isEmpty() ? QStringLiteral("LIBRARY")
                                                                   : QStringLiteral("SLIDE.sld"));
    const QString path = parser.positionals().first();
    SlideLibrary library = openLibraryForEdit(context, path);
    for (const QString &slide : parser.positionals().mid(1)) {
        const int existing = library.indexOf(SlideLibrary::nameFromPath(slide));
        if (existing >= 0)
            library.replaceSlide(existing, slide);
        else
            library.addSlideFile(slide);
    }
    library.saveLibrary(path);
    return 0;
}

int runDelete(const CommandContext &context, const QStringList &args)
{
    const ArgParser parser(args, {});
    parser.expectPositionals(2, -1, parser.positionals().isEmpty() ? QStringLiteral("LIBRARY")
                                                                   : QStringLiteral("NAME"));
    const QString path = parser.positionals().first();
    SlideLibrary library = openLibraryForEdit(context, path);
    for (const QString &name : parser.positionals().mid(1))
        library.deleteSlide(requireSlide(library, name));
    library.saveLibrary(path);
    return 0;
}

} // namespace quarvel::cli
