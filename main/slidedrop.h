#pragma once

// Files dropped from a file manager: on the slide lists, slide files to add
// to the open library; elsewhere on the window, one library or slide to
// open. Only local files from outside the program count (slides dragged out
// of its own lists are not added back), and a folder is never a file,
// whatever its name ends with. And the start of a drag of selected slides
// out of a list.

#include <QObject>
#include <QPoint>
#include <QStringList>

#include <functional>
#include <memory>

class QAbstractItemView;
class QMimeData;

namespace quarvel {

class SlideDrop : public QObject
{
    Q_OBJECT

public:
    enum class Target { SlideList, Window };
    SlideDrop(Target target, QObject *parent);

    // The files of data a drop on target takes: slide files for the lists,
    // the first library or slide file for the window.
    static QStringList acceptedFiles(const QMimeData *data, Target target);
    // Slide files dropped on views go to added; a drag of the selection out
    // of them carries what filesOfSelection gives (nothing: no drag).
    static void wireLists(const QList<QAbstractItemView *> &views, QObject *owner,
                          const std::function<void(const QStringList &)> &added,
                          const std::function<std::unique_ptr<QMimeData>()> &filesOfSelection);

signals:
    void dropped(const QStringList &files);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Target mTarget;
};

// Watches a list's viewport: a press on a selected row followed by a move
// beyond the drag distance asks for a drag of the selection (the view's own
// drag, which only knows its internal rows, never starts).
class SlideDragStart : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void dragRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool mArmed = false;
    QPoint mPressedAt;
};

} // namespace quarvel
