#pragma once

// Export of many slides at once: what the Export... dialog chooses, the
// files it leads to (slide names made safe by the core's file-name rule,
// "~2", "~3", ... where two would meet), and the writing of one slide in the
// chosen format, each file replaced atomically.

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

namespace quarvel {

class SlideLibrary;

struct ExportChoice
{
    enum class Format { Sld, Wmf, Png, Svg, Dxf };
    enum class Background { Black, White, Transparent };

    bool wholeLibrary = false;   // else the selected slides
    Format format = Format::Png;
    QSize size{640, 480};        // PNG and SVG
    Background background = Background::Black;   // Transparent: PNG and SVG only
    QString folder;
};

// What the dialog is opened on.
struct ExportOffer
{
    int selectedCount = 0;
    int slideCount = 0;
    double aspect = 4.0 / 3.0;   // width / height of the slide on view
    QString folder;
};

// ".sld", ".wmf", ".png", ".svg", ".dxf".
QString exportExtension(ExportChoice::Format format);
// Whether the format has a size and a transparent background.
bool exportIsPicture(ExportChoice::Format format);

// The files that rows of library go to in choice.folder, in the order of rows.
QStringList exportPaths(const SlideLibrary &library, const QList<int> &rows, const ExportChoice &choice);

// Writes slide row of library to path in the chosen format. Throws
// SlideError naming the file and the reason; path is then as it was.
void exportSlide(const SlideLibrary &library, int row, const QString &path, const ExportChoice &choice);

} // namespace quarvel
