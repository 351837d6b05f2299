#pragma once

#include "engine/FieldReplacement.h"
#include "tables/FeldZeile.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace kv::engine {
class Database;
class Field;
class TableDef;
} // namespace kv::engine

namespace kv {

/// One row of the structure editor's index list.
struct IndexZeile {
    QString name;
    /// "+Feld;-Feld".
    QString felder;
    bool primaer = false;
    bool eindeutig = false;
    bool erforderlich = false;
    bool nullwerteIgnorieren = false;
    /// The index belongs to a relation; it can be neither renamed nor deleted here.
    bool fremdschluessel = false;
};

/// What became of a field row when it was left.
enum class Zeilenergebnis {
    Unveraendert, ///< nothing to store
    Gespeichert,
    Abgelehnt, ///< a step failed; its message was shown and the row keeps the entries
    Beibehalten, ///< No to the structure-change question: the stored field stays as it was
};

/// The structure editor without its window: a new table (stored with its first field) or a
/// stored table, its field rows and index rows, and every change the editor makes, each asking
/// its questions and showing its messages through the dialog seam. The table is looked up by
/// name for every step, since a rollback makes the engine read its collections again.
class Strukturbearbeitung {
public:
    /// neu: a new table named tabelle (a free name "Tabelle…" when empty); otherwise the stored
    /// table of that name (throws engine::EngineError 3265 when there is none).
    Strukturbearbeitung(engine::Database& db, bool neu, const QString& tabelle);
    ~Strukturbearbeitung();
    Strukturbearbeitung(const Strukturbearbeitung&) = delete;
    Strukturbearbeitung& operator=(const Strukturbearbeitung&) = delete;

    engine::Database& datenbank() const { return m_db; }
    /// Makes the progress report of one field replacement or its undo (a window shows it); it
    /// lives as long as that work.
    void setzeFortschrittsquelle(std::function<engine::ChangeProgress()> quelle)
    {
        m_fortschrittsquelle = std::move(quelle);
    }
    /// "Tabellenstruktur neu erstellen" or "Tabellenstruktur ändern".
    QString titel() const;
    /// The table is not stored yet.
    bool neueTabelle() const { return m_neu != nullptr; }
    QString tabellenname() const { return m_name; }
    /// The table definition being edited (the new one while it is not stored).
    engine::TableDef& tabelle() const;
    /// An attached table: its structure can only change in the other database.
    bool extern_() const;
    /// Fields and indexes can be changed: an internal table of a database that can be written.
    bool aenderbar() const;

    // Field rows ----------------------------------------------------------------------------
    const QList<FeldZeile>& zeilen() const { return m_zeilen; }
    /// Replaces the entries of a row (the window's edits); the row counts as changed.
    void setzeZeile(int zeile, const FeldZeile& werte);
    /// A row that is new or whose entries differ from the stored field.
    bool zeileOffen(int zeile) const;
    /// Adds a row with the defaults of a new field; its index, or -1 after the message that no
    /// free name is left.
    int neueZeile();
    /// Stores the row in the order of the editor's steps; see Zeilenergebnis. A successful save
    /// reloads all rows.
    Zeilenergebnis speichereZeile(int zeile);
    /// Drops the entries of a row: a new row goes, a stored one shows its field again.
    void verwirfZeile(int zeile);
    /// Asks and deletes the field of a row (a new row just goes). True when the rows changed.
    bool loescheFeld(int zeile);

    // Index rows ----------------------------------------------------------------------------
    const QList<IndexZeile>& indizes() const { return m_indizes; }
    /// Refuses a foreign-key index, else asks and deletes. True when the index went.
    bool loescheIndex(int zeile);
    /// Renames an index; an empty name or a refusal shows its message. True when renamed.
    bool benenneIndexUm(int zeile, const QString& name);

    /// Renames the stored table (a new one just takes the name): a taken name is made unique
    /// and the user told so. Returns the name the table has afterwards.
    QString benenneTabelleUm(const QString& wunsch);

    /// Reads the rows and indexes again from the table.
    void laden();

    /// The last type change of a field of this table can still be undone.
    bool rueckgaengigMoeglich() const;
    /// "Strukturänderung rückgängig": asks, then brings the field back with its type and its
    /// old values. True when it was undone.
    bool strukturaenderungRueckgaengig();

    // Import and external connection (Strukturverbindung.cpp) --------------------------------
    /// Appends copies of the fields of table quelltabelle in the Kelvado database pfad after the
    /// existing fields (a new table is stored with them). True when fields were added.
    bool importiereStruktur(const QString& pfad, const QString& quelltabelle);
    /// The info panel's text about the external connection.
    QString verbindungsinfo() const;
    /// "Externe Verbindung festlegen" or "Externe Verbindung aufheben".
    QString verbindungsknopf() const;
    /// For an attached table: asks, deletes the link and goes on as a new table of that name.
    bool verbindungAufheben();
    /// For an internal table: asks when it holds records, then the caller picks the other
    /// database and table. True when the caller may go on.
    bool verbindungVorbereiten();
    /// Replaces the internal table by an attached table quelltabelle of the database or foreign
    /// file the connect text names (see Verbindungstext) under a free name. True when attached.
    bool verbindungFestlegen(const QString& connect, const QString& quelltabelle);

private:
    /// Any change but a field replacement ends what the undo keeps.
    void strukturGeaendert();
    Zeilenergebnis speichereNeuesFeld(int zeile);
    Zeilenergebnis aendereFeld(int zeile);
    /// Stores the new table with its first field; shows its message on failure.
    bool tabelleSpeichern(std::unique_ptr<engine::Field> feld);
    QStringList andereTabellen() const;
    /// wunsch, or a free name made from it after telling the user; nullopt when none is left.
    std::optional<QString> freierTabellenname(const QString& wunsch) const;
    static FeldZeile zeileVon(const engine::Field& feld);

    engine::Database& m_db;
    QString m_name;
    std::unique_ptr<engine::TableDef> m_neu;
    QList<FeldZeile> m_zeilen;
    /// The stored field of each row as it was read; nullopt for a new row.
    QList<std::optional<FeldZeile>> m_gespeichert;
    QList<IndexZeile> m_indizes;
    /// The last saved row replaced its field.
    bool m_ersetzt = false;
    std::function<engine::ChangeProgress()> m_fortschrittsquelle;
};

} // namespace kv
