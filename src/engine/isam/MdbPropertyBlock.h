#pragma once

#include <QByteArray>

namespace kv::engine::isam {

/// Whether a stored property list (the LvProp value of a catalog row: a four-byte signature,
/// then blocks of names and of property values) holds together: every block, name and value
/// inside its parent, every value naming a listed name. mdbtools walks these lists by their
/// own length fields, so a zero length kept it in one place for ever.
bool jetPropertyBlockSound(const QByteArray& blob);

} // namespace kv::engine::isam
