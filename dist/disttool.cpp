// quarvel-disttool: two small jobs for packaging, built but never installed.
//   quarvel-disttool icon IN.svg OUT.png SIZE   draws the program icon at SIZE x SIZE
//   quarvel-disttool grab OUT.png               saves the whole screen (for the
//                                               installed-program check under Xvfb),
//                                               cut to the windows on it; exit 3
//                                               while the screen is empty

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

namespace {

int usage()
{
    std::fputs("usage: quarvel-disttool icon IN.svg OUT.png SIZE | grab OUT.png\n", stderr);
    return 2;
}

int renderIcon(const char *svgPath, const char *pngPath, const char *sizeText)
{
    const int size = std::atoi(sizeText);
    QSvgRenderer svg{QString::fromLocal8Bit(svgPath)};
    if (size <= 0 || !svg.isValid()) {
        std::fprintf(stderr, "quarvel-disttool: cannot draw %s at size %s\n", svgPath, sizeText);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(pngPath), "PNG")) {
        std::fprintf(stderr, "quarvel-disttool: cannot write %s\n", pngPath);
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
    if (argc == 5 && std::strcmp(argv[1], "icon") == 0)
        return renderIcon(argv[2], argv[3], argv[4]);
    if (argc == 3 && std::strcmp(argv[1], "grab") == 0)
        return grabScreen(argc, argv, argv[2]);
    return usage();
}
