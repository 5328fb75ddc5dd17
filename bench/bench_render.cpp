// Drawing speed: a large constructed slide, every corpus slide, and slide
// selection in the view over a large library (the cost a user feels when
// walking a slide list with the arrow keys).

#include "benchdata.h"
#include "pngwriter.h"
#include "raster.h"
#include "renderer.h"
#include "slideview.h"
#include "slidewriter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>
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

// Small deterministic generator, so every run draws the same slide.
struct Lcg
{
    quint32 state = 12345;
    int next(int bound)
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<quint32>(bound));
    }
};

// Vectors the way real slides hold them: short strokes of text and curves,
// here circles of 16 segments with radii of 2 to 40 pixels on the common
// 1875 x 830 drawing area, in a few colours.
QByteArray shortVectorSlide(int vectors)
{
    SlideWriter w(1874, 829);
    Lcg rng;
    for (int done = 0; done < vectors;) {
        w.color(1 + rng.next(7));
        const int cx = 40 + rng.next(1794), cy = 40 + rng.next(749), r = 2 + rng.next(39);
        for (int k = 0; k < 16 && done < vectors; ++k, ++done) {
            const double a0 = k * std::numbers::pi / 8, a1 = (k + 1) * std::numbers::pi / 8;
            w.vector(cx + int(std::lround(r * std::cos(a0))), cy + int(std::lround(r * std::sin(a0))),
                     cx + int(std::lround(r * std::cos(a1))), cy + int(std::lround(r * std::sin(a1))));
        }
    }
    return w.finish();
}

// The worst case: chords right across the drawing area.
QByteArray longVectorSlide(int vectors)
{
    SlideWriter w(1874, 829);
    Lcg rng;
    w.color(7);
    for (int i = 0; i < vectors; ++i)
        w.vector(rng.next(1875), rng.next(830), rng.next(1875), rng.next(830));
    return w.finish();
}

// Areas tiled with small triangles, as AutoCAD writes filled text and hatches.
QByteArray triangleSlide(int triangles)
{
    SlideWriter w(1874, 829);
    Lcg rng;
    w.color(3);
    for (int i = 0; i < triangles; ++i) {
        const int x = rng.next(1860), y = 1 + rng.next(815);
        const Point tri[3] = {{x, y}, {x + 3 + rng.next(10), y}, {x, y + 3 + rng.next(10)}};
        w.fill(tri);
    }
    return w.finish();
}

