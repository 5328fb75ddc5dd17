#pragma once

// Inputs of the benchmarks: the corpus slides, and large libraries built
// from generated or corpus slides.

#include <QByteArray>
#include <QString>

#include <vector>

namespace quarvel::bench {

// Every corpus slide: the .sld files and the slides of every library.
const std::vector<QByteArray> &corpusSlides();

// A library of count generated slides of about slideBytes bytes each,
// named S00001, S00002, ...
QByteArray generatedLibrary(int count, int slideBytes);

// A library of count slides taken from the corpus in turn (repeating when
// the corpus has fewer), named C00001, C00002, ...
QByteArray corpusLibrary(int count);

// One small generated slide.
QByteArray smallSlide(int seed);

} // namespace quarvel::bench
