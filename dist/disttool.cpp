// quarvel-disttool: two small jobs for packaging, built but never installed.
//   quarvel-disttool icon IN.svg OUT.png SIZE   draws the program icon at SIZE x SIZE
//   quarvel-disttool ico IN.svg OUT.ico         draws the Windows icon file (16 to 256
//                                               pixels, PNG-compressed entries)
//   quarvel-disttool grab OUT.png               saves the whole screen (for the
//                                               installed-program check under Xvfb),
//                                               cut to the windows on it; exit 3
//                                               while the screen is empty

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

int usage()
{
    std::fputs("usage: quarvel-disttool icon IN.svg OUT.png SIZE | ico IN.svg OUT.ico | grab OUT.png\n", stderr);
    return 2;
}

QImage drawIcon(QSvgRenderer &svg, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    return image;
}

int renderIcon(const char *svgPath, const char *pngPath, const char *sizeText)
{
    const int size = std::atoi(sizeText);
    QSvgRenderer svg{QString::fromLocal8Bit(svgPath)};
    if (size <= 0 || !svg.isValid()) {
        std::fprintf(stderr, "quarvel-disttool: cannot draw %s at size %s\n", svgPath, sizeText);
        return 1;
    }
    if (!drawIcon(svg, size).save(QString::fromLocal8Bit(pngPath), "PNG")) {
        std::fprintf(stderr, "quarvel-disttool: cannot write %s\n", pngPath);
        return 1;
    }
    return 0;
}

// An .ico file: a directory of entries, each a PNG image.
int renderIco(const char *svgPath, const char *icoPath)
{
    QSvgRenderer svg{QString::fromLocal8Bit(svgPath)};
    if (!svg.isValid()) {
        std::fprintf(stderr, "quarvel-disttool: cannot draw %s\n", svgPath);
        return 1;
    }
    const int sizes[] = {16, 24, 32, 48, 64, 256};
    const int count = int(std::size(sizes));
    QList<QByteArray> pngs;
    for (const int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        drawIcon(svg, size).save(&buffer, "PNG");
        pngs.append(png);
    }
    QByteArray ico;
    auto put16 = [&ico](int v) { ico.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    auto put32 = [&](qint64 v) { put16(int(v & 0xFFFF)); put16(int(v >> 16)); };
    put16(0);
    put16(1);
    put16(count);
    qint64 offset = 6 + 16 * count;
    for (int i = 0; i < count; ++i) {
        ico.append(char(sizes[i] & 0xFF)).append(char(sizes[i] & 0xFF)); // 256 is written as 0
        ico.append(char(0)).append(char(0));
        put16(1);
        put16(32);
        put32(pngs[i].size());
        put32(offset);
        offset += pngs[i].size();
    }
    for (const QByteArray &png : pngs)
        ico.append(png);
    QFile out(QString::fromLocal8Bit(icoPath));
    if (!out.open(QIODevice::WriteOnly) || out.write(ico) != ico.size() || !out.flush()) {
        std::fprintf(stderr, "quarvel-disttool: cannot write %s\n", icoPath);
        return 1;
    }
    return 0;
}

// The part of a screen shot that differs from the empty screen around the
// windows (the colour of the bottom right corner); empty when nothing does.
QRect drawnArea(const QImage &image)
{
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] == background)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

int grabScreen(int argc, char **argv, const char *pngPath)
{
    QGuiApplication app(argc, argv);
    QScreen *screen = QGuiApplication::primaryScreen();
    const QImage image = screen ? screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32)
                                : QImage();
    if (image.isNull()) {
        std::fputs("quarvel-disttool: cannot grab the screen\n", stderr);
        return 1;
    }
    const QRect drawn = drawnArea(image);
    if (drawn.isEmpty())
        return 3;
    // A window that is mapped but not painted yet (or a screen another
    // platform plug-in made up) is one flat colour: not a screen shot.
    QList<QRgb> colours;
    for (int y = drawn.top(); y <= drawn.bottom() && colours.size() < 8; y += 4) {
        for (int x = drawn.left(); x <= drawn.right() && colours.size() < 8; x += 4) {
            if (!colours.contains(image.pixel(x, y)))
                colours.append(image.pixel(x, y));
        }
    }
    if (colours.size() < 8)
        return 3;
    if (!image.copy(drawn).save(QString::fromLocal8Bit(pngPath), "PNG")) {
        std::fprintf(stderr, "quarvel-disttool: cannot save the screen to %s\n", pngPath);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const bool icon = argc == 5 && std::strcmp(argv[1], "icon") == 0;
    const bool ico = argc == 4 && std::strcmp(argv[1], "ico") == 0;
    if (icon || ico) {
        // Text in an icon needs the fonts, which need an application; no
        // screen is needed.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return icon ? renderIcon(argv[2], argv[3], argv[4]) : renderIco(argv[2], argv[3]);
    }
    if (argc == 3 && std::strcmp(argv[1], "grab") == 0)
        return grabScreen(argc, argv, argv[2]);
    return usage();
}
