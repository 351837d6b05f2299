#include "shell/ui/Zentraleanzeige.h"

#include "shell/Datenbankhandling.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmZentrale.h"

namespace kv {

Zentraleanzeige::Zentraleanzeige(frmMain& hauptfenster)
    : m_hauptfenster(hauptfenster)
{ }

Zentraleumgebung Zentraleanzeige::umgebung() const
{
    Zentraleumgebung u;
    if (m_handling) {
        Datenbankhandling* handling = m_handling;
        u.datenbank = &handling->datenbank();
        u.alleFensterSchliessen = [handling] { return handling->AlleFensterSchliessen(); };
    }
    frmMain* haupt = &m_hauptfenster;
    u.datenbankSchliessen
        = [haupt] { haupt->ActiveBar21_ToolClick(QStringLiteral("dateischließen")); };
    return u;
}

frmZentrale* Zentraleanzeige::zeigen()
{
    frmMain* haupt = &m_hauptfenster;
    return frmZentrale::zeigen(m_hauptfenster.mdiArea(), umgebung(),
        [haupt](const QStringList& eintraege) { return haupt->PopupAuswahl(eintraege); });
}

void Zentraleanzeige::entladen()
{
    frmZentrale::entladen(m_hauptfenster.mdiArea());
}

void Zentraleanzeige::listeAktualisieren()
{
    if (frmZentrale* z = frmZentrale::finde(m_hauptfenster.mdiArea()))
        z->ListenRefresh();
}

} // namespace kv
