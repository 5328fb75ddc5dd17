#include "libraryaccess.h"

#include "argparser.h"
#include "slideerror.h"

#include <QDir>

namespace quarvel::cli {

SlideLibrary openSlideFile(const CommandContext &context, const QString &path)
{
    SlideLibrary library(context.codec);
    library.setLibraryFile(path);
    if (library.kind() == SlideLibrary::Kind::None)
        throw CliFailure(library.loadError());
    return library;
}

SlideLibrary openLibraryForEdit(const CommandContext &context, const QString &path)
{
    SlideLibrary library = openSlideFile(context, path);
    if (library.kind() != SlideLibrary::Kind::Library)
        throw SlideError(QDir::toNativeSeparators(path), QStringLiteral("not a slide library (a single slide)"));
    return library;
}

int requireSlide(const SlideLibrary &library, const QString &name)
{
    const int index = library.indexOf(name);
    if (index < 0) {
        throw SlideError(QDir::toNativeSeparators(library.libraryFile()),
                         QStringLiteral("there is no slide named \"%1\"").arg(name));
    }
    return index;
}

} // namespace quarvel::cli
