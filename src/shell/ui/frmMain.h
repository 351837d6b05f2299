#pragma once

#include "shell/Datenbankbefehle.h"
#include "shell/Historienliste.h"
#include "shell/Leistenlayout.h"

#include <QFont>
#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class QActionGroup;
class QLabel;
class QMdiArea;
class QMenu;
class QToolButton;

namespace kv {

class Werkzeugleiste;
struct Befehl;
struct Werkzeug;
class frmHilfe;

/// The main window: MDI area, the menu bands, the main tool bar "mtbHauptleiste" and the status
/// bar "msb". Every command arrives by its tool name in ActiveBar21_ToolClick.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    /// Asks for a font, starting with the current one; nullopt when cancelled.
    using Schriftwahl
        = std::function<std::optional<QFont>(const QFont& aktuell, const QString& titel)>;

    /// Builds the bars and applies the bar settings ("HauptSymbolleisteAnzeigen",
    /// "HauptStatusleisteAnzeigen", "IconToolbarKlein", "ToolbarTextanzeige").
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    /// The dispatch: runs the command of a tool name, after the action password when the command
    /// has an action number. Unknown names do nothing.
    void ActiveBar21_ToolClick(const QString& tool);

    /// Replaces the database commands (the window owns them).
    void setzeDatenbankbefehle(std::unique_ptr<Datenbankbefehle> befehle);
    /// Replaces the commands that open other windows.
    void setzeFensteraufrufe(std::unique_ptr<Fensteraufrufe> aufrufe);
    /// Replaces the font dialog (tests).
    void setzeSchriftwahl(Schriftwahl wahl) { m_schriftwahl = std::move(wahl); }

    QMdiArea* mdiArea() const { return m_mdi; }
    /// The list of recent databases; loading, adding and removing rebuild the history entries.
    Historienliste& historie() { return m_historie; }

    /// Enables the database commands for an open database or none.
    void SetzeBefehlsstatus(bool offen, bool nurLesen = false, bool transaktionen = true);
    /// Shows the open database in "AktiveDatenbank"; an empty path shows that none is open.
    void setzeAktiveDatenbank(const QString& datenbank);
    /// Enables or disables every instance of a tool (menu entry and tool-bar button).
    void setzeWerkzeugAktiv(const QString& name, bool aktiv);
    bool werkzeugAktiv(const QString& name) const;

    /// The status text "Hilfstext"; an empty text shows "Bereit".
    void setzeStatustext(const QString& text);
    QString statustext() const;

    /// Font and pictures of one bar in the small or large size from the picture folder.
    void ToolbarIconsZuweisen(QWidget* leiste, bool klein);
    /// Pop-up choice at the mouse position; entries "caption;icon". 1-based, 0 when none chosen.
    int PopupAuswahl(const QStringList& eintraege);

    /// Closes child windows while more than n windows (this one included) are open, always the
    /// one at position n - 1 of the children in opening order: 1 keeps none, 2 keeps the first.
    /// Stops when a child refuses to close.
    void EntladeFenster(int n);

    /// The menu of a band ("Datei", "Bearbeiten", "Ansicht", "Fenster", "mi?", "mpAnpassenText",
    /// "mpAnpassenGröße"); nullptr for others.
    QMenu* band(const QString& name) const { return m_baender.value(name); }
    Werkzeugleiste* hauptleiste() const { return m_hauptleiste; }
    /// Every action of a tool name (menu entry, tool-bar button).
    QList<QAction*> werkzeuge(const QString& name) const;
    /// The menu entry of a tool; nullptr when it has none.
    QAction* menueWerkzeug(const QString& name) const { return m_menueAktionen.value(name); }
    QToolButton* aktiveDatenbankWerkzeug() const { return m_aktiveDatenbank; }
    /// The help window, made on first use.
    frmHilfe* hilfe();
    /// Shows the help window in front (modal when a modal dialog is open).
    void hilfeAnzeigen();

    /// The bar layout as shown; closing the window saves it to the layout files.
    const Leistenlayout& leistenlayout() const { return m_layout; }
    /// Shows the tool bars of a layout (what the customisation dialog hands back).
    void setzeLeistenlayout(const Leistenlayout& layout);
    /// A tool bar by its name; nullptr when there is none.
    Werkzeugleiste* leiste(const QString& name) const;
    /// The dialog for the buttons' texts of the tool bars; confirmed texts are shown at once.
    void texteAendern();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    QAction* neueAktion(const QString& name);
    void menueFuellen(QMenu* menue, const QStringList& namen);
    void menueNeuAufbauen(const Leistenbelegung& belegung);
    void statusleisteAufbauen();
    void historieAufbauen(const QList<HistorieEintrag>& eintraege);
    void fensterlisteAufbauen();
    void umschalten(QWidget* leiste, const QString& werkzeug);
    void setzeTextanzeige(int wert);
    void setzeSymbolgroesse(bool klein);
    void schriftWaehlen(bool symbolleisten);
    void schriftenAnwenden();
    void anordnen(bool untereinander);
    void symboleAnordnen();
    void menueAnpassen();
    static Werkzeug werkzeugAusBefehl(const Befehl& befehl);
    void leistenAnwenden();
    void tastenAnwenden();
    QList<Werkzeug> werkzeugeFuer(const Leistenbelegung& leiste) const;
    void layoutAusFensterUebernehmen();

    QMdiArea* m_mdi;
    Werkzeugleiste* m_hauptleiste;
    QLabel* m_hilfstext = nullptr;
    QToolButton* m_aktiveDatenbank = nullptr;
    QLabel* m_datum = nullptr;
    QHash<QString, QMenu*> m_baender;
    QHash<QString, QAction*> m_menueAktionen;
    QList<Werkzeugleiste*> m_benutzerleisten;
    QAction* m_historieTrenner = nullptr;
    QHash<QString, bool> m_aktiv;
    Leistenlayout m_layout;
    QList<QAction*> m_fensterliste;
    QActionGroup* m_fenstergruppe;
    Historienliste m_historie;
    std::unique_ptr<Datenbankbefehle> m_datenbank;
    std::unique_ptr<Fensteraufrufe> m_fenster;
    std::unique_ptr<frmHilfe> m_hilfe;
    Schriftwahl m_schriftwahl;
    bool m_symboleKlein = true;
};

} // namespace kv
