// libFuzzer target: a slide library read from a file, as the program reads
// one. Every slide is listed and decoded, the library is written out again
// and re-read: names and slide bytes must survive the round trip.

#include "slideerror.h"
#include "slidelibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <optional>

using namespace quarvel;

namespace {

// One scratch folder per process: the library has to be a file, and making
// a folder per input would cost more than the reading. Memory-backed where
// the system has it, as writing a file per input to disk dominates the run.
const QTemporaryDir &scratch()
{
    static const QTemporaryDir dir = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                         ? QTemporaryDir(QStringLiteral("/dev/shm/quarvel-fuzz-XXXXXX"))
                                         : QTemporaryDir();
    return dir;
}

void writeAll(const QString &path, const char *data, qsizetype size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data, size) != size)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString input = scratch().filePath(QStringLiteral("input.slb"));
    const QString output = scratch().filePath(QStringLiteral("output.slb"));
    writeAll(input, reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    SlideLibrary library;
    library.setLibraryFile(input);
    std::vector<std::optional<QByteArray>> slides(library.slideCount());   // empty: unreadable
    for (int i = 0; i < library.slideCount(); ++i) {
        (void)library.slideName(i);
        try {
            SlideDrawing drawing;
            (void)library.decode(i, &drawing);
            slides[i] = library.slideData(i);
        } catch (const SlideError &) {
            // Unreadable and damaged slides are reported, never fatal.
        }
    }

    QByteArray written;
    try {
        written = library.toLibraryBytes();
    } catch (const SlideError &) {
        return 0;   // refused to write (damaged slide, unstorable name): fine
    }
    writeAll(output, written.constData(), written.size());
    SlideLibrary reread;
    reread.setLibraryFile(output);
    if (reread.slideCount() != library.slideCount())
        std::abort();
    for (int i = 0; i < library.slideCount(); ++i) {
        if (reread.slideNameBytes(i) != library.slideNameBytes(i))
            std::abort();
        if (slides[i] && reread.slideData(i) != *slides[i])
            std::abort();
    }
    return 0;
}
