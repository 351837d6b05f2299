#include "shell/ui/Strukturanzeige.h"

#include "base/Programmverzeichnis.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Objektuebergabe.h"
#include "shell/Statustext.h"
#include "shell/Zentraleliste.h"
#include "shell/ui/Fensterzustand.h"
#include "tables/ui/frmStruktur.h"

#include "engine/Database.h"

#include <QMdiArea>
#include <QPointer>

namespace kv {

void StrukturGeneratorEinrichten(QMdiArea* mdi, AktuelleDatenbank& datenbank)
{
    objektuebergabe().strukturGenerator = [bereich = QPointer<QMdiArea>(mdi), &datenbank] {
        const bool neu = !frmStruktur::finde(bereich);
        Strukturumgebung umgebung;
        umgebung.datenbank = [&datenbank] { return datenbank.offen() ? datenbank.db() : nullptr; };
        umgebung.datenbankpfad = [&datenbank] { return datenbank.Datenbank; };
        umgebung.kopfzeile = [&datenbank](engine::Database& db) {
            return Zentraleliste::kopfzeileFuer(
                datenbank.Datenbank, db.updatable(), db.version(), datenbank.DatenbankTyp);
        };
        umgebung.statustext = [](const QString& text) { Statustext(text); };
        umgebung.grafikverzeichnis = Grafikverzeichnis();
        frmStruktur* fenster = frmStruktur::zeigen(bereich, umgebung);
        if (!fenster || !neu)
            return;
        FenstergeometrieWiederherstellen(fenster, true);
        QObject::connect(fenster, &frmStruktur::wirdGeschlossen, fenster,
            [fenster] { FenstergeometrieSpeichern(fenster); });
    };
}

} // namespace kv
