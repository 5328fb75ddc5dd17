#include "renderer.h"

#include "aci.h"
#include "raster.h"
#include "svgwriter.h"

#include <new>

namespace quarvel {

namespace {
core::RectF toCore(const QRectF &r) { return {r.x(), r.y(), r.width(), r.height()}; }
} // namespace

QRectF slideRect(const SlideHeader &header, const QRectF &target)
{
    const core::RectF r = core::slideRect(header, toCore(target));
    return {r.x, r.y, r.width, r.height};
}

QTransform slideTransform(const SlideHeader &header, const QRectF &target)
{
    const core::SlideMapping m = core::slideMapping(header, toCore(target));
    return {m.sx, 0, 0, m.sy, m.dx, m.dy};
}

QImage renderToImage(const SlideHeader &header, const SlideDrawing &drawing, QSize size, QColor background)
{
    return renderToImage(header, drawing, size, background, QRectF(QPointF(0, 0), QSizeF(size)));
}

QImage renderToImage(const SlideHeader &header, const SlideDrawing &drawing, QSize size, QColor background,
                     const QRectF &target)
{
    if (size.isEmpty())
        return {};
    try {
        QImage image(size, QImage::Format_Indexed8);
        if (image.isNull())
            return image;
        std::vector<core::Rgb> palette;
        core::drawSlide(header, drawing, {image.bits(), image.width(), image.height(), image.bytesPerLine()},
                        {target.x(), target.y(), target.width(), target.height()}, toCoreRgb(background), palette);
        QList<QRgb> table;
        table.reserve(static_cast<qsizetype>(palette.size()));
        for (const core::Rgb &c : palette)
            table.append(toQRgb(c));
        image.setColorTable(table);
        return image;
    } catch (const std::bad_alloc &) {
        return {};
    }
}

QByteArray renderToSvg(const SlideHeader &header, const SlideDrawing &drawing, QSize size, QColor background)
{
    try {
        std::string out;
        core::StringSink sink(out);
        core::writeSvg(sink, header, drawing, size.width(), size.height(), toCoreRgb(background));
        return QByteArray::fromStdString(out);
    } catch (const std::bad_alloc &) {
        return {};
    }
}

} // namespace quarvel
