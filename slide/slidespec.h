#pragma once

// A slide specification names what a slide view shows: the path of a .sld
// file, or the path of a .slb file directly followed by "(", the slide name
// and ")", for example C:\Lib\Doors.slb(D1).

#include <QString>

#include <functional>

namespace quarvel {

struct SlideSpec
{
    QString file;        // the .sld or .slb path
    QString slideName;   // empty for a .sld
    bool inLibrary = false;
};

QString makeSlideSpec(const QString &libraryPath, const QString &slideName);

// Splits a specification. Folder and slide names may themselves hold
// parentheses, so every "(" that follows ".slb" (in any case) is a candidate;
// the first whose library exists (as told by fileExists) wins, else the first.
SlideSpec parseSlideSpec(const QString &spec,
                         const std::function<bool(const QString &)> &fileExists = {});

} // namespace quarvel
