#include "shell/ui/Hauptfensteraufrufe.h"

#include "shell/WebUpdatePruefung.h"
#include "shell/ui/Zentraleanzeige.h"
#include "shell/ui/about.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmWebUpdate.h"

namespace kv {

void WebUpdateFuerHauptfenster(QWidget& hauptfenster)
{
    WebUpdateAuftrag auftrag = ErzeugeWebUpdateAuftrag();
    auftrag.hauptfenster = hauptfenster.geometry();
    WebUpdateStarten(auftrag, &hauptfenster);
}

void Hauptfensteraufrufe::datenzentrale()
{
    if (m_zentrale)
        m_zentrale->zeigen();
}

void Hauptfensteraufrufe::texteAnpassen()
{
    if (auto* f = qobject_cast<frmMain*>(&m_hauptfenster))
        f->texteAendern();
}

void Hauptfensteraufrufe::webupdate()
{
    WebUpdateFuerHauptfenster(m_hauptfenster);
}

void Hauptfensteraufrufe::info()
{
    // Modeless, like the start window; it deletes itself when closed.
    auto* fenster = new about(false, &m_hauptfenster);
    fenster->setWindowFlag(Qt::Window);
    fenster->setAttribute(Qt::WA_DeleteOnClose);
    fenster->show();
}

} // namespace kv
