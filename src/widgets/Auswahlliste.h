#pragma once

class QTableView;

namespace kv {

/// A grid that lists objects to choose from: whole rows, one at a time, no editing, Tab leaves
/// it, the last column takes the free width.
void alsAuswahlliste(QTableView* raster);

} // namespace kv
