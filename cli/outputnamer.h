#pragma once

// File names for slides written out (extract, render of a whole library), in
// a folder: the rule of core filenames.h (names made safe, "~2", "~3", ...
// for slides that would share a file).

#include "filenames.h"

#include <string>

namespace quarvel::cli {

class OutputNamer
{
public:
    // directory: UTF-8; extension with its dot.
    OutputNamer(std::string directory, std::string extension);

    // Full path (UTF-8) of the file for this slide name; unique within this namer.
    std::string pathFor(const std::string &slideName);

    static std::string safeFileName(const std::string &slideName);

private:
    std::string mDirectory;
    core::UniqueFileNames mNames;
};

// The folder to write into (UTF-8), made when missing; throws core::Error when
// it cannot be made or is a file.
std::string makeOutputDirectory(const std::string &path);

} // namespace quarvel::cli
