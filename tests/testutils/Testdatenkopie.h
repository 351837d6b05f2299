#pragma once

#include <QString>
#include <QStringList>

namespace kv::test {

/// Copies files of the shared test data (quellordner relative to it) into the folder ziel,
/// which is made when missing; the copies are writable. False when one could not be copied.
bool kopiereTestdaten(const QString& quellordner, const QStringList& dateien, const QString& ziel);

} // namespace kv::test
