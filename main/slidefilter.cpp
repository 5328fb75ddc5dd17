#include "slidefilter.h"

#include "featuretexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>

#include <algorithm>

namespace quarvel {

SlideFilterBar::SlideFilterBar(QWidget *parent)
    : QWidget(parent)
    , mEdit(new QLineEdit(this))
    , mCount(new QLabel(this))
{
    mEdit->setObjectName(QStringLiteral("txtFilter"));
    mEdit->setClearButtonEnabled(true);
    mCount->setObjectName(QStringLiteral("lblFilterCount"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 2);
    row->setSpacing(4);
    row->addWidget(mEdit, 1);
    row->addWidget(mCount);
    connect(mEdit, &QLineEdit::textChanged, this, &SlideFilterBar::textChanged);
}

QString SlideFilterBar::text() const
{
    return mEdit->text();
}

QString SlideFilterBar::countText() const
{
    return mCount->text();
}

int SlideFilterBar::apply(const QList<QListView *> &views, bool english)
{
    const Language language = english ? Language::English : Language::Russian;
    mEdit->setPlaceholderText(filterPlaceholder(language));
    if (views.isEmpty() || !views.front()->model()) {
        mCount->clear();
        return 0;
    }
    const QAbstractItemModel *model = views.front()->model();
    const QString wanted = mEdit->text();
    const int total = model->rowCount();
    int shown = 0;
    for (int row = 0; row < total; ++row) {
        const bool hide = !wanted.isEmpty()
                          && !model->index(row, 0).data().toString().contains(wanted, Qt::CaseInsensitive);
        shown += hide ? 0 : 1;
        for (QListView *view : views) {
            if (view->isRowHidden(row) != hide)
                view->setRowHidden(row, hide);
        }
    }
    mCount->setText(filterCountText(language, shown, total));
    return shown;
}

QList<int> shownSelection(const QListWidget &list)
{
    QList<int> rows;
    for (const QModelIndex &index : list.selectionModel()->selectedIndexes()) {
        if (!list.isRowHidden(index.row()))
            rows << index.row();
    }
    const int current = list.currentRow();
    if (rows.isEmpty() && current >= 0 && !list.isRowHidden(current))
        rows << current;
    std::sort(rows.begin(), rows.end());
    return rows;
}

void selectAllShown(QListWidget &list)
{
    // Ranges of the rows shown, so that a long list is selected at once.
    QItemSelection shown;
    const QAbstractItemModel *names = list.model();
    for (int row = 0; row < list.count(); ++row) {
        if (list.isRowHidden(row))
            continue;
        int last = row;
        while (last + 1 < list.count() && !list.isRowHidden(last + 1))
            ++last;
        shown.select(names->index(row, 0), names->index(last, 0));
        row = last;
    }
    list.selectionModel()->select(shown, QItemSelectionModel::ClearAndSelect);
}

} // namespace quarvel
