#include "shell/ui/Strukturanzeige.h"

#include "shell/Objektuebergabe.h"
#include "shell/ui/Fensterzustand.h"
#include "tables/ui/frmStruktur.h"

#include <QMdiArea>
#include <QPointer>

namespace kv {

void StrukturGeneratorEinrichten(QMdiArea* mdi, AktuelleDatenbank& datenbank)
{
    objektuebergabe().strukturGenerator = [bereich = QPointer<QMdiArea>(mdi), &datenbank] {
        const bool neu = !frmStruktur::finde(bereich);
        frmStruktur* fenster = frmStruktur::zeigen(bereich, datenbank);
        if (!fenster || !neu)
            return;
        FenstergeometrieWiederherstellen(fenster, true);
        QObject::connect(fenster, &frmStruktur::wirdGeschlossen, fenster,
            [fenster] { FenstergeometrieSpeichern(fenster); });
    };
}

} // namespace kv
