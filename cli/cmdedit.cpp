// quarvel-cli create, add, delete and rename: library edits. Every change is
// made in memory first and the library is written once, atomically and under
// the edit lock, at the end, so a failure halfway leaves the file as it was
// and two edits at once never lose one another.

#include "commands.h"
#include "libraryaccess.h"
#include "paths.h"

namespace quarvel::cli {

namespace {
const char *secondMissing(const ArgParser &parser, const char *what)
{
    return parser.positionals().empty() ? "LIBRARY" : what;
}
} // namespace

int runCreate(const CommandContext &context, const Args &args)
{
    const ArgParser parser(args, {});
    parser.expectPositionals(2, -1, secondMissing(parser, "SLIDE.sld"));
    const std::string &target = parser.positionals().front();
    core::Library library;
    const core::NameCodePage &codePage = context.codePage;
    library.setSameName([&codePage](std::string_view a, std::string_view b) { return codePage.sameName(a, b); });
    for (const std::string &slide : parser.positionalsFrom(1)) {
        std::string name = nameForSlideFile(context, slide);
        if (const auto existing = library.indexOf(name)) {
            throw core::Error(shownPath(slide), core::Reason::NameTaken, codePage.decode(library.name(*existing)));
        }
        library.add(std::move(name), toPath(slide));
    }
    library.save(toPath(target));
    return 0;
}

int runAdd(const CommandContext &context, const Args &args)
{
    const ArgParser parser(args, {});
    parser.expectPositionals(2, -1, secondMissing(parser, "SLIDE.sld"));
    const std::string &path = parser.positionals().front();
    core::Library library = openLibraryForEdit(context, path);
    for (const std::string &slide : parser.positionalsFrom(1)) {
        std::string name = nameForSlideFile(context, slide);
        if (const auto existing = library.indexOf(name))
            library.replace(*existing, toPath(slide));
        else
            library.add(std::move(name), toPath(slide));
    }
    library.save(toPath(path));
    return 0;
}

int runDelete(const CommandContext &context, const Args &args)
{
    const ArgParser parser(args, {});
    parser.expectPositionals(2, -1, secondMissing(parser, "NAME"));
    const std::string &path = parser.positionals().front();
    core::Library library = openLibraryForEdit(context, path);
    for (const std::string &name : parser.positionalsFrom(1))
        library.remove(requireSlide(context, library, name));
    library.save(toPath(path));
    return 0;
}

int runRename(const CommandContext &context, const Args &args)
{
    const ArgParser parser(args, {});
    parser.expectPositionals(3, 3, parser.positionals().empty()       ? "LIBRARY"
                                   : parser.positionals().size() == 1 ? "OLD"
                                                                      : "NEW");
    const std::string &path = parser.positionals()[0];
    core::Library library = openLibraryForEdit(context, path);
    const std::size_t index = requireSlide(context, library, parser.positionals()[1]);
    std::string newName;
    try {
        newName = context.codePage.encodeNew(parser.positionals()[2]);
        library.rename(index, std::move(newName));
    } catch (const core::Error &e) {
        throw naming(e, path);
    }
    library.save(toPath(path));
    return 0;
}

} // namespace quarvel::cli
