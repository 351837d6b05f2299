#pragma once

#include <QList>
#include <QString>
#include <array>

namespace kv::engine {
class Database;
} // namespace kv::engine

namespace kv {

class Einstellungen;

/// The kinds of rows the central navigator lists.
enum class Zeilenart { StandardMaske, StandardTabelle, BenutzerMaske, BenutzerTabelle, Abfrage };

/// "Standard-Maske", "Standard-Tabelle", "Benutzer-Maske", "Benutzer-Tabelle", "Tabellen-Abfrage".
QString zeilenartText(Zeilenart art);
/// The object word of a kind's group: "Maske", "Tabelle" or "Tabellen-Abfrage".
QString objektwort(Zeilenart art);
bool istMaske(Zeilenart art);
bool istBenutzer(Zeilenart art);
bool istStandard(Zeilenart art);

/// One row of the navigator.
struct Zentralezeile {
    Zeilenart art = Zeilenart::StandardMaske;
    /// Table name, "definition name : title" or query name; the placeholder text of an empty
    /// group.
    QString anzeige;
    /// Table name, full path of the definition file or query name; empty for a placeholder.
    QString schluessel;

    bool platzhalter() const { return schluessel.isEmpty(); }
    QString artText() const { return zeilenartText(art); }
    bool operator==(const Zentralezeile&) const = default;
};

/// The navigator's five group switches, each stored under its caption + "ZentraleAnzeigen".
struct Zentraleschalter {
    enum Index { Masken, Tabellen, Standard, Benutzer, Abfragen, Anzahl };

    std::array<bool, Anzahl> an { true, true, true, true, true };

    bool operator[](Index i) const { return an[static_cast<size_t>(i)]; }

    /// "Masken", "Tabellen", "Standard", "Benutzer", "Abfragen".
    static QString beschriftung(int index);
    /// The settings key, e.g. "MaskenZentraleAnzeigen".
    static QString schluessel(int index);
    static QString tooltip(int index);

    /// The stored states (section "Settings"); a missing or unreadable value counts as on.
    static Zentraleschalter lesen(const Einstellungen& einstellungen);
    /// Writes one switch as "1" or "0", the way the check boxes hold it.
    void schreiben(Einstellungen& einstellungen, int index) const;
    void schreiben(Einstellungen& einstellungen) const;
};

/// The rows and the header line of the central navigator, built without any window.
class Zentraleliste {
public:
    /// Rebuilds the rows from the database and the definition files beside it: standard masks,
    /// standard table views, user masks, user table views and the select, crosstab and union
    /// queries, as far as the switches let them in, each empty group with a placeholder. The
    /// folder is read once; the catalog once when the database has not read it yet. Shows
    /// "Bitte warten..." in the status line meanwhile. Throws engine::EngineError when the
    /// catalog cannot be read (the rows are unchanged then).
    void ListenRefresh(engine::Database& db, const QString& datenbankpfad, int datenbankTyp,
        const Zentraleschalter& schalter);

    const QList<Zentralezeile>& zeilen() const { return m_zeilen; }
    /// "Datenbankobjekte aus: … Änderbar: … Format: …".
    const QString& kopfzeile() const { return m_kopfzeile; }
    /// True when the database has at least one table that is no system table, whatever the
    /// switches show.
    bool hatTabellen() const { return m_hatTabellen; }

    /// The next row after aktuell (wrapping to the top) whose display name starts with zeichen,
    /// compared in capitals; -1 when there is none. aktuell may be -1 (no current row).
    int naechsteMitAnfang(int aktuell, QChar zeichen) const;
    /// Where the row that was current before a rebuild is now: the same kind and key, else
    /// the same position as far as the list reaches; -1 for an empty list.
    int wiederfinden(const Zentralezeile& vorher, int vorherigePosition) const;

    /// The header line for a database: its file name, whether it can be changed ("Ja"/"Nein")
    /// and its format (the engine's file version, or the connect prefix of a foreign type).
    static QString kopfzeileFuer(
        const QString& datenbankpfad, bool aenderbar, const QString& version, int datenbankTyp);

private:
    QList<Zentralezeile> m_zeilen;
    QString m_kopfzeile;
    bool m_hatTabellen = false;
};

} // namespace kv
