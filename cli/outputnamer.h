#pragma once

// File names for slides written out (extract, render of a whole library):
// the slide name made safe for the file system, plus an extension. Path
// separators and the characters Windows refuses (< > : " | ? * and control
// characters) become "_", trailing dots and spaces are dropped, and reserved
// device names (CON, NUL, COM1, ...) get a leading "_". Two slides that would
// land on the same file in one run (libraries may hold names differing only
// in case, or names that become equal once made safe) get "~2", "~3", ...
// so that no slide silently overwrites another.

#include <set>
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
    std::string mExtension;
    std::set<std::string> mTaken;   // case-folded names already handed out
};

// The folder to write into (UTF-8), made when missing; throws core::Error when
// it cannot be made or is a file.
std::string makeOutputDirectory(const std::string &path);

} // namespace quarvel::cli
