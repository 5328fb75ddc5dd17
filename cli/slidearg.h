#pragma once

// A slide given on the command line: the path of a .sld file, or the path of
// a library directly followed by "(", the slide name and ")", for example
// Doors.slb(D1). Folder and slide names may themselves hold parentheses, so
// every "(" that follows ".slb" (in any case) is a candidate; the first whose
// library exists as a file wins, else the first.

#include <string>

namespace quarvel::cli {

struct SlideArg
{
    std::string file;        // the .sld or .slb path
    std::string slideName;   // empty for a .sld
    bool inLibrary = false;
};

SlideArg parseSlideArg(const std::string &spec);

} // namespace quarvel::cli
