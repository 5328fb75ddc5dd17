// The main window with a large library: from construction with the library
// on the command line to a visible, painted window, and one slide selection
// with its repaint. Needs an application object, so it has a main of its own.

#include "benchdata.h"
#include "mainwindow.h"
#include "maindialogs.h"
#include "prompts.h"
#include "slideview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace quarvel;

struct WindowFixture
{
    WindowFixture()
    {
        QFile file(dir.filePath(QStringLiteral("big.slb")));
        file.open(QIODevice::WriteOnly);
        file.write(bench::generatedLibrary(10000, 5000));
        file.close();
        state.ProgramFolder = dir.path();
        state.SettingsFile = dir.filePath(QStringLiteral("Quarvel.ini"));
        state.StartFolder = dir.path();
        state.StartFile = QStringLiteral("big.slb");
    }
    QTemporaryDir dir;
    AppState state;
    WidgetPrompts prompts;
    BasicDialogs dialogs{state, nullptr};
};

WindowFixture &fixture()
{
    static WindowFixture f;
    return f;
}

void BM_StartupWithLargeLibrary(benchmark::State &s)
{
    WindowFixture &f = fixture();
    for (auto _ : s) {
        MainWindow window(f.state, f.prompts, f.dialogs);
        window.show();
        window.slideView()->repaint();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.slideList()->count());
        s.PauseTiming();
        window.close();
        s.ResumeTiming();
    }
}
BENCHMARK(BM_StartupWithLargeLibrary)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SelectSlideInLargeList(benchmark::State &s)
{
    WindowFixture &f = fixture();
    MainWindow window(f.state, f.prompts, f.dialogs);
    window.show();
    QCoreApplication::processEvents();
    int row = 0;
    for (auto _ : s) {
        row = (row + 997) % window.slideList()->count();
        window.slideList()->setCurrentRow(row);
        window.slideView()->repaint();
    }
}
BENCHMARK(BM_SelectSlideInLargeList)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
