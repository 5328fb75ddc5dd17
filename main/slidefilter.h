#pragma once

// The filter over the slide list: a box for the text and the count of
// names shown ("12 of 783"). Rows whose name does not contain the text, in
// any letter case, are hidden in every view given; only rows whose state
// changes are touched, so typing in a long list stays quick.

#include <QList>
#include <QWidget>

class QAbstractItemModel;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;

namespace quarvel {

class SlideFilterBar : public QWidget
{
    Q_OBJECT

public:
    explicit SlideFilterBar(QWidget *parent = nullptr);

    QLineEdit *edit() const { return mEdit; }
    QString text() const;
    QString countText() const;

    // Shows in each of views (which share one model) only the rows whose
    // name contains the text; sets the count. Returns the rows shown.
    int apply(const QList<QListView *> &views, bool english);

signals:
    void textChanged();

private:
    QLineEdit *mEdit;
    QLabel *mCount;
};

// Rows of list that are selected and not hidden, ascending; with nothing
// selected, the current row if it is shown.
QList<int> shownSelection(const QListWidget &list);
// Selects every row of list the filter shows; hidden rows stay unselected.
void selectAllShown(QListWidget &list);

} // namespace quarvel
