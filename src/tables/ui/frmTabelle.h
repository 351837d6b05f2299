#pragma once

#include "base/Fehlermeldung.h"
#include "tables/Kopfsortierung.h"
#include "tables/Suchbedingung.h"
#include "tables/Tabellendefinition.h"
#include "tables/ui/Ansichtsmodell.h"
#include "tables/ui/Tabellenumgebung.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QMdiArea;
class QProgressBar;

namespace kv {

class DataGrid;
class Hintergrundabfrage;
struct Tabellenspalte;

namespace engine {
class Database;
class Recordset;
} // namespace engine

/// The table-view window: an MDI child that shows the records of a view's record source in an
/// editable grid with its tool bar, navigation bar, search row, footer sums and an optional
/// status line. It is opened with a table name and a definition text (empty: the table's
/// standard view) and never writes the definition.
class frmTabelle : public QMainWindow {
    Q_OBJECT
public:
    explicit frmTabelle(Tabellenumgebung umgebung, QWidget* parent = nullptr);
    ~frmTabelle() override;

    /// Opens a view in mdi: the window is made, set up from the definition and shown.
    static frmTabelle* oeffnen(QMdiArea* mdi, const Tabellenumgebung& umgebung,
        const QString& tabelle, const QString& definitionText);

    /// Sets the window up for tabelle and definitionText (empty: the standard view); every
    /// failure is shown and leaves a usable, possibly empty window.
    void DefText(const QString& tabelle, const QString& definitionText);

    /// The tool dispatch; name in lower case ("neu", "löschen").
    void werkzeugGeklickt(const QString& name);

    const Tabellendefinition& definition() const { return m_definition; }
    bool standardansicht() const { return m_standard; }
    bool vorgabenUmsetzen() const { return m_vorgabenUmsetzen; }
    /// The view is read-only (by its definition or because the records cannot be changed).
    bool gesperrt() const { return m_gesperrt; }
    bool hinzufuegen() const { return m_hinzufuegen; }
    /// The statement the shown records come from (conditions and sort included).
    const QString& aktuellesSql() const { return m_aktuellesSql; }
    const QString& suchzeilenbedingung() const { return m_suchzeilenbedingung; }
    F3Suchzustand& suchzustand() { return m_suche; }
    const Kopfsortierung& sortierung() const { return m_sortierung; }
    /// The footer sums are being computed (or start with the next paint).
    bool summenLaufen() const;
    /// The keys of the records (on opening, Alt+R, a new order or new conditions) are being
    /// read; until a first page of them is there the rows shown are the previous ones (none on
    /// opening), then that page, which ends after its rows until the others follow. The rows
    /// cannot be edited meanwhile.
    bool liestDatensaetze() const { return m_neu.rs != nullptr || m_neu.folgt; }

    DataGrid* TDBGrid1() const { return m_grid; }
    Fensterleisten* leisten() const { return m_leisten; }
    /// The grid model; nullptr when the program handed in no maker.
    Rastermodell* modell() const { return m_modell; }
    /// The record set shown; nullptr when the source could not be opened.
    engine::Recordset* datensatz() const;
    /// The bar that shows long work and its cancel.
    QWidget* fortschritt() const { return m_fortschritt; }
    /// How long work runs before its bar (or the box of a copy) shows.
    void setzeFortschrittsverzoegerung(int ms);
    /// The keys of all rows of a new order are read after those of the first page instead of
    /// beside them (by itself on a machine with one core; those of new conditions always are).
    void setzeAlleNachErsterSeite(bool nacheinander) { m_alleNachErsterSeite = nacheinander; }

    /// Applies the F3 and search-row conditions to the view's own statement and requeries; false
    /// (with the message) when the statement cannot be opened, the previous records staying.
    /// The records of a narrowed set are read in the background: they show when complete.
    bool bedingungenAnwenden();
    /// Computes the footer sums again (in the background).
    void summenBerechnen();

Q_SIGNALS:
    /// The footer sums of the last computation are shown.
    void summenFertig();
    /// The records of a new order or new conditions are shown (or their reading ended without
    /// them: cancelled or failed).
    void datensaetzeGelesen();
    /// The first page of a sorted or filtered set is shown; its other rows follow
    /// (datensaetzeGelesen).
    void ersteSeiteGezeigt();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // frmTabelle.cpp: set-up and look
    void kopfAnwenden();
    void spaltenAnwenden();
    void leistenAufbauen();
    void sperreAnwenden();
    void geometrieAnwenden();
    void positionAnzeigen();
    void statuszeileAnzeigen(int spalte);
    void werkzeugeAktualisieren();
    bool taste(QKeyEvent* e);

    // frmTabelleDaten.cpp: records, conditions, sort, sums, commands
    QList<Datenfeldinfo> datenfelder() const;
    void suchzeileGeaendert();
    void kopfGeklickt(int spalte);
    void kopfbilderAnwenden();
    void neu(bool kopie);
    void hinzufuegenBegonnen();
    void hinzufuegenBeendet();
    void vorgabenEinsetzen(int zeile);
    void loeschen();
    void kopie();
    void aktualisieren();
    QString bearbeitungstext(int zeile, int spalte) const;
    void summenStarten();
    void summenAnzeigen(quint64 lauf, const QVariant& ergebnis);
    void summenSynchron();
    void anzahlZurueckgeben();

