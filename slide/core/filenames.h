#pragma once

// File names for slides written out as files of their own: the slide name
// (UTF-8) made safe for every file system, plus an extension. Path
// separators and the characters Windows refuses (< > : " | ? * and control
// characters) become "_", trailing dots and spaces are dropped, and reserved
// device names (CON, NUL, COM1, ...) get a leading "_". Two slides that would
// land on the same file in one run (libraries may hold names differing only
// in case, or names that become equal once made safe) get "~2", "~3", ...
// so that no slide silently overwrites another.

#include <set>
#include <string>

namespace quarvel::core {

std::string safeFileName(const std::string &slideName);

class UniqueFileNames
{
public:
    // extension with its dot.
    explicit UniqueFileNames(std::string extension);

    // The file name (no folder) for this slide name; unique, without regard
    // to case, among the names this object has handed out.
    std::string nameFor(const std::string &slideName);

private:
    std::string mExtension;
    std::set<std::string> mTaken;   // case-folded names already handed out
};

} // namespace quarvel::core
