// Library operations on 10,000-slide libraries: opening one and reading
// every name (small slides, 1.3 MB, and the 50 MB library), and on the 50 MB
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
    QTemporaryDir dir;
    QString path;
    QString slide;
    QString target;

    explicit BigLibrary(int slideBytes)
    {
        path = dir.filePath(QStringLiteral("big.slb"));
        slide = dir.filePath(QStringLiteral("NEW.sld"));
        target = dir.filePath(QStringLiteral("edited.slb"));
        write(path, bench::generatedLibrary(kSlides, slideBytes));
        write(slide, bench::smallSlide(3));
    }
    static void write(const QString &file, const QByteArray &bytes)
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            std::abort();
    }
};

// 10,000 slides of 5,000 bytes: 50 MB.
const BigLibrary &bigLibrary()
{
    static const BigLibrary lib(5000);
    return lib;
}

// 10,000 slides of 131 bytes: 1.3 MB.
const BigLibrary &manySmallSlides()
{
    static const BigLibrary lib(131);
    return lib;
}

void BM_OpenAndReadEveryName(benchmark::State &state)
{
    const BigLibrary &big = state.range(0) ? bigLibrary() : manySmallSlides();
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

void BM_AddOneAndSave(benchmark::State &state)
{
    const BigLibrary &big = bigLibrary();
    for (auto _ : state) {
        SlideLibrary lib;
        lib.setLibraryFile(big.path);
        lib.addSlideFile(big.slide);
        lib.saveLibrary(big.target);
    }
}
BENCHMARK(BM_AddOneAndSave)->Unit(benchmark::kMillisecond);

void BM_DeleteOneAndSave(benchmark::State &state)
{
    const BigLibrary &big = bigLibrary();
    for (auto _ : state) {
        SlideLibrary lib;
        lib.setLibraryFile(big.path);
        lib.deleteSlide(5000);
        lib.saveLibrary(big.target);
    }
}
BENCHMARK(BM_DeleteOneAndSave)->Unit(benchmark::kMillisecond);

// The save alone, on a library already open (the main window's case).
void BM_SaveOnly(benchmark::State &state)
{
    const BigLibrary &big = bigLibrary();
    SlideLibrary lib;
    lib.setLibraryFile(big.path);
    lib.addSlideFile(big.slide);
    for (auto _ : state)
        lib.saveLibrary(big.target);
}
BENCHMARK(BM_SaveOnly)->Unit(benchmark::kMillisecond);

} // namespace
