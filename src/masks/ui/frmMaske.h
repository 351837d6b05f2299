#pragma once

#include "masks/Formelauswertung.h"
#include "masks/Maskendefinition.h"
#include "masks/Maskensteuerung.h"
#include "widgets/Fensterleisten.h"

#include <QFont>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QMdiArea;
class QScrollArea;
class QTabWidget;

namespace kv {

namespace engine {
class Database;
}

class DataGrid;
class Feldelement;
class Fensterleisten;
class Maskenflaeche;
class Untertabelle;

/// What a mask window takes from the program around it.
struct Maskenumgebung {
    /// The database's folder (relative picture files).
    QString verzeichnis;
    Leistendarstellung leisten;
    /// The program's font (the standard mask's line height, the mask's font).
    QFont schrift;
    /// The main window's status line, for masks without their own.
    std::function<void(const QString&)> statustext;
};

/// The runtime window of a mask: one record at a time of its record source through the
/// elements of its definition, with browsing, adding, copying, changing and deleting records,
/// sub-table grids and formula fields. Searching, sorting and printing answer that they are not
/// available in this version.
class frmMaske : public QMainWindow, private Maskenansicht, private Fensterwerte {
    Q_OBJECT
public:
    explicit frmMaske(QWidget* parent = nullptr);
    ~frmMaske() override;

    /// Hands over the mask: the table's name (standard mask) or the definition's name, and the
    /// whole definition text; an empty text asks for the table's standard mask. Call before
    /// laden().
    void DefText(const QString& name, const QString& definitionstext);

    /// Builds the window on db: icon, definition, colours and header lines, record source,
    /// function bar, elements, fonts and status line, then shows the first record.
    void laden(engine::Database& db, const Maskenumgebung& umgebung);

    /// Opens a mask window in mdi (or on its own without one) at the place and width of its
    /// definition and shows it.
    static frmMaske* oeffne(QMdiArea* mdi, engine::Database& db, const Maskenumgebung& umgebung,
        const QString& name, const QString& definitionstext);

    /// A tool as if clicked; name in lower case ("zurück", "neu", …).
    void werkzeug(const QString& name);

    const Maskendefinition& definition() const { return m_definition; }
    /// The icon's file name ("MaskeStandard32.ico").
    const QString& symboldatei() const { return m_symboldatei; }
    Maskensteuerung& steuerung() { return m_steuerung; }
    Fensterleisten* leisten() const { return m_leisten; }
    Maskenflaeche* flaeche() const { return m_flaeche; }
    QScrollArea* ansicht() const { return m_ansicht; }

    /// The control of element index (definition order); nullptr for a skipped element.
    QWidget* steuerelement(int index) const;
    /// The bound control of element index; nullptr for others.
    Feldelement* feldelement(int index) const;
    QLabel* beschriftung(int index) const;
    /// Table element n (from 0, load order).
    Untertabelle* untertabelle(int n) const;
    int untertabellen() const { return int(m_tabellen.size()); }

    /// Recomputes every formula; mitFenster prefers what the inputs hold over stored values.
    void formelnBerechnen(bool mitFenster);

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    struct Element {
        int index = -1;
        Maskenelementart art = Maskenelementart::EingabeText;
        QWidget* steuerung = nullptr;
        Feldelement* feld = nullptr;
        QLabel* beschriftung = nullptr;
        int tabelle = -1;
    };

    // frmMaske.cpp: building and showing
    void definitionLesen(engine::Database& db);
    void kopfAnwenden();
    void leistenAufbauen(const Leistendarstellung& leisten);
    void elementeErzeugen(engine::Database& db, const QString& verzeichnis);
    void elementVerbinden(const Element& e);
    void datensatzAnzeigen();
    void untertabellenZeigen();
    void navigationstext();
    void werkzeugeAktualisieren();
    void fokusGeaendert(QWidget* neu);
    const Element* elementMit(const QWidget* w) const;

    // frmMaskeBefehle.cpp: commands and keys
    void schritt(int navigationsschritt);
    void kopieren();
    void nichtVerfuegbar();
    bool taste(QObject* objekt, QKeyEvent* t);
    void tastenkuerzelAnlegen();
    /// F6: a value the focused element's field already has in its table, taken into it.
    void f6Kopie();
    void wertEinsetzen(Feldelement* feld, QWidget* fokus, const QString& wert);

    // Maskenansicht
    QList<Elementwert> elementwerte() const override;
    bool eingabenPruefen() override;
    void alsGespeichertMarkieren(const QList<int>& elemente) override;
    void anzeigen() override;
    int tabellenelemente() const override { return int(m_tabellen.size()); }
    bool tabellenzeileSpeichern(int n) override;
    engine::Recordset* tabellenzeilen(int n) override;
    void hinweis(const QString& text) override;
    void anzahlBekannt() override;

    // Fensterwerte
    QStringList eingabetexte(const QString& feld) const override;

    QString m_name;
    QString m_definitionstext;
    Maskenumgebung m_umgebung;
    Maskendefinition m_definition;
    QString m_symboldatei;
    Maskensteuerung m_steuerung;
    Fensterleisten* m_leisten = nullptr;
    QScrollArea* m_ansicht = nullptr;
    Maskenflaeche* m_flaeche = nullptr;
    std::vector<Element> m_elemente;
    std::vector<Untertabelle*> m_tabellen;
    QList<Formeleintrag> m_formeln;
    bool m_geladen = false;
};

} // namespace kv
