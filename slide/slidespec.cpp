#include "slidespec.h"

#include <QFileInfo>

namespace quarvel {

QString makeSlideSpec(const QString &libraryPath, const QString &slideName)
{
    return libraryPath + QLatin1Char('(') + slideName + QLatin1Char(')');
}

SlideSpec parseSlideSpec(const QString &spec, const std::function<bool(const QString &)> &fileExists)
{
    SlideSpec plain{spec, {}, false};
    if (!spec.endsWith(QLatin1Char(')')))
        return plain;
    auto exists = fileExists ? fileExists : [](const QString &p) { return QFileInfo(p).isFile(); };
    SlideSpec first;
    bool haveFirst = false;
    const QLatin1String ext(".slb(");
    for (qsizetype at = spec.indexOf(ext, 0, Qt::CaseInsensitive); at >= 0;
         at = spec.indexOf(ext, at + 1, Qt::CaseInsensitive)) {
        SlideSpec candidate{spec.left(at + 4), spec.mid(at + 5, spec.size() - at - 6), true};
        if (exists(candidate.file))
            return candidate;
        if (!haveFirst) {
            first = candidate;
            haveFirst = true;
        }
    }
    return haveFirst ? first : plain;
}

} // namespace quarvel
