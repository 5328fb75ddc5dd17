#include "benchdata.h"

#include "slidelibrary.h"
#include "slidewriter.h"

#include <QDir>
#include <QFile>

namespace quarvel::bench {

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray libraryOf(const std::vector<QByteArray> &slides, const char *prefix)
{
    SlideLibrary lib;
    for (std::size_t i = 0; i < slides.size(); ++i) {
        const QByteArray name = prefix + QByteArray::number(qulonglong(i + 1)).rightJustified(5, '0');
        lib.addSlideData(slides[i], name, QStringLiteral("benchmark"));
    }
    return lib.toLibraryBytes();
}

} // namespace

const std::vector<QByteArray> &corpusSlides()
{
    static const std::vector<QByteArray> slides = [] {
        std::vector<QByteArray> out;
        const QDir sld(QStringLiteral(QUARVEL_CORPUS_DIR "/sld"));
        for (const QString &name : sld.entryList(QDir::Files, QDir::Name))
            out.push_back(readFile(sld.filePath(name)));
        const QDir slb(QStringLiteral(QUARVEL_CORPUS_DIR "/slb"));
        for (const QString &name : slb.entryList(QDir::Files, QDir::Name)) {
            SlideLibrary lib;
            lib.setLibraryFile(slb.filePath(name));
            for (int i = 0; i < lib.slideCount(); ++i)
                out.push_back(lib.slideData(i));
        }
        return out;
    }();
    return slides;
}

QByteArray smallSlide(int seed)
{
    SlideWriter w(1023, 767);
    w.color(1 + seed % 250);
    w.vector(seed % 1000, 10, 1000, 700);
    return w.finish();
}

QByteArray generatedLibrary(int count, int slideBytes)
{
    std::vector<QByteArray> slides;
    slides.reserve(count);
    for (int i = 0; i < count; ++i) {
        SlideWriter w(1023, 767);
        w.color(1 + i % 250);
        for (int k = 0; k < (slideBytes - 35) / 8; ++k)
            w.vector((i + k * 7) % 1024, (k * 13) % 768, (i * 3 + k) % 1024, (k * 5 + i) % 768);
        slides.push_back(w.finish());
    }
    return libraryOf(slides, "S");
}

QByteArray corpusLibrary(int count)
{
    const std::vector<QByteArray> &corpus = corpusSlides();
    std::vector<QByteArray> slides;
    for (int i = 0; i < count; ++i)
        slides.push_back(corpus[i % corpus.size()]);
    return libraryOf(slides, "C");
}

} // namespace quarvel::bench
