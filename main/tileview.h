#pragma once

// The tile view of the open library: a grid of slide thumbnails with their
// names, over the slide list's own model and selection, so that both lists
// and the slide view always agree. Thumbnails are drawn on worker threads
// only for the rows that get painted, and kept per library file (its path,
// size and time of change), so that a library opened again shows at once.

#include <QCache>
#include <QColor>
#include <QImage>
#include <QListView>
#include <QSet>
#include <QThreadPool>

#include <atomic>
#include <memory>

namespace quarvel {

class SlideLibrary;

class ThumbnailCache : public QObject
{
    Q_OBJECT

public:
    explicit ThumbnailCache(QObject *parent = nullptr);
    ~ThumbnailCache() override;

    static QSize thumbnailSize() { return {112, 84}; }

    // The library the rows stand for (null: none). Call again after the
    // library or its file has changed; thumbnails of a file that is still
    // the same are kept.
    void setLibrary(const SlideLibrary *library, QColor background);

    // The thumbnail of row, or a null image while it is being drawn (the
    // drawing is started here). A slide that cannot be drawn gets an image
    // that says so.
    QImage thumbnail(int row);

    // Rows last painted; work queued for rows far from them is dropped.
    void setPaintedRows(int first, int last);

    // Waits until no drawing is queued or running (tests and benchmarks).
    void waitForIdle();

signals:
    void ready(int row);

private:
    struct Shared
    {
        std::atomic<int> generation{0};
        std::atomic<int> first{0};
        std::atomic<int> last{-1};
    };
    void finished(int generation, int row, const QImage &image, bool dropped);
    QString keyFor(int row) const { return mLibraryKey + QString::number(row); }

    const SlideLibrary *mLibrary = nullptr;
    QString mLibraryKey;
    QColor mBackground = Qt::black;
    QCache<QString, QImage> mImages;
    QSet<int> mPending;
    std::shared_ptr<Shared> mShared = std::make_shared<Shared>();
    QThreadPool mPool;
};

class TileView : public QListView
{
    Q_OBJECT

public:
    explicit TileView(QWidget *parent = nullptr);

    ThumbnailCache &thumbnails() { return mCache; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    friend class TileDelegate;
    ThumbnailCache mCache;
    int mPaintedFirst = 0;
    int mPaintedLast = -1;
};

} // namespace quarvel
