#include "slidedrop.h"

#include "paths.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMouseEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace quarvel {

SlideDrop::SlideDrop(Target target, QObject *parent)
    : QObject(parent)
    , mTarget(target)
{
}

QStringList SlideDrop::acceptedFiles(const QMimeData *data, Target target)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        const QString path = url.toLocalFile();
        if (path.isEmpty() || !QFileInfo(path).isFile())
            continue;
        const FileKind kind = fileKindOf(path);
        if (target == Target::SlideList && kind == FileKind::Slide)
            files << path;
        else if (target == Target::Window && (kind == FileKind::Slide || kind == FileKind::Library))
            return {path};
    }
    return files;
}

bool SlideDrop::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        if (drag->source() || acceptedFiles(drag->mimeData(), mTarget).isEmpty())
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList files = drop->source() ? QStringList() : acceptedFiles(drop->mimeData(), mTarget);
        if (files.isEmpty())
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        emit dropped(files);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool SlideDragStart::eventFilter(QObject *watched, QEvent *event)
{
    auto *viewport = qobject_cast<QWidget *>(watched);
    auto *view = viewport ? qobject_cast<QAbstractItemView *>(viewport->parentWidget()) : nullptr;
    if (!view)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QModelIndex index = view->indexAt(mouse->position().toPoint());
        mArmed = mouse->button() == Qt::LeftButton && index.isValid()
                 && view->selectionModel()->isSelected(index);
        mPressedAt = mouse->position().toPoint();
        break;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!mArmed || !(mouse->buttons() & Qt::LeftButton))
            break;
        if ((mouse->position().toPoint() - mPressedAt).manhattanLength() < QApplication::startDragDistance())
            return true;
        mArmed = false;
        emit dragRequested();
        return true;
    }
    case QEvent::MouseButtonRelease:
        mArmed = false;
        break;
    default:
        break;
    }
    return false;
}

void SlideDrop::wireLists(const QList<QAbstractItemView *> &views, QObject *owner,
                          const std::function<void(const QStringList &)> &added,
                          const std::function<std::unique_ptr<QMimeData>()> &filesOfSelection)
{
    auto *drop = new SlideDrop(Target::SlideList, owner);
    auto *dragStart = new SlideDragStart(owner);
    for (QAbstractItemView *v : views) {
        v->viewport()->setAcceptDrops(true);
        v->viewport()->installEventFilter(drop);
        v->setDragEnabled(true);   // a press on a selected row keeps the selection for the drag
        v->viewport()->installEventFilter(dragStart);
    }
    QObject::connect(drop, &SlideDrop::dropped, owner, added);
    QObject::connect(dragStart, &SlideDragStart::dragRequested, owner, [owner, filesOfSelection] {
        std::unique_ptr<QMimeData> files = filesOfSelection();
        if (!files)
            return;
        auto *drag = new QDrag(owner);
        drag->setMimeData(files.release());
        drag->exec(Qt::CopyAction);
    });
}

} // namespace quarvel
