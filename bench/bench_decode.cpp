// Decoding speed over every corpus slide, with and without collecting a
// drawing; reported as bytes of slide data per second.

#include "benchdata.h"
#include "slideformat.h"

#include <benchmark/benchmark.h>

using namespace quarvel;

namespace {

qint64 corpusBytes()
{
    qint64 total = 0;
    for (const QByteArray &slide : bench::corpusSlides())
        total += slide.size();
    return total;
}

void BM_DecodeCorpus(benchmark::State &state)
{
    const auto &slides = bench::corpusSlides();
    for (auto _ : state) {
        for (const QByteArray &slide : slides)
            benchmark::DoNotOptimize(decodeSlide(slide).length);
    }
    state.SetBytesProcessed(state.iterations() * corpusBytes());
    state.counters["slides"] = double(slides.size());
}
BENCHMARK(BM_DecodeCorpus)->Unit(benchmark::kMillisecond);

void BM_DecodeCorpusToDrawing(benchmark::State &state)
{
    const auto &slides = bench::corpusSlides();
    SlideDrawing drawing;
    for (auto _ : state) {
        for (const QByteArray &slide : slides) {
            drawing.clear();
            benchmark::DoNotOptimize(decodeSlide(slide, &drawing).length);
        }
    }
    state.SetBytesProcessed(state.iterations() * corpusBytes());
}
BENCHMARK(BM_DecodeCorpusToDrawing)->Unit(benchmark::kMillisecond);

} // namespace
