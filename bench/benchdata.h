#pragma once

// Inputs of the benchmarks: large libraries and folders built from
// generated slides.

#include <QByteArray>
#include <QString>

namespace quarvel::bench {

// A library of count generated slides of about slideBytes bytes each,
// named S00001, S00002, ...
QByteArray generatedLibrary(int count, int slideBytes);

// One small generated slide.
QByteArray smallSlide(int seed);

// Writes a benchmark's input file; aborts when it cannot, as a benchmark
// without its input would measure nothing.
void writeFile(const QString &path, const QByteArray &bytes);

} // namespace quarvel::bench
