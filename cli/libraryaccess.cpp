#include "libraryaccess.h"

#include "paths.h"

#include <system_error>

namespace quarvel::cli {

namespace {

void refuseFolder(const std::string &path)
{
    std::error_code ec;
    if (std::filesystem::is_directory(toPath(path), ec))
        throw core::Error(shownPath(path), core::Reason::CannotRead, "it is a folder");
}

} // namespace

core::Error naming(const core::Error &error, const std::string &file)
{
    core::Error named(shownPath(file), error.reason(), error.detail(), error.offset());
    named.withSysError(error.sysError())
        .withName(error.name())
        .withNumber(error.number())
        .withDamage(error.damage(), error.damageValue());
    return named;
}

core::Library openSlideFile(const CommandContext &context, const std::string &path)
{
    refuseFolder(path);
    core::Library library = core::Library::open(toPath(path));
    const core::NameCodePage &codePage = context.codePage;
    library.setSameName([&codePage](std::string_view a, std::string_view b) { return codePage.sameName(a, b); });
    return library;
}

core::Library openLibraryForEdit(const CommandContext &context, const std::string &path)
{
    refuseFolder(path);
    core::Library library = core::Library::openForEdit(toPath(path));
    if (library.kind() != core::Library::Kind::Library)
        throw core::Error(shownPath(path), core::Reason::Other, "not a slide library (a single slide)");
    const core::NameCodePage &codePage = context.codePage;
    library.setSameName([&codePage](std::string_view a, std::string_view b) { return codePage.sameName(a, b); });
    return library;
}

std::string shownName(const CommandContext &context, const core::Library &library, std::size_t index)
{
    if (library.kind() == core::Library::Kind::Slide)
        return core::NameCodePage::escapeForDisplay(stemOf(fromPath(library.file())));
    return context.codePage.decode(library.name(index));
}

std::size_t requireSlide(const CommandContext &context, const core::Library &library, const std::string &typed)
{
    for (std::size_t i = 0; i < library.slideCount(); ++i) {
        if (library.kind() == core::Library::Kind::Slide
                ? core::NameCodePage::sameText(stemOf(fromPath(library.file())), typed)
                : context.codePage.matches(library.name(i), typed))
            return i;
    }
    if (typed.empty())   // the error's wording would name a slide number instead
        throw core::Error(core::displayPath(library.file()), core::Reason::Other, "there is no slide \"\"");
    throw core::Error(core::displayPath(library.file()), core::Reason::NoSuchSlide)
        .withName(core::NameCodePage::escapeForDisplay(typed));
}

std::string nameForSlideFile(const CommandContext &context, const std::string &slidePath)
{
    try {
        return context.codePage.encodeNew(stemOf(slidePath));
    } catch (const core::Error &e) {
        throw naming(e, slidePath);
    }
}

} // namespace quarvel::cli