    // frmTabelleLesen.cpp: the records, a new order or new conditions, read in the background
    enum class Neuart { Lesen, Sortierung, Bedingung };
    bool neuLesen(const QString& sql, Neuart art, const QString& fehlersatz, Fehlerkennung kennung,
        bool zeileBehalten = false);
    /// The records of sql (the view's own statement or the one shown), on opening and Alt+R.
    bool datenquelleLesen(const QString& sql, bool zeileBehalten = false);
    std::unique_ptr<engine::Recordset> oeffneFuerNeuLesen(const QString& sql, bool& abgebrochen);
    /// While a copy on the window's connection reports its progress, an answer that needs the
    /// connection is put off (true); false: it may go on now.
    bool spaeterWennFrei(std::function<void()> antwort);
    void schluesselGelesen(quint64 lauf, const QVariant& ergebnis);
    void ersteSeiteErhalten(quint64 lauf, const QVariant& ergebnis);
    /// The set being read with its keys (all, or a first page); nullptr after a failure,
    /// which is reported.
    std::unique_ptr<engine::Recordset> mitSchluesseln(
        std::vector<qint64> schluessel, bool ersteSeite);
    void alleSchluesselZeigen(std::vector<qint64> schluessel);
    void ersteSeiteZeigen(std::vector<qint64> schluessel);
    void alleStarten();
    void restGelesen(std::vector<qint64> schluessel);
    void folgeBeenden();
    /// While a first page waits for its other keys, a move to the last record goes there once
    /// they are read (true); false: it may go now.
    bool zumEndeNachDenSchluesseln();
    qint64 ersteSeitenzeilen() const;
    void schluesselFehler(qint64 nummer, const QString& beschreibung);
    void neuesZeigen(std::unique_ptr<engine::Recordset> rs, int zeile = -1);
    void lesenAbbrechen();
    void lesenBeendet();
    void hinweisZeigen(const QString& text);
    void hinweisEntfernen();
    void arbeitBeginnt(const QString& text);
    void arbeitEndet();
    bool arbeitLaeuft() const;
    void zaehlenBeobachten();
    void arbeitAbbrechen();
    bool schliessenErlaubt();

    Tabellenumgebung m_umgebung;
    Tabellendefinition m_definition;
    QString m_tabelle;
    bool m_standard = false;
    bool m_vorgabenUmsetzen = false;
    bool m_gesperrt = false;
    bool m_hinzufuegen = false;
    QList<Tabellenspalte> m_spalten;
    F3Suchzustand m_suche;
    QString m_suchzeilenbedingung;
    bool m_suchzeileInKraft = false;
    Kopfsortierung m_sortierung;
    QString m_aktuellesSql;
    // Typing in the search row requeries once the typed keys are handled.
    QTimer m_suchzeilenTimer;

    std::unique_ptr<Ansichtsmodell> m_anbindung;
    Rastermodell* m_modell;
    DataGrid* m_grid;
    Fensterleisten* m_leisten;
    QWidget* m_fortschritt;
    QLabel* m_fortschrittText;
    QProgressBar* m_fortschrittBalken;
    QTimer m_fortschrittVerzoegerung;
    Hintergrundabfrage* m_summen;
    // The sums start after the next paint of the rows (or after a moment without one), so that
    // they do not hold up the first rows.
    bool m_summenWarten = false;
    QTimer m_summenSpaetestens;
    quint64 m_anzahlMarke = 0; // the model's rows are counted with the sums
    bool m_zaehlen = false; // the model counts the rows shown (by itself or with the sums)
    Hintergrundabfrage* m_schluessel;
    Hintergrundabfrage* m_ersteSeite; // the keys of a first page, beside all keys
    bool m_alleNachErsterSeite;
    // A set whose keys are being read.
    struct Neuer {
        std::unique_ptr<engine::Recordset> rs;
        QString sql;
        Neuart art = Neuart::Sortierung;
        QString fehlersatz;
        Fehlerkennung kennung = Fehlerkennung::Nr;
        bool zeileBehalten = false; // the current row stays current in the set read
        qint64 seite = 0; // keys of the first page being read; 0 without one
        bool folgt = false; // the first page is shown, all keys are being read
        quint64 anzahlmarke = 0; // the model's count, taken over until all keys are there
        int zeile = -1; // the row to go to once all keys are there
        bool ansEnde = false; // or the last row
        bool summen = false; // the sums are computed once all keys are there
        QString arbeitstext; // beside the progress bar
        std::function<QVariant(engine::Database&)> alle; // started after the first page
    };
    Neuer m_neu;
    // The order and search row of the rows shown, restored when a reading is cancelled.
    struct Gezeigt {
        Kopfsortierung sortierung;
        QString suchzeilenbedingung;
        bool suchzeileInKraft = false;
    };
    Gezeigt m_gezeigt;
    bool m_schliesstSich = false;
    // A standard view takes its columns from the first set read.
    bool m_spaltenNachLesen = false;
    // A note in place of the progress bar (a reading cancelled), until new work or new rows.
    bool m_hinweis = false;
    int m_fortschrittsverzoegerung;
};

} // namespace kv
