#include "slideview.h"

#include "renderer.h"
#include "slideerror.h"
#include "slidelibrary.h"
#include "slidespec.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

namespace quarvel {

SlideView::SlideView(QWidget *parent)
    : QWidget(parent)
{
    // The whole area is painted on every paint event, so Qt need not erase it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);   // for Home, which fits the slide again
}

SlideView::~SlideView() = default;

void SlideView::setSlideFile(const QString &spec)
{
    mSpec = spec;
    mZoom.reset();
    mHasSlide = false;
    mError.clear();
    mDrawing.clear();
    mHeader = {};
    // Callers have no handling for a failure here, so nothing may escape:
    // whatever goes wrong leaves an empty view and its reason.
    try {
        load(spec);
    } catch (const SlideError &e) {
        mError = e.message();
    } catch (const std::exception &e) {
        mError = QString::fromLocal8Bit(e.what());
    }
    if (!mHasSlide)
        mDrawing.clear();
    update();
}

void SlideView::load(const QString &spec)
{
    if (spec.isEmpty())
        return;
    const SlideSpec named = parseSlideSpec(spec);
    const SlideLibrary &library = openLibrary(named.file);
    const QString file = QDir::toNativeSeparators(named.file);
    if (library.kind() == SlideLibrary::Kind::None) {
        mError = library.loadError();
        return;
    }
    int index = 0;
    if (named.inLibrary) {
        if (library.kind() != SlideLibrary::Kind::Library) {
            mError = SlideError(file, QStringLiteral("not a slide library")).message();
            return;
        }
        index = library.indexOf(named.slideName);
        if (index < 0) {
            mError = SlideError(file, QStringLiteral("there is no slide named \"%1\"").arg(named.slideName)).message();
            return;
        }
    } else if (library.kind() == SlideLibrary::Kind::Library) {
        mError = SlideError(file, QStringLiteral("a slide library: the slide to show is not named")).message();
        return;
    }
    const DecodeResult result = library.decode(index, &mDrawing);
    if (!result.isSlide) {
        mError = SlideError(file, errorText(result), result.errorOffset).message();
        return;
    }
    mHeader = result.header;
    mHasSlide = true;
    if (!result.error.empty())
        mError = SlideError(file, errorText(result), result.errorOffset).message();
}

const SlideLibrary &SlideView::openLibrary(const QString &path)
{
    const QFileInfo info(path);
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    if (!mCache.library || mCache.path != path || mCache.size != size || mCache.modified != modified) {
        mCache.library.reset();   // let the old file's bytes go before the new ones are read
        auto library = std::make_unique<SlideLibrary>(mCodec);
        library->setLibraryFile(path);
        mCache = {path, size, modified, std::move(library)};
    }
    return *mCache.library;
}

void SlideView::setViewBackColor(QColor color)
{
    if (color == mBackground)
        return;
    mBackground = color;
    update();
}

void SlideView::setNameCodec(const NameCodec &codec)
{
    mCodec = codec;
    mCache = {};   // names decode differently under another code page
    if (!mSpec.isEmpty())
        setSlideFile(mSpec);
}

void SlideView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Drawn in device pixels, so that a vector is one screen pixel wide on
    // high-density screens too.
    const qreal ratio = devicePixelRatioF();
    QImage image;
    if (mHasSlide) {
        const QSize pixels(qRound(width() * ratio), qRound(height() * ratio));
        const QRectF target = mZoom.target(size());
        image = renderToImage(mHeader, mDrawing, pixels, mBackground,
                              QRectF(target.topLeft() * ratio, target.size() * ratio));
        image.setDevicePixelRatio(ratio);
    }
    if (image.isNull())
        painter.fillRect(rect(), mBackground);
    else
        painter.drawImage(QPointF(0, 0), image);
}

void SlideView::wheelEvent(QWheelEvent *event)
{
    if (!mHasSlide || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    // One notch of a wheel (120) zooms by a quarter.
    mZoom.zoomAt(event->position(), std::pow(1.25, event->angleDelta().y() / 120.0), size());
    update();
}

void SlideView::mousePressEvent(QMouseEvent *event)
{
    mPanning = event->button() == Qt::LeftButton && !mZoom.isFitted();
    mPanFrom = event->position();
    if (mPanning)
        setCursor(Qt::ClosedHandCursor);
    QWidget::mousePressEvent(event);
}

void SlideView::mouseMoveEvent(QMouseEvent *event)
{
    if (!mPanning)
        return QWidget::mouseMoveEvent(event);
    mZoom.pan(event->position() - mPanFrom, size());
    mPanFrom = event->position();
    update();
}

void SlideView::mouseReleaseEvent(QMouseEvent *event)
{
    if (mPanning)
        unsetCursor();
    mPanning = false;
    QWidget::mouseReleaseEvent(event);
}

void SlideView::mouseDoubleClickEvent(QMouseEvent *event)
{
    mZoom.reset();
    update();
    QWidget::mouseDoubleClickEvent(event);
}

void SlideView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Home)
        return QWidget::keyPressEvent(event);
    mZoom.reset();
    update();
}

void SlideView::resizeEvent(QResizeEvent *event)
{
    // Another size shows the whole slide again.
    mZoom.reset();
    QWidget::resizeEvent(event);
}

} // namespace quarvel
