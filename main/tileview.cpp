#include "tileview.h"

#include "renderer.h"
#include "slidelibrary.h"
#include "core/fileio.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QStyledItemDelegate>

#include <filesystem>

namespace quarvel {

namespace {

// About 150 MB of thumbnails at most; scrolling through a huge library
// drops the ones painted longest ago.
constexpr int kCachedThumbnails = 4000;

QImage unreadableThumbnail()
{
    QImage image(ThumbnailCache::thumbnailSize(), QImage::Format_RGB32);
    image.fill(QColor(64, 64, 64));
    QPainter p(&image);
    p.setPen(QPen(QColor(200, 60, 60), 2));
    p.drawLine(8, 8, image.width() - 8, image.height() - 8);
    p.drawLine(image.width() - 8, 8, 8, image.height() - 8);
    return image;
}

} // namespace

class TileDelegate : public QStyledItemDelegate
{
public:
    explicit TileDelegate(TileView *view)
        : QStyledItemDelegate(view)
        , mView(view)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return mView->gridSize();
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const int row = index.row();
        mView->mPaintedFirst = mView->mPaintedLast < mView->mPaintedFirst ? row : std::min(mView->mPaintedFirst, row);
        mView->mPaintedLast = std::max(mView->mPaintedLast, row);

        const QRect cell = option.rect.adjusted(2, 2, -2, -2);
        const bool selected = option.state & QStyle::State_Selected;
        if (selected)
            painter->fillRect(cell, option.palette.highlight());
        const QSize thumb = ThumbnailCache::thumbnailSize();
        const QRect picture(cell.left() + (cell.width() - thumb.width()) / 2, cell.top() + 4, thumb.width(),
                            thumb.height());
        const QImage image = mView->mCache.thumbnail(row);
        if (image.isNull())
            painter->fillRect(picture, option.palette.mid());
        else
            painter->drawImage(picture.topLeft(), image);
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(option.palette.highlight().color());
            painter->drawRect(picture.adjusted(-1, -1, 0, 0));
        }
        const QRect text(cell.left() + 2, picture.bottom() + 3, cell.width() - 4, cell.bottom() - picture.bottom() - 3);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QString name = option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, text.width());
        painter->drawText(text, Qt::AlignHCenter | Qt::AlignTop, name);
    }

private:
    TileView *mView;
};

ThumbnailCache::ThumbnailCache(QObject *parent)
    : QObject(parent)
    , mImages(kCachedThumbnails)
{
}

ThumbnailCache::~ThumbnailCache()
{
    mPool.clear();
    mPool.waitForDone();
}

void ThumbnailCache::setLibrary(const SlideLibrary *library, QColor background)
{
    QString key;
    if (library && library->kind() == SlideLibrary::Kind::Library) {
        // The file's identity too: a copy put in place by a rename may keep
        // the size and the time of the file it replaces.
        core::FileStamp stamp;
        try {
            stamp = core::stampOf(std::filesystem::path(library->libraryFile().toStdU16String()));
        } catch (const core::Error &) {
        }
        key = QStringLiteral("%1|%2|%3|%4|%5|%6|")
                  .arg(QFileInfo(library->libraryFile()).absoluteFilePath())
                  .arg(stamp.size)
                  .arg(stamp.modifiedNs)
                  .arg(stamp.device)
                  .arg(stamp.inode)
                  .arg(background.rgba());
    }
    mLibrary = key.isEmpty() ? nullptr : library;
    if (key == mLibraryKey && background == mBackground)
        return;
    // Work queued for the former file is of no use any more.
    mShared->generation.fetch_add(1);
    mPool.clear();
    mPending.clear();
    mLibraryKey = key;
    mBackground = background;
}

QImage ThumbnailCache::thumbnail(int row)
{
    if (!mLibrary)
        return {};
    if (const QImage *image = mImages.object(keyFor(row)))
        return *image;
    if (mPending.contains(row))
        return {};
    QByteArray bytes;
    try {
        bytes = mLibrary->slideData(row);
    } catch (...) {
        // Not kept: the row may stand for another slide once an edit that
        // is under way has settled.
        static const QImage unreadable = unreadableThumbnail();
        return unreadable;
    }
    mPending.insert(row);
    // The row is being painted: keep it wanted until the paint has settled
    // the exact range.
    if (row < mShared->first.load())
        mShared->first.store(row);
    if (row > mShared->last.load())
        mShared->last.store(row);
    const int generation = mShared->generation.load();
    mPool.start([this, shared = mShared, generation, row, bytes, background = mBackground] {
        // Rows scrolled far away while this waited are not drawn; they are
        // asked for again if they come back into view.
        const int first = shared->first.load();
        const int last = shared->last.load();
        const int margin = std::max(last - first + 1, 16);
        const bool wanted = shared->generation.load() == generation && row >= first - margin && row <= last + margin;
        QImage image;
        if (wanted) {
            SlideDrawing drawing;
            const DecodeResult r = decodeSlide(bytes, &drawing);
            image = r.isSlide ? renderToImage(r.header, drawing, thumbnailSize(), background) : unreadableThumbnail();
        }
        QMetaObject::invokeMethod(
            this, [this, generation, row, image, wanted] { finished(generation, row, image, !wanted); },
            Qt::QueuedConnection);
    });
    return {};
}

void ThumbnailCache::finished(int generation, int row, const QImage &image, bool dropped)
{
    if (generation != mShared->generation.load())
        return;
    mPending.remove(row);
    if (!dropped)
        mImages.insert(keyFor(row), new QImage(image));
    if (!dropped || (row >= mShared->first.load() && row <= mShared->last.load()))
        emit ready(row);
}

void ThumbnailCache::setPaintedRows(int first, int last)
{
    mShared->first.store(first);
    mShared->last.store(last);
}

void ThumbnailCache::waitForIdle()
{
    while (!mPending.isEmpty()) {
        mPool.waitForDone();
        QCoreApplication::sendPostedEvents(this);
    }
}

TileView::TileView(QWidget *parent)
    : QListView(parent)
{
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWrapping(true);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    const QSize thumb = ThumbnailCache::thumbnailSize();
    setGridSize(QSize(thumb.width() + 16, thumb.height() + fontMetrics().height() + 16));
    setItemDelegate(new TileDelegate(this));
    connect(&mCache, &ThumbnailCache::ready, this, [this](int row) {
        if (model())
            update(model()->index(row, 0, rootIndex()));
    });
}

void TileView::paintEvent(QPaintEvent *event)
{
    mPaintedFirst = 0;
    mPaintedLast = -1;
    QListView::paintEvent(event);
    if (mPaintedLast >= mPaintedFirst)
        mCache.setPaintedRows(mPaintedFirst, mPaintedLast);
}

} // namespace quarvel
