#include "slideexport.h"

#include "aci.h"
#include "slideerror.h"
#include "slidelibrary.h"

#include "core/atomicfile.h"
#include "core/dxfwriter.h"
#include "core/filenames.h"
#include "core/pngwriter.h"
#include "core/raster.h"
#include "core/svgwriter.h"

#include <QDir>

#include <filesystem>

namespace quarvel {

QString exportExtension(ExportChoice::Format format)
{
    switch (format) {
    case ExportChoice::Format::Sld: return QStringLiteral(".sld");
    case ExportChoice::Format::Wmf: return QStringLiteral(".wmf");
    case ExportChoice::Format::Png: return QStringLiteral(".png");
    case ExportChoice::Format::Svg: return QStringLiteral(".svg");
    case ExportChoice::Format::Dxf: break;
    }
    return QStringLiteral(".dxf");
}

bool exportIsPicture(ExportChoice::Format format)
{
    return format == ExportChoice::Format::Png || format == ExportChoice::Format::Svg;
}

QStringList exportPaths(const SlideLibrary &library, const QList<int> &rows, const ExportChoice &choice)
{
    core::UniqueFileNames names(exportExtension(choice.format).toStdString());
    const QDir folder(choice.folder);
    QStringList paths;
    paths.reserve(rows.size());
    for (int row : rows)
        paths << folder.filePath(QString::fromStdString(names.nameFor(library.slideName(row).toStdString())));
    return paths;
}

void exportSlide(const SlideLibrary &library, int row, const QString &path, const ExportChoice &choice)
{
    using Format = ExportChoice::Format;
    const bool white = choice.background == ExportChoice::Background::White;
    if (choice.format == Format::Sld) {
        library.exportToSld(path, row);
        return;
    }
    if (choice.format == Format::Wmf) {
        library.exportToWmf(path, row, white ? Qt::white : Qt::black);
        return;
    }
    SlideDrawing drawing;
    const DecodeResult decoded = library.decode(row, &drawing);
    if (!decoded.isSlide)
        throw SlideError(library.libraryFile(), QStringLiteral("slide %1 cannot be read").arg(library.slideName(row)));
    // A transparent background still decides how the slide's colours show:
    // as on the program's black view.
    const core::Rgb background = toCoreRgb(white ? QColor(Qt::white) : QColor(Qt::black));
    const bool transparent = choice.background == ExportChoice::Background::Transparent;
    const int width = std::max(1, choice.size.width());
    const int height = std::max(1, choice.size.height());
    try {
        core::AtomicFile file{std::filesystem::path(path.toStdU16String())};
        core::FileSink<core::AtomicFile> sink(file);
        if (choice.format == Format::Png)
            core::writePng(sink, core::rasterize(decoded.header, drawing, width, height, background), {transparent});
        else if (choice.format == Format::Svg)
            core::writeSvg(sink, decoded.header, drawing, width, height, background, {transparent});
        else
            core::writeDxf(sink, decoded.header, drawing);
        file.commit();
    } catch (const core::Error &e) {
        throw SlideError(e);
    } catch (const std::bad_alloc &) {
        throw SlideError(QDir::toNativeSeparators(path), QStringLiteral("not enough memory for a picture of %1 x %2")
                                                            .arg(width)
                                                            .arg(height));
    }
}

} // namespace quarvel
