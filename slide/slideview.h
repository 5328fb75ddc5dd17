#pragma once

// The slide view: shows one slide, named by a slide specification (the path
// of a .sld file, or a library path directly followed by "(", the slide name
// and ")"), in the whole widget, keeping the slide's shape. The wheel zooms
// around the pointer, a drag pans, a double click or Home fits the slide
// again; every zoom is drawn afresh from the slide's vectors.

#include "namecodec.h"
#include "slideformat.h"
#include "viewzoom.h"

#include <QColor>
#include <QDateTime>
#include <QString>
#include <QWidget>

#include <memory>

namespace quarvel {

class SlideLibrary;

class SlideView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString slideFile READ slideFile WRITE setSlideFile)
    Q_PROPERTY(QColor viewBackColor READ viewBackColor WRITE setViewBackColor)

public:
    explicit SlideView(QWidget *parent = nullptr);
    ~SlideView() override;

    // Shows the slide spec names; the empty string clears the
    // view. The slide is read and decoded here, so that painting stays cheap.
    // Never fails: a missing file or slide leaves the view empty, with the
    // reason in lastError(); a damaged slide shows what precedes the damage.
    void setSlideFile(const QString &spec);
    // The value last set, whether or not it could be shown.
    QString slideFile() const { return mSpec; }

    QColor viewBackColor() const { return mBackground; }
    void setViewBackColor(QColor color);

    // The code page slide names of libraries are decoded with.
    void setNameCodec(const NameCodec &codec);
    const NameCodec &nameCodec() const { return mCodec; }

    // Why the slide last set is not shown, or shown only in part (damage);
    // empty when it is shown whole or nothing was asked for.
    QString lastError() const { return mError; }
    // True when a slide is on show (possibly empty of drawing records).
    bool hasSlide() const { return mHasSlide; }
    const SlideHeader &slideHeader() const { return mHeader; }
    const SlideDrawing &slideDrawing() const { return mDrawing; }
    const ViewZoom &zoom() const { return mZoom; }

    QSize sizeHint() const override { return {320, 200}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void load(const QString &spec);
    const SlideLibrary &openLibrary(const QString &path);

    // The library last opened, kept while its file is unchanged: walking a
    // slide list then costs a name lookup and one decode per slide.
    struct CachedLibrary
    {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        std::unique_ptr<SlideLibrary> library;
    };

    QString mSpec;
    QColor mBackground = Qt::black;
    NameCodec mCodec;
    QString mError;
    bool mHasSlide = false;
    SlideHeader mHeader;
    SlideDrawing mDrawing;
    CachedLibrary mCache;
    ViewZoom mZoom;
    QPointF mPanFrom;   // where the drag that pans was last seen
    bool mPanning = false;
};

} // namespace quarvel
