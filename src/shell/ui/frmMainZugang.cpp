#include "shell/ui/frmMainZugang.h"

#include "shell/ui/Zentraleanzeige.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmSicherung.h"

#include <QMdiArea>

namespace kv {

void frmMainZugang::setzeBefehlsstatus(bool offen, bool nurLesen, bool transaktionen)
{
    m_fenster.SetzeBefehlsstatus(offen, nurLesen, transaktionen);
}

void frmMainZugang::setzeAktiveDatenbank(const QString& datenbank)
{
    m_fenster.setzeAktiveDatenbank(datenbank);
}

void frmMainZugang::setzeWerkzeugAktiv(const QString& name, bool aktiv)
{
    m_fenster.setzeWerkzeugAktiv(name, aktiv);
}

Historienliste& frmMainZugang::historie()
{
    return m_fenster.historie();
}

void frmMainZugang::entladeFenster(int n)
{
    m_fenster.EntladeFenster(n);
}

int frmMainZugang::fensteranzahl() const
{
    return 1 + static_cast<int>(m_fenster.mdiArea()->subWindowList().size());
}

void frmMainZugang::sicherungStarten(const SicherungsAuftrag& auftrag)
{
    SicherungsAuftrag mitFenster = auftrag;
    mitFenster.hauptfenster = m_fenster.geometry();
    SicherungStarten(mitFenster, &m_fenster);
}

void frmMainZugang::zentraleAktualisieren()
{
    if (m_zentrale)
        m_zentrale->zeigen();
}

void frmMainZugang::zentraleEntladen()
{
    if (m_zentrale)
        m_zentrale->entladen();
}

} // namespace kv
