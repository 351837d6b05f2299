#pragma once

#include <QString>
#include <optional>

namespace kv {

/// The sort order a click on a column head gives a table view: the last sort field and its
/// direction, "ASC" or "DESC" (empty before the first sort).
class Kopfsortierung {
public:
    /// A click on the head of a column showing feld of type typ. A new field keeps the direction
    /// (ascending for the first sort); the same field again toggles it. Memo columns do not
    /// sort: nullopt, and the state stays. Otherwise the direction now in force.
    std::optional<QString> klick(const QString& feld, int typ);

    const QString& feld() const { return m_feld; }
    const QString& richtung() const { return m_richtung; }
    bool aufsteigend() const { return m_richtung != QLatin1String("DESC"); }
    bool aktiv() const { return !m_feld.isEmpty(); }

    /// sql with its order clause replaced by the sort in force; unchanged without one.
    QString anwenden(const QString& sql) const;

    /// Puts a state back (after a sort that could not be opened).
    void setze(const QString& feld, const QString& richtung);

private:
    QString m_feld;
    QString m_richtung;
};

} // namespace kv
