#include "shell/ui/Maskenuebergabe.h"

#include "base/Programmschalter.h"
#include "base/Programmverzeichnis.h"
#include "masks/ui/frmMaske.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Objektuebergabe.h"
#include "shell/Prozesswerte.h"
#include "shell/Statustext.h"

#include <QMdiArea>
#include <QPointer>

namespace kv {

frmMaske* MaskeOeffnen(QMdiArea* mdi, AktuelleDatenbank& datenbank, const QString& name,
    const QString& definitionstext)
{
    if (!datenbank.offen())
        return nullptr;
    Maskenumgebung u;
    u.verzeichnis = datenbank.Datenbankverzeichnis();
    const Programmschalter schalter = programmschalter();
    u.leisten.kleineSymbole = schalter.iconFensterToolbarKlein;
    u.leisten.textanzeige = schalter.iconFensterToolbarTextanzeige;
    u.leisten.grafikverzeichnis = Grafikverzeichnis();
    u.leisten.schrift = Menueschrift();
    u.schrift = Programmschrift();
    u.statustext = [](const QString& text) { Statustext(text); };
    return frmMaske::oeffne(mdi, *datenbank.db(), u, name, definitionstext);
}

void MaskenfensterAnmelden(QMdiArea* mdi, AktuelleDatenbank& datenbank)
{
    objektuebergabe().maske = [bereich = QPointer<QMdiArea>(mdi), &datenbank](
                                  const QString& name, const QString& text) {
        if (bereich)
            MaskeOeffnen(bereich, datenbank, name, text);
    };
}

} // namespace kv
