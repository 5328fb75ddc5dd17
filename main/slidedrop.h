#pragma once

// Files dropped from a file manager: on the slide lists, slide files to add
// to the open library; elsewhere on the window, one library or slide to
// open. Only local files count, and a folder is never a file, whatever its
// name ends with.

#include <QObject>
#include <QStringList>

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

signals:
    void dropped(const QStringList &files);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Target mTarget;
};

} // namespace quarvel
