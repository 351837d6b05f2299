#include "widgets/Auswahlliste.h"

#include <QHeaderView>
#include <QTableView>

namespace kv {

void alsAuswahlliste(QTableView* raster)
{
    raster->setSelectionBehavior(QAbstractItemView::SelectRows);
    raster->setSelectionMode(QAbstractItemView::SingleSelection);
    raster->setEditTriggers(QAbstractItemView::NoEditTriggers);
    raster->setTabKeyNavigation(false);
    raster->setWordWrap(false);
    raster->verticalHeader()->hide();
    raster->horizontalHeader()->setStretchLastSection(true);
}

} // namespace kv
