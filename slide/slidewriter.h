#pragma once

// The slide core's new-slide writer (core/slidewriter.h) for the Qt side:
// the same class, with the slide returned as a QByteArray.

#include "slideformat.h"
#include "core/slidewriter.h"

#include <QByteArray>

namespace quarvel {

class SlideWriter : public core::SlideWriter
{
public:
    using core::SlideWriter::SlideWriter;

    // Appends the end-of-file record and returns the slide.
    QByteArray finish()
    {
        const std::string bytes = core::SlideWriter::finish();
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
};

} // namespace quarvel
