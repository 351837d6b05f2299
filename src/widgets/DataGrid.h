#pragma once

#include "base/Fehlermeldung.h"
#include "widgets/Navigationsleiste.h"
#include "widgets/Rasterspalte.h"

#include <QByteArray>
#include <QColor>
#include <QIcon>
#include <QWidget>
#include <array>
#include <functional>
#include <utility>

class QAbstractItemModel;
class QLabel;
class QModelIndex;
class QScrollBar;
class QTableView;

namespace kv {

class Rastermodell;
class Rasteransicht;
class Rasterfuss;
class Rasterkopf;
class Rasterproxy;

/// Checks a typed cell entry before the grid takes it: an empty text accepts it, any other text
/// is the message that refuses it (the editor stays open with the entry).
using Zellpruefung = std::function<QString(int spalte, const QString& text)>;

/// From how many marked rows on the Delete key asks before deleting.
enum class Loeschfrage { AbEinerZeile, AbZweiZeilen };

/// The data grid of the table view, the mask's sub-tables, the query window and the search
/// list: a table view on a grid model (Rastermodell) with a caption above, a search row under
/// the column heads, a footer row of per-column texts, colours, row marking with record
/// selectors, row-wise editing with a check of every entry, and the keys the windows rely on:
/// - Delete deletes the marked rows; with Shift, Ctrl or Alt it marks only the current row and
///   deletes it. The question "Möchten Sie die markierten Datensätze löschen?" comes from the
///   number of rows set by setzeLoeschfrage on.
/// - F6 puts the value of the same column in the row above into the current cell (nothing in
///   the first row); F7 puts today's date into a date cell.
/// - Escape drops the changes of the row being edited or added; with nothing to drop it is
///   reported by escapeOhneAenderung (the window closes).
/// - Shift+Enter inside a cell inserts a line break; Enter takes the entry.
/// A changed row is written when the current row moves to another row (or by
/// aenderungenUebernehmen); a failure shows the engine's error and keeps the row current and in
/// edit. Every message goes through the dialog seam.
class DataGrid : public QWidget {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    /// Shows modell (not owned; it must outlive the grid or be replaced first). A Rastermodell
    /// gets the column bindings and the add-new row, and its rows are edited and deleted
    /// through it; any other model is shown read-only as it is.
    void setzeModell(QAbstractItemModel* modell);
    QAbstractItemModel* modell() const { return m_modell; }
    Rastermodell* rastermodell() const { return m_rastermodell; }
    /// The table view inside (for focus, scrolling and tests); its model is the grid's own
    /// layer over the given model, with the same rows and columns.
    QTableView* ansicht() const;

    // Columns ---------------------------------------------------------------------------------
    /// Replaces the columns, in order; an empty list shows every field of the source.
    void setzeSpalten(const QList<Rasterspalte>& spalten);
    /// The columns as they are shown now, widths in twips as the user left them.
    QList<Rasterspalte> spalten() const;
    int spaltenanzahl() const;
    /// The head text of a column: its title, or its field name when the title is empty.
    QString spaltentitel(int spalte) const;
    QString datenfeld(int spalte) const;
    /// Engine type code of the column's field (0 when unknown).
    int feldtyp(int spalte) const;
    bool spalteGesperrt(int spalte) const;

    // Look ------------------------------------------------------------------------------------
    /// Caption shown above the grid; empty hides it.
    void setzeTitel(const QString& titel);
    QString titel() const;
    /// A colour as stored (0x00BBGGRR or a system-colour reference).
    void setzeFarbe(Rasterfarbe rolle, qint64 wert);
    QColor farbe(Rasterfarbe rolle) const;
    /// Alternate-row colouring: odd rows (1st, 3rd, …) in the normal-row colours, even rows in
    /// the alternate colours. Without it every row has the general colours.
    void setzeZebramuster(bool ja);
    bool zebramuster() const { return m_zebra; }
    /// Row height in twips; 0 or less follows the font.
    void setzeZeilenhoehe(double twips);
    /// Font size of cells, heads, search row, footer and caption in points.
    void setzeSchriftgroesse(double punkte);
    /// The last column reaches the grid's right edge.
    void setzeRechteSpalteExpandieren(bool ja);
    /// Column widths follow the grid's width proportionally when the grid is resized.
    void setzeProportionaleSpaltenbreiten(bool ja);
    bool proportionaleSpaltenbreiten() const { return m_proportional; }

