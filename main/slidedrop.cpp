#include "slidedrop.h"

#include "paths.h"

#include <QDropEvent>
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
        if (acceptedFiles(drag->mimeData(), mTarget).isEmpty())
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList files = acceptedFiles(drop->mimeData(), mTarget);
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

} // namespace quarvel
