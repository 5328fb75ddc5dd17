// Drawing speed: large constructed slides, every corpus slide, and slide
// selection in the view over a large library (the cost a user feels when
// walking a slide list with the arrow keys).

#include "benchdata.h"
#include "pngwriter.h"
#include "raster.h"
#include "renderer.h"
#include "slideview.h"
#include "slidewriter.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <numbers>
#include <span>
#include <string>
#include <vector>

using namespace quarvel;

namespace {

struct Decoded
{
    SlideHeader header;
    SlideDrawing drawing;
};

Decoded decodeBytes(const QByteArray &bytes)
{
    Decoded d;
    d.header = decodeSlide(bytes, &d.drawing).header;
    return d;
}

// Constructed slides on the common 1875 x 830 drawing area, the same at every
// run: short vectors the way real slides hold them (strokes of text and
// curves, here circles of 16 segments with radii of 2 to 40 pixels, in a few
// colours); chords right across the area (the worst case); small triangles
// tiling areas, as AutoCAD writes filled text and hatches.
enum Kind { ShortVectors, LongVectors, Triangles };

const Decoded &constructed(Kind kind, int count)
{
    static std::map<std::pair<Kind, int>, Decoded> made;
    if (const auto it = made.find({kind, count}); it != made.end())
        return it->second;
    quint32 seed = 12345;
    const auto next = [&seed](int bound) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<quint32>(bound));
    };
    SlideWriter w(1874, 829);
    if (kind == ShortVectors) {
        for (int done = 0; done < count;) {
            w.color(1 + next(7));
            const int cx = 40 + next(1794), cy = 40 + next(749), r = 2 + next(39);
            for (int k = 0; k < 16 && done < count; ++k, ++done) {
                const double a0 = k * std::numbers::pi / 8, a1 = (k + 1) * std::numbers::pi / 8;
                w.vector(cx + int(std::lround(r * std::cos(a0))), cy + int(std::lround(r * std::sin(a0))),
                         cx + int(std::lround(r * std::cos(a1))), cy + int(std::lround(r * std::sin(a1))));
            }
        }
    } else if (kind == LongVectors) {
        w.color(7);
        for (int i = 0; i < count; ++i)
            w.vector(next(1875), next(830), next(1875), next(830));
    } else {
        w.color(3);
        for (int i = 0; i < count; ++i) {
            const int x = next(1860), y = 1 + next(815);
            const Point tri[3] = {{x, y}, {x + 3 + next(10), y}, {x, y + 3 + next(10)}};
            w.fill(tri);
        }
    }
    return made.emplace(std::pair{kind, count}, decodeBytes(w.finish())).first->second;
}

// Each slide in turn, as the view paints: drawn into palette rows, then put
// on the screen's image.
void renderLoop(benchmark::State &state, std::span<const Decoded> slides, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    double vectors = 0, batches = 0;
    for (const Decoded &d : slides) {
        vectors += d.drawing.lines.size();
        batches += d.drawing.batches.size();
    }
    for (auto _ : state) {
        for (const Decoded &d : slides) {
            QPainter painter(&image);
            painter.drawImage(0, 0, renderToImage(d.header, d.drawing, size, Qt::black));
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["vectors"] = vectors;
    state.counters["batches"] = batches;
}

// The core rasteriser alone, into palette rows: what quarvel-cli and the
// view draw with, without the painter that puts the image on screen.
void coreLoop(benchmark::State &state, const Decoded &d, int width, int height)
{
    std::vector<std::uint8_t> rows(std::size_t(width) * height);
    std::vector<core::Rgb> palette;
    for (auto _ : state) {
        core::drawSlide(d.header, d.drawing, {rows.data(), width, height, width},
                        {0, 0, double(width), double(height)}, {0, 0, 0}, palette);
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["vectors"] = static_cast<double>(d.drawing.lines.size());
}

// BM_Render100kShortVectors ... BM_CoreRaster50kTriangles, at 1000 x 700.
const bool gConstructedSlides = [] {
    const struct { const char *name; Kind kind; int count; } slides[] = {
        {"100kShortVectors", ShortVectors, 100'000}, {"100kLongVectors", LongVectors, 100'000},
        {"50kTriangles", Triangles, 50'000}};
    for (const bool core : {false, true}) {
        for (const auto &s : slides) {
            const std::string name = (core ? "BM_CoreRaster" : "BM_Render") + std::string(s.name);
            benchmark::RegisterBenchmark(name.c_str(), [s, core](benchmark::State &state) {
                const Decoded &d = constructed(s.kind, s.count);
                core ? coreLoop(state, d, 1000, 700) : renderLoop(state, {&d, 1}, QSize(1000, 700));
            })->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

// PNG writing of a drawn slide into memory: Arg 0 the 100,000-vector slide
// (seven colours: 4 bits per pixel) at 1000 x 700, Arg 1 a slide of one
// colour (1 bit per pixel) at 800 x 600.
void BM_CorePngWrite(benchmark::State &state)
{
    const bool single = state.range(0) == 1;
    const Decoded &d = single ? constructed(LongVectors, 2'000) : constructed(ShortVectors, 100'000);
    const core::PaletteImage image = core::rasterize(d.header, d.drawing, single ? 800 : 1000, single ? 600 : 700, {0, 0, 0});
    std::string out;
    for (auto _ : state) {
        out.clear();
        core::StringSink sink(out);
        core::writePng(sink, image);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = static_cast<double>(out.size());
}
BENCHMARK(BM_CorePngWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Every corpus slide (files and library members), one after another, at the
// view's usual size.
void BM_RenderCorpusAll(benchmark::State &state)
{
    static const std::vector<Decoded> slides = [] {
        std::vector<Decoded> v;
        for (const QByteArray &bytes : bench::corpusSlides())
            v.push_back(decodeBytes(bytes));
        return v;
    }();
    renderLoop(state, slides, QSize(1000, 700));
    state.counters["slides"] = static_cast<double>(slides.size());
}
BENCHMARK(BM_RenderCorpusAll)->Unit(benchmark::kMillisecond);

// Selecting slide after slide of a 10,000-slide library of about 50 MB in
// the view: each selection finds the slide by name (in another case) and
// decodes it; with Arg 1 the view also paints it, as the screen would.
void BM_ViewSelectInLargeLibrary(benchmark::State &state)
{
    static int argc = 1;
    static char name[] = "quarvel-bench", *argv[] = {name, nullptr};
    [[maybe_unused]] static const QApplication *app = (qputenv("QT_QPA_PLATFORM", "offscreen"), new QApplication(argc, argv));
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("large.slb"));
    if (!QFileInfo::exists(path))
        bench::writeFile(path, bench::generatedLibrary(10'000, 5'000));
    SlideView view;
    view.resize(1000, 700);
    QImage screen(view.size(), QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        view.setSlideFile(path + QStringLiteral("(s%1)").arg(i + 1, 5, 10, QLatin1Char('0')));
        if (state.range(0))
            view.render(&screen);
        i = (i + 7919) % 10'000;
    }
    state.counters["libraryMB"] = static_cast<double>(QFileInfo(path).size()) / 1e6;
    if (!view.hasSlide())
        state.SkipWithError(view.lastError().toStdString().c_str());
}
BENCHMARK(BM_ViewSelectInLargeLibrary)->ArgName("paint")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