    // Column heads ----------------------------------------------------------------------------
    /// The picture (a file; a missing one shows none) and tool tip of a head style.
    void setzeKopfstilBild(Kopfstil stil, const QString& bilddatei, const QString& tooltip = {});
    void setzeKopfstil(int spalte, Kopfstil stil);
    Kopfstil kopfstil(int spalte) const;

    // Search row ------------------------------------------------------------------------------
    void setzeSuchzeile(bool ja);
    bool suchzeile() const;
    QString suchtext(int spalte) const;
    /// Sets a search-row text without reporting it.
    void setzeSuchtext(int spalte, const QString& text);

    // Footer ----------------------------------------------------------------------------------
    void setzeFusszeile(bool ja);
    bool fusszeile() const;
    void setzeFusstext(
        int spalte, const QString& text, Spaltenausrichtung a = Spaltenausrichtung::Links);
    QString fusstext(int spalte) const;
    Spaltenausrichtung fussausrichtung(int spalte) const;
    void fusstexteLeeren();
    /// Sum of the column's values over all data rows, Null and non-numbers counting 0. Reads
    /// every row: meant for sub-table grids, not for large sets.
    double spaltensumme(int spalte) const;

    // Editing ---------------------------------------------------------------------------------
    /// No editing, adding or deleting.
    void setzeNurLesen(bool ja);
    bool nurLesen() const { return m_nurLesen; }
    /// Replaces the entry check; the default refuses non-numbers in numeric columns and
    /// non-dates in date columns (Typpruefung). An empty function takes every entry.
    void setzeZellpruefung(Zellpruefung pruefung);
    void setzeLoeschfrage(Loeschfrage ab);
    /// Title of the delete question ("Daten löschen").
    void setzeLoeschtitel(const QString& titel);
    /// The sentences of the messages when a row cannot be written or deleted, and how the
    /// error number is introduced.
    void setzeFehlertexte(const QString& speichern, const QString& loeschen, Fehlerkennung kennung);
    /// Takes an open cell entry and writes a changed row. False (the message shown, the row
    /// still in edit) when the entry is refused or the row cannot be written.
    bool aenderungenUebernehmen();
    /// Drops an open cell entry and the changes of the row being edited or added.
    void aenderungenVerwerfen();
    /// Goes to the add-new row, begins a new record and opens the editor in its first
    /// editable column. False in read-only mode or when the pending row cannot be written.
    bool neueZeileBeginnen();
    /// Puts text into a cell as if the user had typed it, without the entry check (for default
    /// values and copies of a record): into the row, and into the open editor too when it is
    /// that cell's. False for a cell that takes no entries or a text the field cannot hold.
    bool setzeZelltext(int zeile, int spalte, const QString& text);
    /// A new record is being entered.
    bool imHinzufuegen() const;
    /// A row has unsaved changes.
    bool inBearbeitung() const;

    // Rows ------------------------------------------------------------------------------------
    /// Rows of records (the add-new row and a new record not saved yet are not counted).
    int datenzeilen() const;
    int aktuelleZeile() const;
    int aktuelleSpalte() const;
    /// Makes a row current (writing a changed row first); false when that failed.
    bool setzeAktuelleZeile(int zeile);
    /// Moves the current row by a navigation step, clamped at both ends.
    void bewege(Navigationsschritt schritt);
    QString zelltext(int zeile, int spalte) const;
    QVariant zellwert(int zeile, int spalte) const;
    QByteArray lesezeichen(int zeile) const;
    /// First and last row on screen (-1, -1 without rows); for printing what the user sees.
    std::pair<int, int> sichtbareZeilen() const;

