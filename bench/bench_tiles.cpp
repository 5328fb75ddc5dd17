// The tile view and the name filter of the main window on a library of
// 10,000 slides: the tile view switched on until its first screen is painted
// with every thumbnail drawn; one screen of scrolling (the frame on the
// window's thread, thumbnails still to come); one keystroke in the filter.

#include "benchdata.h"
#include "mainwindow.h"
#include "maindialogs.h"
#include "prompts.h"
#include "slidefilter.h"
#include "tileview.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace quarvel;

struct TilesFixture
{
    TilesFixture()
    {
        QFile file(dir.filePath(QStringLiteral("tiles.slb")));
        file.open(QIODevice::WriteOnly);
        file.write(bench::generatedLibrary(10000, 2000));
        file.close();
        state.ProgramFolder = dir.path();
        state.SettingsFile = dir.filePath(QStringLiteral("Quarvel.ini"));
        state.StartFolder = dir.path();
        state.StartFile = QStringLiteral("tiles.slb");
    }
    std::unique_ptr<MainWindow> window()
    {
        auto w = std::make_unique<MainWindow>(state, prompts, dialogs);
        w->resize(1000, 700);
        w->show();
        QCoreApplication::processEvents();
        return w;
    }
    QTemporaryDir dir;
    AppState state;
    WidgetPrompts prompts;
    BasicDialogs dialogs{state, nullptr};
};

TilesFixture &fixture()
{
    static TilesFixture f;
    return f;
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
        auto w = fixture().window();
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
    auto w = fixture().window();
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
    auto w = fixture().window();
    const QStringList texts = {QStringLiteral("S"), QStringLiteral("S0"), QStringLiteral("S00"), QStringLiteral("S001"),
                               QStringLiteral("S00"), QStringLiteral("S0")};
    int i = 0;
    for (auto _ : s) {
        w->filterBar()->edit()->setText(texts[i++ % texts.size()]);
        QCoreApplication::processEvents();
        w->slideList()->viewport()->repaint();
    }
}
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);

} // namespace
