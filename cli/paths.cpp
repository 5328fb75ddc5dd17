#include "paths.h"

#include "fileio.h"

namespace quarvel::cli {

std::filesystem::path toPath(const std::string &utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string fromPath(const std::filesystem::path &path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string shownPath(const std::string &utf8)
{
    return core::displayPath(toPath(utf8));
}

std::string stemOf(const std::string &utf8)
{
    return fromPath(toPath(utf8).stem());
}

std::string extensionOf(const std::string &utf8)
{
    const std::string ext = fromPath(toPath(utf8).extension());
    return asciiLower(ext.empty() ? ext : ext.substr(1));
}

std::string asciiLower(std::string text)
{
    for (char &c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

} // namespace quarvel::cli
