#pragma once

// Paths in quarvel-cli are UTF-8 strings as typed; they become
// std::filesystem paths only where a file is opened, so that on Windows
// backslashes, drive letters and any Unicode name work, and on Linux the
// bytes reach the system unchanged.

#include <filesystem>
#include <string>

namespace quarvel::cli {

std::filesystem::path toPath(const std::string &utf8);
std::string fromPath(const std::filesystem::path &path);

// The path as messages show it: native separators.
std::string shownPath(const std::string &utf8);

// File name without folder and extension ("dir/Door.sld" -> "Door").
std::string stemOf(const std::string &utf8);
// Extension without the dot, ASCII lower-cased ("X.PNG" -> "png").
std::string extensionOf(const std::string &utf8);

// ASCII letters lower-cased; other bytes unchanged.
std::string asciiLower(std::string text);

} // namespace quarvel::cli
