// Decoding speed over every corpus slide, with and without collecting a
// drawing; reported as bytes of slide data per second.

#include "benchdata.h"
#include "slideformat.h"

#include <benchmark/benchmark.h>

using namespace quarvel;

namespace {

void decodeLoop(benchmark::State &state, SlideDrawing *drawing)
{
    const auto &slides = bench::corpusSlides();
    qint64 bytes = 0;
    for (const QByteArray &slide : slides)
        bytes += slide.size();
    for (auto _ : state) {
        for (const QByteArray &slide : slides) {
            if (drawing)
                drawing->clear();
            benchmark::DoNotOptimize(decodeSlide(slide, drawing).length);
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["slides"] = double(slides.size());
}

void BM_DecodeCorpus(benchmark::State &state)
{
    decodeLoop(state, nullptr);
}
BENCHMARK(BM_DecodeCorpus)->Unit(benchmark::kMillisecond);

void BM_DecodeCorpusToDrawing(benchmark::State &state)
{
    SlideDrawing drawing;
    decodeLoop(state, &drawing);
}
BENCHMARK(BM_DecodeCorpusToDrawing)->Unit(benchmark::kMillisecond);

} // namespace
