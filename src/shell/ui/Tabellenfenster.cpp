#include "shell/ui/Tabellenfenster.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "base/Hilfe.h"
#include "base/NichtVerfuegbar.h"
#include "base/Pfade.h"
#include "base/Programmschalter.h"
#include "base/Programmverzeichnis.h"
#include "engine/Database.h"
#include "engine/TableDef.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Hilfeseiten.h"
#include "shell/Objektuebergabe.h"
#include "shell/Prozesswerte.h"
#include "tables/ui/TabellenGenerator.h"
#include "tables/ui/frmTabelle.h"

#include <QMdiArea>
#include <QPointer>

namespace kv {

namespace {

Ansichtsmodellmacher& modellmacher()
{
    static Ansichtsmodellmacher macher;
    return macher;
}

} // namespace

Tabellenumgebung TabellenumgebungFuer(const AktuelleDatenbank& datenbank)
{
    const Programmschalter schalter = programmschalter();
    Tabellenumgebung u;
    u.datenbank = datenbank.db();
    u.datenbankpfad = datenbank.Datenbank;
    u.grafikverzeichnis = Grafikverzeichnis();
    u.leisten.kleineSymbole = schalter.iconFensterToolbarKlein;
    u.leisten.textanzeige = schalter.iconFensterToolbarTextanzeige;
    u.leisten.grafikverzeichnis = u.grafikverzeichnis;
    u.leisten.schrift = Menueschrift();
    u.schrift = Programmschrift();
    u.modell = modellmacher();
    return u;
}

void TabellenfensterEinrichten(
    QMdiArea* mdi, AktuelleDatenbank& datenbank, Ansichtsmodellmacher modell)
{
    QPointer<QMdiArea> bereich(mdi);
    AktuelleDatenbank* db = &datenbank;
    modellmacher() = std::move(modell);
    objektuebergabe().tabelle = nullptr;
    if (modellmacher()) {
        objektuebergabe().tabelle = [bereich, db](const QString& name, const QString& text) {
            if (!bereich || !db->offen())
                return;
            frmTabelle* f = frmTabelle::oeffnen(bereich, TabellenumgebungFuer(*db), name, text);
            f->setProperty(HilfeseiteEigenschaft, Hilfeseiten::Tabellenansicht);
        };
    }
    objektuebergabe().tabellenGenerator = [bereich, db](const QString& name, const QString& text) {
        if (!bereich || !db->offen())
            return;
        // A user view comes with its file's path and text; a new view with its table's name
        // (and no text) or with another view's text as a start (and no name).
        const bool datei = !text.isEmpty() && DateiVorhanden(name);
        TabellenGenerator* g = TabellenGenerator::oeffnen(bereich, TabellenumgebungFuer(*db),
            datei ? QString() : name, text, datei ? name : QString());
        g->setProperty(HilfeseiteEigenschaft, Hilfeseiten::TabellenGenerator);
    };
}

void StandardtabelleOeffnen(const QString& tabelle)
{
    const AktuelleDatenbank& db = aktuelleDatenbank();
    if (!db.offen())
        return;
    if (!objektuebergabe().tabelle) {
        FensterNichtVerfuegbar();
        return;
    }
    if (!db.db()->tableDefs().contains(tabelle)) {
        zeigeMeldung(QStringLiteral("Die beim Programmaufruf angegebene Tabelle ist in der "
                                    "Datenbank nicht vorhanden:")
            + Zeilenumbruch + Zeilenumbruch + tabelle);
        return;
    }
    objektuebergabe().tabelle(tabelle, QString());
}

} // namespace kv