void renderLoop(benchmark::State &state, const Decoded &d, QSize size)
{
    // As the view paints: drawn into palette rows, then put on the screen's image.
    QImage image(size, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.drawImage(0, 0, renderToImage(d.header, d.drawing, size, Qt::black));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["vectors"] = static_cast<double>(d.drawing.lines.size());
    state.counters["batches"] = static_cast<double>(d.drawing.batches.size());
}

void BM_Render100kShortVectors(benchmark::State &state)
{
    static const Decoded d = decodeBytes(shortVectorSlide(100'000));
    renderLoop(state, d, QSize(1000, 700));
}
BENCHMARK(BM_Render100kShortVectors)->Unit(benchmark::kMillisecond);

void BM_Render100kLongVectors(benchmark::State &state)
{
    static const Decoded d = decodeBytes(longVectorSlide(100'000));
    renderLoop(state, d, QSize(1000, 700));
}
BENCHMARK(BM_Render100kLongVectors)->Unit(benchmark::kMillisecond);

void BM_Render50kTriangles(benchmark::State &state)
{
    static const Decoded d = decodeBytes(triangleSlide(50'000));
    renderLoop(state, d, QSize(1000, 700));
}
BENCHMARK(BM_Render50kTriangles)->Unit(benchmark::kMillisecond);

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

void BM_CoreRaster100kShortVectors(benchmark::State &state)
{
    static const Decoded d = decodeBytes(shortVectorSlide(100'000));
    coreLoop(state, d, 1000, 700);
}
BENCHMARK(BM_CoreRaster100kShortVectors)->Unit(benchmark::kMillisecond);

void BM_CoreRaster100kLongVectors(benchmark::State &state)
{
    static const Decoded d = decodeBytes(longVectorSlide(100'000));
    coreLoop(state, d, 1000, 700);
}
BENCHMARK(BM_CoreRaster100kLongVectors)->Unit(benchmark::kMillisecond);

void BM_CoreRaster50kTriangles(benchmark::State &state)
{
    static const Decoded d = decodeBytes(triangleSlide(50'000));
    coreLoop(state, d, 1000, 700);
}
BENCHMARK(BM_CoreRaster50kTriangles)->Unit(benchmark::kMillisecond);

// Every corpus slide file at 800 x 600, one after another.
void BM_CoreRasterCorpusFiles(benchmark::State &state)
{
    static const std::vector<Decoded> slides = [] {
        std::vector<Decoded> v;
        const QDir dir(QStringLiteral(QUARVEL_CORPUS_DIR "/sld"));
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                v.push_back(decodeBytes(file.readAll()));
        }
        return v;
    }();
    std::vector<std::uint8_t> rows(800 * 600);
    std::vector<core::Rgb> palette;
    for (auto _ : state) {
        for (const Decoded &d : slides)
            core::drawSlide(d.header, d.drawing, {rows.data(), 800, 600, 800}, {0, 0, 800, 600}, {0, 0, 0},
                            palette);
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["slides"] = static_cast<double>(slides.size());
}
BENCHMARK(BM_CoreRasterCorpusFiles)->Unit(benchmark::kMillisecond);

// PNG writing of a drawn slide into memory: Arg 0 the 100,000-vector slide
// (seven colours: 4 bits per pixel) at 1000 x 700, Arg 1 a slide of one
// colour (1 bit per pixel) at 800 x 600.
void BM_CorePngWrite(benchmark::State &state)
{
    static const Decoded many = decodeBytes(shortVectorSlide(100'000));
    static const Decoded one = decodeBytes(longVectorSlide(2'000));
    const bool single = state.range(0) == 1;
    const core::PaletteImage image =
        single ? core::rasterize(one.header, one.drawing, 800, 600, {0, 0, 0})
               : core::rasterize(many.header, many.drawing, 1000, 700, {0, 0, 0});
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
    QImage image(1000, 700, QImage::Format_RGB32);
    for (auto _ : state) {
        for (const Decoded &d : slides) {
            QPainter painter(&image);
            painter.drawImage(0, 0, renderToImage(d.header, d.drawing, image.size(), Qt::black));
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["slides"] = static_cast<double>(slides.size());
}
BENCHMARK(BM_RenderCorpusAll)->Unit(benchmark::kMillisecond);

// Each corpus slide of more than 50 KB on its own.
const bool gLargeCorpusSlides = [] {
    const QDir dir(QStringLiteral(QUARVEL_CORPUS_DIR "/sld"));
    for (const QString &path : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(path));
        if (file.size() < 50'000 || !file.open(QIODevice::ReadOnly))
            continue;
        benchmark::RegisterBenchmark(("BM_RenderCorpus/" + path).toStdString().c_str(),
                                     [d = decodeBytes(file.readAll())](benchmark::State &state) {
                                         renderLoop(state, d, QSize(1000, 700));
                                     })
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

QApplication &application()
{
    static int argc = 1;
    static char name[] = "quarvel-bench";
    static char *argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QApplication>(argc, argv);
    }();
    return *app;
}

// Selecting slide after slide of a 10,000-slide library of about 50 MB in
// the view: each selection finds the slide by name (in another case) and
// decodes it; with Arg 1 the view also paints it, as the screen would.
void BM_ViewSelectInLargeLibrary(benchmark::State &state)
{
    application();
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath(QStringLiteral("large.slb"));
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly) || f.write(bench::generatedLibrary(10'000, 5'000)) < 0)
            return QString();
        return p;
    }();
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
