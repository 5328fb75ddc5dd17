// The main window with a large library: from construction with the library
// on the command line to a visible, painted window (slide selection is timed
// on the view, in bench_render.cpp); the Open dialog on a folder of thousands
// of slides, from construction to a painted list of them. Needs an
// application object, so it has a main of its own.

#include "filelistpane.h"
#include "frmexplore.h"
#include "slideview.h"
#include "windowfixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>

#include <benchmark/benchmark.h>

namespace {

using namespace quarvel;

void BM_StartupWithLargeLibrary(benchmark::State &s)
{
    static bench::WindowFixture f(10000, 5000); // 10,000 slides of 5,000 bytes: 50 MB
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

// 5,000 slide files in one folder.
struct BigFolder
{
    BigFolder()
    {
        for (int i = 0; i < kSlides; ++i)
            bench::writeFile(dir.filePath(QStringLiteral("S%1.sld").arg(i, 5, 10, QLatin1Char('0'))), bench::smallSlide(1));
        state.SettingsFile = dir.filePath(QStringLiteral("Quarvel.ini"));
        state.LanguageCode = QStringLiteral("En");
    }
    static constexpr int kSlides = 5000;
    QTemporaryDir dir;
    AppState state;
    WidgetPrompts prompts;
};

// From construction to a painted dialog whose list holds every slide of the
// folder (file type 2), or none of them (file type 1: the filter shows
// nothing, yet the folder is read).
void BM_OpenDialogOnLargeFolder(benchmark::State &s)
{
    static BigFolder f;
    const int types = int(s.range(0));
    for (auto _ : s) {
        FrmExplore dialog(f.state, f.prompts);
        auto *files = dialog.findChild<FileListPane *>(QStringLiteral("ExplorerList1"));
        bool loaded = false;
        QObject::connect(&files->model(), &QFileSystemModel::directoryLoaded, [&loaded] { loaded = true; });
        dialog.setFileTypes(qint16(types));
        dialog.setCurrentDir(QDir::toNativeSeparators(f.dir.path()));
        dialog.setOperation(0);
        dialog.show();
        const QModelIndex root = files->currentView()->rootIndex();
        const int wanted = types == 2 ? BigFolder::kSlides : 0;
        // The model reads the folder in the background; the dialog is usable
        // once the list shows what the folder holds.
        QElapsedTimer waited;
        waited.start();
        while ((!loaded || files->model().rowCount(root) < wanted) && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        files->currentView()->viewport()->repaint();
        if (files->model().rowCount(root) < wanted)
            s.SkipWithError("the folder was not listed within 10 s");
        s.PauseTiming();
        dialog.close();
        s.ResumeTiming();
    }
}
BENCHMARK(BM_OpenDialogOnLargeFolder)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
