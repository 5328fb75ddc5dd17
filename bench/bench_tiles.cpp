// The tile view and the name filter of the main window on a library of
// 10,000 slides: the tile view switched on until its first screen is painted
// with every thumbnail drawn; one screen of scrolling (the frame on the
// window's thread, thumbnails still to come); one keystroke in the filter.

#include "slidefilter.h"
#include "tileview.h"
#include "windowfixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>

#include <benchmark/benchmark.h>

namespace {

using namespace quarvel;

// 10,000 slides of 2,000 bytes, in a 1000 x 700 window.
std::unique_ptr<MainWindow> window()
{
    static bench::WindowFixture f(10000, 2000);
    return f.window(QSize(1000, 700));
}

void paintTiles(MainWindow &w)
{
    QCoreApplication::processEvents();
    w.tileView()->viewport()->repaint();
}

void BM_TileViewFirstScreen(benchmark::State &s)
{
    for (auto _ : s) {
        s.PauseTiming();
        auto w = window();
        s.ResumeTiming();
        w->setTilesShown(true);
        paintTiles(*w);
        w->tileView()->thumbnails().waitForIdle();
        paintTiles(*w);
        s.PauseTiming();
        w.reset();
        s.ResumeTiming();
    }
}
BENCHMARK(BM_TileViewFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(5);

// One frame on the window's thread after scrolling by a screen; the
// thumbnails of the new screen are drawn by the workers meanwhile.
void BM_TileViewScrollOneScreen(benchmark::State &s)
{
    auto w = window();
    w->setTilesShown(true);
    paintTiles(*w);
    QScrollBar *bar = w->tileView()->verticalScrollBar();
    for (auto _ : s) {
        bar->setValue(bar->value() + bar->pageStep() >= bar->maximum() ? 0 : bar->value() + bar->pageStep());
        paintTiles(*w);
    }
    w->tileView()->thumbnails().waitForIdle();
}
BENCHMARK(BM_TileViewScrollOneScreen)->Unit(benchmark::kMillisecond);

// One keystroke: the names narrowed (or widened again) and laid out anew.
void BM_FilterKeystroke(benchmark::State &s)
{
    auto w = window();
    const QStringList texts = {"S", "S0", "S00", "S001", "S00", "S0"};
    int i = 0;
    for (auto _ : s) {
        w->filterBar()->edit()->setText(texts[i++ % texts.size()]);
        QCoreApplication::processEvents();
        w->slideList()->viewport()->repaint();
    }
}
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);

} // namespace
