#include "slidefilter.h"

#include "featuretexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>

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

} // namespace quarvel
