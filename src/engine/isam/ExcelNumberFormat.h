#pragma once

#include <QString>

namespace kv::engine::isam {

/// Whether an Excel number format shows a date or a time: workbooks (.xls and .xlsx) store
/// dates as day numbers, so the format is the only thing that tells them from other numbers.
bool isDateFormatCode(const QString& format);
/// The same for the built-in formats that a workbook refers to by number without storing them.
bool isBuiltInDateFormat(int index);

} // namespace kv::engine::isam
