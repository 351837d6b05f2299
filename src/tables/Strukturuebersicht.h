#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kv::engine {
class Database;
}

namespace kv {

/// The three groups of the structure overview, in their order.
enum class Strukturgruppe { Tabellen, Abfragen, Relationen };

/// One row of the overview: seven columns (kind, name, records or "extern" or query type,
/// created, last updated, source table, connect string).
struct Strukturzeile {
    Strukturgruppe gruppe = Strukturgruppe::Tabellen;
    QStringList spalten;
    /// An attached table (deleting it removes only the link).
    bool extern_ = false;

    QString art() const { return spalten.value(0); }
    QString name() const { return spalten.value(1); }
    /// The row a group without objects shows; recognised by its name alone.
    bool platzhalter() const;
};

inline constexpr int Strukturspalten = 7;

/// The kind word of a group: "Tabelle", "Abfrage", "Relation".
QString strukturart(Strukturgruppe gruppe);
/// Picture name of a group: "TabelleStandard", "TabelleAbfragen", "Relation".
QString strukturbild(Strukturgruppe gruppe);

/// The rows of the structure overview, built without any window.
class Strukturuebersicht {
public:
    /// Rebuilds the rows: the tables (no system tables) with their record counts, the stored
    /// queries with their types, the relations; a placeholder for each empty group.
    void aufbauen(engine::Database& db);
    const QList<Strukturzeile>& zeilen() const { return m_zeilen; }

    /// Deletes the object of row zeile after the question "Möchten Sie das interne …-Objekt
    /// wirklich löschen?"; a placeholder does nothing. True when the object was deleted and its
    /// collection refreshed (the caller rebuilds the rows); a refusal of the engine is shown.
    bool loeschen(engine::Database& db, int zeile);

private:
    QList<Strukturzeile> m_zeilen;
};

} // namespace kv
