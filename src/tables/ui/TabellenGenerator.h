#pragma once

#include "tables/Tabellenentwurf.h"
#include "tables/ui/Tabellenumgebung.h"

#include <QColor>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QMdiArea;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;
class QToolButton;

namespace kv {

class DataGrid;

/// The table-view designer: every setting of a view's definition file, the column list with a
/// live preview grid, the twelve colours, the copy template and the report fields; "Speichern"
/// writes the file and closes, "Schließen" asks first when something changed.
class TabellenGenerator : public QWidget {
    Q_OBJECT
public:
    /// Asks for a colour, starting with the current one; nullopt when cancelled.
    using Farbwahl = std::function<std::optional<QColor>(const QColor& aktuell)>;

    /// Column indexes of the column list.
    enum Spaltenliste { Datenfeld, Titel, Sperre, Summe, Ausrichtung, Formatierung, Listenbreite };
    /// Column indexes of the report-field list.
    enum Reportliste { Grafikfeld, Reportname };

    explicit TabellenGenerator(Tabellenumgebung umgebung, QWidget* parent = nullptr);
    ~TabellenGenerator() override;

    /// Opens the designer in mdi with the table name, the definition text (empty for a new view)
    /// and the file the text came from (empty for a new view).
    static TabellenGenerator* oeffnen(QMdiArea* mdi, const Tabellenumgebung& umgebung,
        const QString& tabelle, const QString& definitionText, const QString& datei);

    /// Fills the designer (DefTextTSK).
    void DefTextTSK(const QString& tabelle, const QString& definitionText, const QString& datei);

    const Tabellenentwurf& entwurf() const { return *m_entwurf; }
    /// The definition as it would be written now: the controls' values, the columns with the
    /// preview's widths and the window's geometry.
    Tabellendefinition definitionAusFenster() const;

    /// "Speichern": writes the file and closes; false when that failed (the designer stays).
    bool speichern();
    /// Puts the record source's fields into every field list and shows the preview.
    void quelleSetzen(const QString& sql);
    /// "Festlegen": the query builder, or the message that it is not there yet.
    void festlegen();
    /// "Oben"/"Unten": moves the current column.
    void spalteVerschieben(int richtung);
    /// "Alle Spalten-Definitionen löschen".
    void alleSpaltenLoeschen();
    /// Puts the current row of a list back when it is left incomplete; true when it may be left.
    bool spaltenzeileVerlassen(int zeile);
    bool reportzeileVerlassen(int zeile);
    void setzeFarbwahl(Farbwahl wahl) { m_farbwahl = std::move(wahl); }
    /// Asks for colour index i (0 to 11) and takes it.
    void farbeWaehlen(int i);

    QLineEdit* Text1() const { return m_name; }
    QLineEdit* fenstertitel() const { return m_fenstertitel; }
    QPlainTextEdit* sqlFeld() const { return m_sql; }
    QTableWidget* spaltenliste() const { return m_spalten; }
    QTableWidget* reportfeldliste() const { return m_reportfelder; }
    QComboBox* Combo1() const { return m_eingabehilfe; }
    QComboBox* videoleisteDatenfeld() const { return m_videoDatenfeld; }
    QLineEdit* zwischenablageformat() const { return m_vorlage; }
    QCheckBox* standardfarbe(int i) const { return m_standardfarben.at(size_t(i)); }
    QCheckBox* schalter(const QString& name) const;
    DataGrid* vorschau() const { return m_vorschau; }
    QTabWidget* seiten() const { return m_seiten; }
    /// The field names the record source offers.
    const QStringList& felder() const { return m_felder; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    // TabellenGenerator.cpp: pages, filling, reading back, commands
    QWidget* allgemeinSeite();
    QWidget* spaltenSeite();
    QWidget* farbenSeite();
    QWidget* kopieSeite();
    void fuellen();
    void geaendert();
    void feldlistenFuellen();
    QWidget* feldauswahl(const QString& feld) const;

    // TabellenGeneratorListen.cpp: column and report-field lists, colours, preview
    void spaltenlisteFuellen(const QList<Tabellenspalte>& spalten);
    void spaltenzeileSetzen(int zeile, const Tabellenspalte& s);
    Tabellenspalte spaltenzeile(int zeile) const;
    /// The list's rows but the empty ones; a width is the one read or the one the user gave
    /// the column in the preview.
    QList<Tabellenspalte> spaltenAusListe() const;
    /// The user resized a column of the preview: its list row takes the width.
    void vorschaubreiteGeaendert(int spalte, int pixel);
    QList<Reportfeld> reportfelderAusListe() const;
    void neueLeerzeile(QTableWidget* liste);
    void reportlisteFuellen(const QList<Reportfeld>& felder);
    void farbeSetzen(int i, std::optional<quint32> wert);
    void farbknopfZeigen(int i);
    void vorschauAktualisieren();

    Tabellenumgebung m_umgebung;
    std::unique_ptr<Tabellenentwurf> m_entwurf;
    std::array<std::optional<quint32>, TabellenfarbenAnzahl> m_farben {};
    QStringList m_felder;
    QString m_gesetztesSql;
    Farbwahl m_farbwahl;
    bool m_fuellt = false;
    // The preview's columns are being set from the list: their widths are not the user's.
    bool m_vorschauSetzt = false;
    bool m_schliesst = false;

    QTabWidget* m_seiten = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_fenstertitel = nullptr;
    QLineEdit* m_tabellentitel = nullptr;
    QPlainTextEdit* m_sql = nullptr;
    QPushButton* m_festlegen = nullptr;
    QComboBox* m_bedienelemente = nullptr;
    QComboBox* m_funktionsleiste = nullptr;
    QComboBox* m_videoleiste = nullptr;
    QComboBox* m_videoDatenfeld = nullptr;
    QDoubleSpinBox* m_schriftgroesse = nullptr;
    QDoubleSpinBox* m_zeilenhoehe = nullptr;
    QLineEdit* m_reportfilter = nullptr;
    QList<QCheckBox*> m_schalter;
    QTableWidget* m_spalten = nullptr;
    QTableWidget* m_reportfelder = nullptr;
    QLineEdit* m_vorlage = nullptr;
    QComboBox* m_eingabehilfe = nullptr;
    std::array<QToolButton*, TabellenfarbenAnzahl> m_farbknoepfe {};
    std::array<QCheckBox*, TabellenfarbenAnzahl> m_standardfarben {};
    DataGrid* m_vorschau = nullptr;
    std::unique_ptr<Ansichtsmodell> m_vorschaumodell;
    QPushButton* m_speichern = nullptr;
    QPushButton* m_schliessen = nullptr;
};

} // namespace kv
