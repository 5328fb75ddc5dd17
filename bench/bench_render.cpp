// Drawing speed in the view: a constructed 100,000-vector slide at 1000 x 700,
// and slide selection over a large library (the cost a user feels when
// walking a slide list with the arrow keys).

#include "benchdata.h"
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
#include <numbers>

using namespace quarvel;

namespace {

// Short vectors on the common 1875 x 830 drawing area, the way real slides
// hold them (strokes of text and curves): circles of 16 segments with radii
// of 2 to 40 pixels, in a few colours, the same at every run.
void BM_Render100kShortVectors(benchmark::State &state)
{
    constexpr int count = 100'000;
    quint32 seed = 12345;
    const auto next = [&seed](int bound) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<quint32>(bound));
    };
    SlideWriter w(1874, 829);
    for (int done = 0; done < count;) {
        w.color(1 + next(7));
        const int cx = 40 + next(1794), cy = 40 + next(749), r = 2 + next(39);
        for (int k = 0; k < 16 && done < count; ++k, ++done) {
            const double a0 = k * std::numbers::pi / 8, a1 = (k + 1) * std::numbers::pi / 8;
            w.vector(cx + int(std::lround(r * std::cos(a0))), cy + int(std::lround(r * std::sin(a0))),
                     cx + int(std::lround(r * std::cos(a1))), cy + int(std::lround(r * std::sin(a1))));
        }
    }
    SlideDrawing drawing;
    const SlideHeader header = decodeSlide(w.finish(), &drawing).header;
    // Drawn into palette rows, then put on the screen's image, as the view paints.
    QImage image(1000, 700, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.drawImage(0, 0, renderToImage(header, drawing, image.size(), Qt::black));
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["vectors"] = static_cast<double>(drawing.lines.size());
}
BENCHMARK(BM_Render100kShortVectors)->Unit(benchmark::kMillisecond);

// Selecting slide after slide of a 10,000-slide library of about 50 MB in
// the view until it is painted: each selection finds the slide by name (in
// another case), decodes and draws it.
void BM_ViewSelectInLargeLibrary(benchmark::State &state)
{
    static int argc = 1;
    static char name[] = "quarvel-bench", *argv[] = {name, nullptr};
    [[maybe_unused]] static const QApplication *app =
        (qputenv("QT_QPA_PLATFORM", "offscreen"), new QApplication(argc, argv));
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
        view.render(&screen);
        i = (i + 7919) % 10'000;
    }
    state.counters["libraryMB"] = static_cast<double>(QFileInfo(path).size()) / 1e6;
    if (!view.hasSlide())
        state.SkipWithError(view.lastError().toStdString().c_str());
}
BENCHMARK(BM_ViewSelectInLargeLibrary)->Unit(benchmark::kMicrosecond);

} // namespace
