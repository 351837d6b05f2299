#include "shell/ui/Hauptfensteraufrufe.h"

#include "base/Dialoge.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Hilfeseiten.h"
#include "shell/Objektuebergabe.h"
#include "shell/WebUpdatePruefung.h"
#include "shell/ui/Zentraleanzeige.h"
#include "shell/ui/about.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmWebUpdate.h"
#include "tables/ui/frmImportTabellen.h"

namespace kv {

void WebUpdateFuerHauptfenster(QWidget& hauptfenster)
{
    WebUpdateAuftrag auftrag = ErzeugeWebUpdateAuftrag();
    auftrag.hauptfenster = hauptfenster.geometry();
    auftrag.hilfedatei = Hilfeseiten::WebUpdate;
    WebUpdateStarten(auftrag, &hauptfenster);
}

bool Hauptfensteraufrufe::fensterGeschlossen() const
{
    return !m_alleFensterSchliessen || m_alleFensterSchliessen();
}

void Hauptfensteraufrufe::datenzentrale()
{
    if (m_zentrale)
        m_zentrale->zeigen();
}

void Hauptfensteraufrufe::strukturgenerator()
{
    // The same window the navigator opens; asking to close windows for a missing one is pointless.
    const std::function<void()>& fenster = objektuebergabe().strukturGenerator;
    if (!fenster) {
        FensterNichtVerfuegbar();
        return;
    }
    if (fensterGeschlossen())
        fenster();
}

void Hauptfensteraufrufe::importExport(bool export_)
{
    // The navigator's database is the one the handling opened (the program's current one).
    const AktuelleDatenbank* d = m_zentrale ? m_zentrale->umgebung().datenbank : nullptr;
    engine::Database* db = (d ? *d : aktuelleDatenbank()).db();
    if (!db) {
        zeigeMeldung(QStringLiteral("Es ist keine Datenbank geöffnet!"));
        return;
    }
    frmImportTabellen fenster(*db, export_, &m_hauptfenster);
    fenster.exec();
    // An import may have made a table; the navigator lists it at once.
    if (m_zentrale)
        m_zentrale->listeAktualisieren();
}

void Hauptfensteraufrufe::texteAnpassen()
{
    if (auto* f = qobject_cast<frmMain*>(&m_hauptfenster))
        f->texteAendern();
}

void Hauptfensteraufrufe::webupdate()
{
    if (fensterGeschlossen())
        WebUpdateFuerHauptfenster(m_hauptfenster);
}

void Hauptfensteraufrufe::info()
{
    about fenster(false, &m_hauptfenster);
    fenster.exec();
}

} // namespace kv
