#pragma once

#include "shell/Zentralebefehle.h"
#include "shell/Zentraleliste.h"

#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QMdiArea;
class QPushButton;
class QTableView;

namespace kv {

class Zentralemodell;

/// "Datenzentrale": the MDI child that lists the open database's tables (standard masks and
/// table views), the user's definition files and the stored queries, and opens, creates, edits
/// and deletes them.
class frmZentrale : public QWidget {
    Q_OBJECT
public:
    /// The pop-up choice of the context menu: entries "caption;icon", answer 1-based, 0 for none.
    using Popupauswahl = std::function<int(const QStringList& eintraege)>;

    /// Indexes of the buttons Command1.
    enum Knopf { Oeffnen, Neu, Bearbeiten, Schliessen, Knopfanzahl };

    /// Reads the group switches from the settings; the caller puts the window into an MDI area
    /// and calls laden().
    frmZentrale(Zentraleumgebung umgebung, Popupauswahl popup, QWidget* parent = nullptr);
    ~frmZentrale() override;

    /// The navigator in mdi, made and loaded when there is none; its list rebuilt and the
    /// window shown and activated. nullptr when no database is open.
    static frmZentrale* zeigen(QMdiArea* mdi, const Zentraleumgebung& umgebung, Popupauswahl popup);
    /// The navigator of an MDI area; nullptr when it is not loaded.
    static frmZentrale* finde(const QMdiArea* mdi);
    /// Unloads the navigator of an MDI area, if loaded.
    static void entladen(QMdiArea* mdi);

    /// Restores the geometry (once the window sits in its MDI area) and fills the list.
    void laden();
    /// Rebuilds the rows and the header line; keeps the current row where it can.
    void ListenRefresh();

    const Zentraleliste& liste() const { return m_liste; }
    /// The current row; -1 when there is none.
    int aktuelleZeile() const;
    void setzeAktuelleZeile(int zeile);

    /// A button as if clicked (Command1_Click).
    void knopfGeklickt(int knopf);
    /// The context menu of a row as if the right mouse button was pressed on it.
    void kontextmenue(int zeile);

    QTableView* TDBGrid1() const { return m_grid; }
    Zentralemodell* modell() const { return m_modell; }
    QCheckBox* Check1(int index) const { return m_schalter.at(static_cast<size_t>(index)); }
    QPushButton* Command1(int index) const { return m_knoepfe.at(static_cast<size_t>(index)); }
    QLabel* kopfzeile() const { return m_kopf; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    /// Row height, column width and the least window size for the current font.
    void schriftAnpassen();
    void schalterGeklickt(int index);
    void nachBefehl(bool neuAufbauen);

    Zentralebefehle m_befehle;
    Popupauswahl m_popup;
    Zentraleliste m_liste;
    Zentraleschalter m_zustand;
    Zentralemodell* m_modell;
    QLabel* m_kopf;
    QTableView* m_grid;
    std::array<QCheckBox*, Zentraleschalter::Anzahl> m_schalter {};
    std::array<QPushButton*, Knopfanzahl> m_knoepfe {};
};

} // namespace kv
