#include "filetypeset.h"

namespace quarvel {

namespace {

struct Kind
{
    const char *entry;
    const char *filter;
    const char *extension;
};

const Kind kLibrary{"AutoCad Slide Library (*.slb)", "*.slb", ".slb"};
const Kind kSlide{"AutoCad Slide (*.sld)", "*.sld", ".sld"};
const Kind kMetafile{"Windows MetaFile (*.wmf)", "*.wmf", ".wmf"};
const Kind kDxf{"AutoCAD DXF (*.dxf)", "*.dxf", ".dxf"};

FileTypeSet setOf(std::initializer_list<Kind> kinds)
{
    FileTypeSet set;
    for (const Kind &k : kinds)
        set.entries << QString::fromLatin1(k.entry);
    set.filter = QString::fromLatin1(kinds.begin()->filter);
    set.defaultExtension = QString::fromLatin1(kinds.begin()->extension);
    return set;
}

} // namespace

std::optional<FileTypeSet> fileTypeSet(int code)
{
    switch (code) {
    case 1: return setOf({kLibrary});
    case 2: return setOf({kSlide});
    case 3: return setOf({kLibrary, kSlide});
    case 5: return setOf({kMetafile});
    case 6: return setOf({kDxf});
    default: return std::nullopt;
    }
}

FileTypeChoice fileTypeChoice(const QString &entry)
{
    // A metafile or DXF entry changes nothing: only code 5 or 6 offers it,
    // and that code has set its filter already.
    for (const auto &[kind, slideList] : {std::pair{kLibrary, true}, std::pair{kSlide, false}}) {
        if (entry == QLatin1String(kind.entry))
            return {QString::fromLatin1(kind.filter), QString::fromLatin1(kind.extension), slideList};
    }
    return {};
}

} // namespace quarvel
