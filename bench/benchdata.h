#pragma once

// Inputs of the benchmarks: the corpus slides, and large libraries built
// from generated slides.

#include <QByteArray>
#include <QString>

#include <vector>

namespace quarvel::bench {

// Every corpus slide: the .sld files and the slides of every library.
const std::vector<QByteArray> &corpusSlides();

// A library of count generated slides of about slideBytes bytes each,
// named S00001, S00002, ...
QByteArray generatedLibrary(int count, int slideBytes);

// One small generated slide.
QByteArray smallSlide(int seed);

// Writes a benchmark's input file; aborts when it cannot, as a benchmark
// without its input would measure nothing.
void writeFile(const QString &path, const QByteArray &bytes);

} // namespace quarvel::bench
