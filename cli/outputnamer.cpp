#include "outputnamer.h"

#include "paths.h"

#include "coreerror.h"
#include "namecodepage.h"

#include <system_error>

namespace quarvel::cli {

OutputNamer::OutputNamer(std::string directory, std::string extension)
    : mDirectory(std::move(directory)), mNames(std::move(extension))
{
}

std::string OutputNamer::safeFileName(const std::string &slideName)
{
    return core::safeFileName(slideName);
}

std::string OutputNamer::pathFor(const std::string &slideName)
{
    return fromPath(toPath(mDirectory) / toPath(mNames.nameFor(slideName)));
}

std::string makeOutputDirectory(const std::string &path)
{
    std::error_code ec;
    const std::filesystem::path dir = toPath(path);
    if (std::filesystem::is_directory(dir, ec))
        return path;
    std::filesystem::create_directories(dir, ec);
    if (ec || !std::filesystem::is_directory(dir)) {
        core::Error error(shownPath(path), core::Reason::Other, "cannot create the folder");
        throw error;
    }
    return path;
}

} // namespace quarvel::cli
