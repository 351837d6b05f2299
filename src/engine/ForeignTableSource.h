#pragma once

#include "engine/isam/IsamTable.h"

#include <QString>
#include <memory>

namespace kv::engine {

/// Opens the table source of the foreign file or folder a connect text names, writable when
/// its driver can write it. Throws isam::IsamError (German, naming the file) when the file is
/// missing or unreadable, and when the connect text names a format no driver reads.
std::unique_ptr<isam::IsamTable> openForeignTable(const QString& connect, const QString& source);

/// The tables of the foreign folder or workbook a connect text names, as its driver lists them.
QStringList foreignTableNames(const QString& connect);

/// Creates a new table in the foreign folder or workbook a connect text names; IsamError 3010
/// when it exists, 3251 where the format cannot take a new one.
std::unique_ptr<isam::IsamTable> createForeignTable(
    const QString& connect, const QString& name, const isam::IsamFields& fields);

/// The workbook an Excel connect text is written to: no library writes the old binary
/// workbooks, so a new table named for one goes into an .xlsx of the same name beside it.
QString excelTargetPath(const QString& workbook);

/// Whether a connect text names a foreign format (its prefix is not empty).
bool isForeignConnect(const QString& connect);

} // namespace kv::engine
