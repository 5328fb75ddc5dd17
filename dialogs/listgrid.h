#pragma once

// The two-column grids of the favourites dialog and the new-library builder:
// whole rows selected one at a time, read-only, one line of text per cell.

#include <QAbstractItemView>
#include <QHeaderView>
#include <QTableWidget>

namespace quarvel {

inline void setUpListGrid(QTableWidget *grid)
{
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
}

} // namespace quarvel
