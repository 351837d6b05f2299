#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

namespace kv::engine::isam {

class SheetTable;

/// What every sheet of an .xlsx workbook needs from the workbook's other parts.
struct XlsxParts {
    struct Sheet {
        QString name;
        QString entry; ///< path of the sheet's XML part in the zip archive
    };
    QVector<Sheet> sheets;
    QStringList strings; ///< shared strings
    QVector<bool> dateStyles; ///< per cell style: does its number format show a date or time
    bool date1904 = false;
};

/// Reads workbook, relations, shared strings and styles; throws IsamError naming the file.
std::shared_ptr<const XlsxParts> readXlsxParts(const QString& path);
std::unique_ptr<SheetTable> openXlsxSheet(
    const QString& path, const std::shared_ptr<const XlsxParts>& parts, const QString& name);

} // namespace kv::engine::isam