    // Marking ---------------------------------------------------------------------------------
    QList<int> markierteZeilen() const;
    /// Bookmarks of the marked rows, in row order (rows without one are left out).
    QList<QByteArray> markierteLesezeichen() const;
    /// Marks a row; hinzu keeps the rows marked before.
    void markiereZeile(int zeile, bool hinzu = false);
    void markierungAufheben();
    /// Deletes the marked rows after the question (see setzeLoeschfrage); true when rows were
    /// deleted. A refused question, read-only mode or no marked row delete nothing.
    bool loescheMarkierte();

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

Q_SIGNALS:
    /// The user changed a search-row cell.
    void suchtextGeaendert(int spalte, const QString& text);
    /// A click on a column head (not on its edge).
    void kopfGeklickt(int spalte);
    void aktuelleZeileGeaendert(int zeile);
    /// The current cell moved (status line).
    void aktuelleZelleGeaendert(int zeile, int spalte);
    /// A new record began in the add-new row (by typing or neueZeileBeginnen).
    void hinzufuegenBegonnen();
    /// The new record was saved or dropped.
    void hinzufuegenBeendet(bool gespeichert);
    /// A changed or new row was written.
    void zeileGespeichert(const QByteArray& lesezeichen, bool neu);
    void zeilenGeloescht(int anzahl);
    /// Escape with no open entry and no changed row.
    void escapeOhneAenderung();
    /// Enter outside an editor, or a double click on a row.
    void zeileGewaehlt(int zeile);

private:
    friend class Rasteransicht;
    friend class Rasterauswahl;
    friend class Rasterdelegat;
    friend class Rasterfuss;
    friend class Rasterproxy;

    struct Spalte {
        Rasterspalte def;
        QString fusstext;
        Spaltenausrichtung fussausrichtung = Spaltenausrichtung::Links;
        Kopfstil kopfstil = Kopfstil::Heading;
        int basisbreite = 0; // pixels, for proportional widths
    };

    // DataGrid.cpp: set-up and look
    void modellZurueckgesetzt();
    void spaltenAnwenden();
    void spaltenzahlAnpassen();
    void proportionalAnpassen();
    void laufleisteAbgleichen();
    void zeilenhoeheAnwenden();
    void farbenAnwenden();
    int twipsZuPixel(double twips) const;
    double pixelZuTwips(int pixel) const;
    QModelIndex index(int zeile, int spalte) const;
    QIcon kopfbild(int spalte) const;
    QString kopftipp(int spalte) const;
    bool istNeuzeile(int zeile) const;
    int ersteBearbeitbareSpalte() const;
    bool bearbeitbar(int spalte) const;

    // DataGridBearbeitung.cpp: editing, keys, deleting
    bool taste(QKeyEvent* e);
    bool darfWechseln(const QModelIndex& nach);
    bool editorPruefen(QWidget* editor);
    bool editorUebernehmen();
    bool zeileSpeichern();
    void wertEinsetzen(const QString& text);
    QString wertDarueber() const;
    void bearbeitungBegonnen(int zeile, bool neu);
    void aktuelleZeileVomModell(int zeile);
    void lesefehlerZeigen(qint64 nummer, const QString& beschreibung);
    void aktuellGeaendert(const QModelIndex& aktuell, const QModelIndex& vorher);
    void kopfMarkierung(int zeile);
    bool loeschen(const QList<int>& zeilen, bool fragen);

    // First, so that it is false while the parts below are made and already call back.
    bool m_fertig = false;
    QAbstractItemModel* m_modell = nullptr;
    Rastermodell* m_rastermodell = nullptr;
    QLabel* m_titel;
    Rasterproxy* m_proxy;
    Rasteransicht* m_ansicht;
    Rasterkopf* m_kopf;
    Rasterfuss* m_fuss;
    QScrollBar* m_laufleiste;

    QList<Spalte> m_spalten;
    bool m_spaltenGesetzt = false;
    std::array<QColor, RasterfarbenAnzahl> m_farben;
    std::array<QIcon, 3> m_kopfbilder;
    std::array<QString, 3> m_kopftipps;
    bool m_zebra = false;
    bool m_nurLesen = false;
    bool m_proportional = false;
    int m_basisViewport = 0;
    bool m_breitenSetzen = false;
    double m_zeilenhoeheTwips = 0;

    Zellpruefung m_pruefung;
    Loeschfrage m_loeschfrage = Loeschfrage::AbEinerZeile;
    QString m_loeschtitel;
    QString m_speicherfehler;
    QString m_loeschfehler;
    Fehlerkennung m_kennung = Fehlerkennung::Nr;

    QWidget* m_editor = nullptr; // the open cell editor
    bool m_pruefungLaeuft = false;
    bool m_editorAbgelehnt = false;
    bool m_hinzufuegen = false;
    bool m_vomModell = false;
    int m_markierungsanker = -1;
    Qt::KeyboardModifiers m_kopfUmschalter; // of the last press on a record selector
    bool m_lesefehlerGezeigt = false;
};

} // namespace kv
