#pragma once

#include "tables/Strukturbearbeitung.h"

#include <QDialog>
#include <QModelIndex>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace kv::engine {
class Database;
}

namespace kv {

class Feldlistendelegat;
class Feldlistenmodell;
class Indexlistenmodell;

/// The structure editor: creates a new table or changes a stored one. The name box (Text1),
/// the field list (TDBGrid1), whose rows are stored when they are left, the index list
/// (TDBGrid2), the info panel about an external connection and the command buttons.
class frmTabellenStruktur : public QDialog {
    Q_OBJECT
public:
    /// neu: a new table (named tabelle, or a free name when it is empty); otherwise the stored
    /// table tabelle (throws engine::EngineError 3265 when there is none). datenbankpfad is the
    /// open database's file, which cannot be chosen as the other database.
    frmTabellenStruktur(engine::Database& db, bool neu, const QString& tabelle,
        const QString& datenbankpfad, QWidget* parent = nullptr);
    ~frmTabellenStruktur() override;

    /// Shows the editor modally; returns when it is closed.
    static void oeffne(engine::Database& db, bool neu, const QString& tabelle,
        const QString& datenbankpfad, QWidget* parent);

    Strukturbearbeitung& bearbeitung() { return m_bearbeitung; }
    /// How long a field replacement runs before its progress box appears (tests use 0).
    void setzeFortschrittsverzoegerung(int ms) { m_fortschrittsverzoegerung = ms; }
    QLineEdit* Text1() const { return m_name; }
    QTableView* TDBGrid1() const { return m_felder; }
    QTableView* TDBGrid2() const { return m_indexliste; }
    QLabel* InfoanzeigeExtern() const { return m_info; }
    /// A command button by its object name ("NeuesFeld", "FeldLoeschen", "NeuerIndex",
    /// "IndexLoeschen", "Importieren", "Drucken", "Rueckgaengig", "ExterneVerbindung",
    /// "Schliessen").
    QPushButton* knopf(const QString& name) const;

    /// Leaves the field row being edited: stores it when it is new or changed. False when the
    /// row could not be stored (its message shown; the row stays current).
    bool zeileVerlassen();

    /// Escape, the close button and "Schließen": a changed row is stored first; the window
    /// stays open when that fails.
    void reject() override;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void aktuelleZeileGewechselt(const QModelIndex& aktuell, const QModelIndex& vorher);
    void zelleAbgelehnt(const QModelIndex& zelle, const QString& meldung);
    void neuesFeld();
    void feldLoeschen();
    void neuerIndex();
    void indexLoeschen();
    void importieren();
    void externeVerbindung();
    /// Shows what the Strukturbearbeitung holds: caption, name, lists, info panel, buttons.
    void anzeigen(int zeile = -1);
    void knoepfeAktualisieren();
    std::optional<QString> andereTabelle(const QString& titel);

    Strukturbearbeitung m_bearbeitung;
    QString m_datenbankpfad;
    Feldlistenmodell* m_feldmodell;
    Indexlistenmodell* m_indexmodell;
    Feldlistendelegat* m_delegat = nullptr;
    QLineEdit* m_name;
    QTableView* m_felder;
    QTableView* m_indexliste;
    QLabel* m_info;
    /// The row being edited; -1 when none.
    int m_offeneZeile = -1;
    int m_fortschrittsverzoegerung = 500;
    bool m_speichert = false;
};

} // namespace kv
