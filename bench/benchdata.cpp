#include "benchdata.h"

#include "slidelibrary.h"
#include "slidewriter.h"

#include <QFile>

#include <cstdlib>

namespace quarvel::bench {

QByteArray smallSlide(int seed)
{
    SlideWriter w(1023, 767);
    w.color(1 + seed % 250);
    w.vector(seed % 1000, 10, 1000, 700);
    return w.finish();
}

QByteArray generatedLibrary(int count, int slideBytes)
{
    SlideLibrary lib;
    for (int i = 0; i < count; ++i) {
        SlideWriter w(1023, 767);
        w.color(1 + i % 250);
        for (int k = 0; k < (slideBytes - 35) / 8; ++k)
            w.vector((i + k * 7) % 1024, (k * 13) % 768, (i * 3 + k) % 1024, (k * 5 + i) % 768);
        lib.addSlideData(w.finish(), "S" + QByteArray::number(i + 1).rightJustified(5, '0'), QStringLiteral("benchmark"));
    }
    return lib.toLibraryBytes();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush())
        std::abort();
}

} // namespace quarvel::bench
