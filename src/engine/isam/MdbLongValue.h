#pragma once

#include <QByteArray>
#include <QString>
#include <mdbtools.h>

namespace kv::engine::isam {

/// The bytes of a long value (memo, OLE object, property list) of the row in the handle's page
/// buffer, whose 12-byte reference starts at start and is size bytes long: stored in the row,
/// on one page, or on a chain of pages. mdbtools follows such a chain as long as it goes on;
/// here it is followed once: a chain that comes back to a part it passed, or has more parts
/// than the file has pages, throws IsamError naming the file. The bytes never exceed the length
/// the reference gives; a chain that ends early yields what it holds.
QByteArray readJetLongValue(MdbHandle* mdb, const QString& path, qint64 pages, int start, int size);

/// A memo's bytes as text, in the code page the handle decodes.
QString jetMemoText(MdbHandle* mdb, const QByteArray& bytes);

} // namespace kv::engine::isam
