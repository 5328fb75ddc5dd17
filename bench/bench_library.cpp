// Library operations on 10,000-slide libraries: opening one and reading
// every name (small slides, 1.7 MB, and the 50 MB library), and on the 50 MB
// one the edit-and-save round of adding or deleting one slide, as the program
// and quarvel-cli do them (open, change, save).

#include "benchdata.h"
#include "slidelibrary.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace quarvel;

namespace {

constexpr int kSlides = 10000;

struct BigLibrary
{
    explicit BigLibrary(int slideBytes)
    {
        bench::writeFile(path, bench::generatedLibrary(kSlides, slideBytes));
        bench::writeFile(slide, bench::smallSlide(3));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.slb"));
    const QString slide = dir.filePath(QStringLiteral("NEW.sld"));
    const QString target = dir.filePath(QStringLiteral("edited.slb"));
};

// 10,000 slides of 5,000 bytes (50 MB), or of 131 bytes (1.7 MB).
const BigLibrary &bigLibrary(bool big = true)
{
    if (!big) {
        static const BigLibrary small(131);
        return small;
    }
    static const BigLibrary large(5000);
    return large;
}

void BM_OpenAndReadEveryName(benchmark::State &state)
{
    const BigLibrary &big = bigLibrary(state.range(0) != 0);
    for (auto _ : state) {
        SlideLibrary lib;
        lib.setLibraryFile(big.path);
        for (int i = 0; i < lib.slideCount(); ++i)
            benchmark::DoNotOptimize(lib.slideName(i));
        if (lib.slideCount() != kSlides)
            state.SkipWithError("library not read");
    }
    state.counters["MB"] = QFile(big.path).size() / 1e6;
}
BENCHMARK(BM_OpenAndReadEveryName)->ArgName("big")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The 50 MB library opened, one slide added or deleted, saved.
void editAndSave(benchmark::State &state, bool add)
{
    const BigLibrary &big = bigLibrary();
    for (auto _ : state) {
        SlideLibrary lib;
        lib.setLibraryFile(big.path);
        if (add)
            lib.addSlideFile(big.slide);
        else
            lib.deleteSlide(5000);
        lib.saveLibrary(big.target);
    }
}
void BM_AddOneAndSave(benchmark::State &state)
{
    editAndSave(state, true);
}
BENCHMARK(BM_AddOneAndSave)->Unit(benchmark::kMillisecond);

void BM_DeleteOneAndSave(benchmark::State &state)
{
    editAndSave(state, false);
}
BENCHMARK(BM_DeleteOneAndSave)->Unit(benchmark::kMillisecond);

} // namespace
