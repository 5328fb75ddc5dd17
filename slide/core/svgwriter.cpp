#include "svgwriter.h"

#include "raster.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace quarvel::core {

namespace {

class SvgOut
{
public:
    explicit SvgOut(Sink &out) : mOut(out) {}

    SvgOut &operator<<(std::string_view text)
    {
        mOut.write(text);
        return *this;
    }
    // Two decimals are far below a pixel; trailing zeros are left out.
    SvgOut &operator<<(double v)
    {
        char buf[32];
        double r = std::round(v * 100) / 100;
        if (r == 0 || !std::isfinite(r))
            r = 0;
        const auto end = std::to_chars(buf, buf + sizeof buf, r).ptr;
        mOut.write(buf, static_cast<std::size_t>(end - buf));
        return *this;
    }
    SvgOut &operator<<(char c)
    {
        mOut.put(c);
        return *this;
    }
    SvgOut &operator<<(int v)
    {
        char buf[16];
        const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
        mOut.write(buf, static_cast<std::size_t>(end - buf));
        return *this;
    }
    SvgOut &operator<<(Rgb c)
    {
        char buf[8];
        std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
        mOut.write(buf, 7);
        return *this;
    }
    void flush() { mOut.flush(); }

private:
    BufferedSink mOut;
};

} // namespace

void writeSvg(Sink &sink, const SlideHeader &header, const SlideDrawing &drawing, int width, int height,
              Rgb background, const SvgOptions &options)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    SvgOut out(sink);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"0 0 " << width << ' ' << height << "\">\n";
    if (!options.transparentBackground)
        out << "<rect width=\"" << width << "\" height=\"" << height << "\" fill=\"" << background << "\"/>\n";
    const RectF area = slideRect(header, {0, 0, static_cast<double>(width), static_cast<double>(height)});
    if (!drawing.isEmpty() && area.width > 0 && area.height > 0) {
        const SlideMapping m = slideMapping(header, {0, 0, static_cast<double>(width), static_cast<double>(height)});
        const double clipX = std::floor(area.x);
        const double clipY = std::floor(area.y);
        out << "<defs><clipPath id=\"slide\"><rect x=\"" << clipX << "\" y=\"" << clipY << "\" width=\""
            << std::ceil(area.x + area.width) - clipX << "\" height=\"" << std::ceil(area.y + area.height) - clipY
            << "\"/></clipPath></defs>\n"
            << "<g clip-path=\"url(#slide)\" fill=\"none\" stroke-width=\"1\" stroke-linecap=\"square\" "
               "stroke-linejoin=\"round\" fill-rule=\"nonzero\">\n";
        const auto point = [&](const Point &p) { out << m.mapX(p.x) << ' ' << m.mapY(p.y); };
        const auto &batches = drawing.batches;
        for (std::size_t i = 0; i < batches.size(); ++i) {
            const SlideDrawing::Batch &b = batches[i];
            const Rgb colour = aciColorOn(b.color, background);
            if (b.kind == SlideDrawing::Kind::Lines) {
                // One path per batch; a vector that starts where the last
                // one ended continues it without a move.
                out << "<path stroke=\"" << colour << "\" d=\"";
                const Line *line = drawing.lines.data() + b.first;
                const Line *end = line + b.count;
                for (const Line *prev = nullptr; line != end; prev = line++) {
                    if (prev == nullptr || !(prev->b == line->a)) {
                        out << (prev ? " M" : "M");
                        point(line->a);
                    }
                    out << 'L';
                    point(line->b);
                }
                out << "\"/>\n";
                continue;
            }
            // Fills of one colour in a row share a group; each is a path
            // of its own, so that overlapping fills of opposite windings
            // never cancel.
            out << "<g fill=\"" << colour << "\" stroke=\"" << colour << "\">\n";
            for (; i < batches.size() && batches[i].kind == SlideDrawing::Kind::Polygon
                   && batches[i].color == b.color;
                 ++i) {
                const Point *p = drawing.points.data() + batches[i].first;
                out << "<path d=\"M";
                for (std::uint32_t k = 0; k < batches[i].count; ++k) {
                    if (k > 0)
                        out << 'L';
                    point(p[k]);
                }
                out << "Z\"/>\n";
            }
            out << "</g>\n";
            --i;
        }
        out << "</g>\n";
    }
    out << "</svg>\n";
    out.flush();
}

} // namespace quarvel::core
