#pragma once

#include "tables/Strukturuebersicht.h"
#include "tables/ui/Strukturumgebung.h"

#include <QWidget>

class QLabel;
class QMdiArea;
class QPushButton;
class QTableView;

namespace kv {

class Strukturmodell;

/// The structure overview ("Struktur-Generator"): the open database's tables, stored queries
/// and relations in one grid under a header line, and the commands that create, change and
/// delete tables and relations through the structure editor and the relation dialog.
class frmStruktur : public QWidget {
    Q_OBJECT
public:
    enum Knopf { Neu, Aendern, Loeschen, Drucken, Schliessen, Knopfanzahl };

    explicit frmStruktur(Strukturumgebung umgebung, QWidget* parent = nullptr);
    ~frmStruktur() override;

    /// The overview in mdi, made when there is none; its list rebuilt, shown and activated.
    /// nullptr when no database is open.
    static frmStruktur* zeigen(QMdiArea* mdi, const Strukturumgebung& umgebung);
    /// The overview of an MDI area; nullptr when there is none.
    static frmStruktur* finde(const QMdiArea* mdi);

    /// Rebuilds the rows and the header line; "Bitte warten..." shows meanwhile.
    void ListenRefresh();

    const Strukturuebersicht& uebersicht() const { return m_uebersicht; }
    int aktuelleZeile() const;
    void setzeAktuelleZeile(int zeile);
    /// A button as if clicked.
    void knopfGeklickt(int knopf);

    QTableView* TDBGrid1() const { return m_grid; }
    Strukturmodell* modell() const { return m_modell; }
    QLabel* kopfzeile() const { return m_kopf; }
    QPushButton* Command1(int index) const { return m_knoepfe.at(static_cast<size_t>(index)); }

Q_SIGNALS:
    /// The window is being closed (its geometry can be saved now).
    void wirdGeschlossen();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void neu();
    void aendern();
    void loeschen();
    /// The database changed: its collections are read again and the list rebuilt.
    void nachAenderung(int zeile);

    Strukturumgebung m_umgebung;
    Strukturuebersicht m_uebersicht;
    Strukturmodell* m_modell;
    QLabel* m_kopf;
    QTableView* m_grid;
    std::array<QPushButton*, Knopfanzahl> m_knoepfe {};
};

} // namespace kv
