#pragma once

#include <QByteArray>
#include <QStringList>
#include <QVector>

namespace kv::engine::isam {

/// One of the small fixed parts of a workbook we write.
struct XlsxPackagePart {
    QByteArray name; ///< path in the zip archive
    QByteArray xml;
};

/// Content types, relations, workbook and styles for sheets named in this order; sheet n is
/// the part xl/worksheets/sheet<n>.xml. The styles match XlsxStyle.
QVector<XlsxPackagePart> xlsxPackageParts(const QStringList& sheetNames);

} // namespace kv::engine::isam
