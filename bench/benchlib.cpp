// quarvel-benchlib: writes the large libraries of the benchmarks as files,
// for timing quarvel-cli from outside (hyperfine, /usr/bin/time -v).
//
//   quarvel-benchlib generated OUT.slb [COUNT [SLIDE_BYTES]]   default 10000 x 5000
//   quarvel-benchlib corpus OUT.slb [COUNT]                     default 783
//   quarvel-benchlib slide OUT.sld                              one small slide

#include "benchdata.h"

#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>

using namespace quarvel::bench;

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: quarvel-benchlib generated|corpus|slide OUT [COUNT [SLIDE_BYTES]]\n");
        return 2;
    }
    const QString kind = QString::fromLocal8Bit(argv[1]);
    const int count = argc > 3 ? std::atoi(argv[3]) : 0;
    QByteArray bytes;
    if (kind == QLatin1String("generated"))
        bytes = generatedLibrary(count > 0 ? count : 10000, argc > 4 ? std::atoi(argv[4]) : 5000);
    else if (kind == QLatin1String("corpus"))
        bytes = corpusLibrary(count > 0 ? count : 783);
    else if (kind == QLatin1String("slide"))
        bytes = smallSlide(7);
    else {
        std::fprintf(stderr, "quarvel-benchlib: unknown kind %s\n", argv[1]);
        return 2;
    }
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "quarvel-benchlib: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
