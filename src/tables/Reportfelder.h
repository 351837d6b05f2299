#pragma once

#include <QList>
#include <QString>

namespace kv {

/// A picture field handed to reports under a name of its own ("Reportfelder" of table views and
/// masks).
struct Reportfeld {
    QString feld;
    QString name;
    bool operator==(const Reportfeld&) const = default;
};

/// Reads "Feld,Name;Feld,Name"; pieces are trimmed and entries without a field are dropped.
QList<Reportfeld> leseReportfelder(const QString& wert);
/// The value as written; separators inside names would break the list, so they become blanks.
QString reportfeldtext(const QList<Reportfeld>& felder);

} // namespace kv
