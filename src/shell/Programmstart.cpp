#include "shell/Programmstart.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "base/Programmschalter.h"
#include "base/Programmverzeichnis.h"
#include "shell/Aktionsschutz.h"
#include "shell/Anwendung.h"
#include "shell/Einstellungen.h"
#include "shell/Kommandozeile.h"
#include "shell/Prozesswerte.h"
#include "shell/VorgaengerUebernahme.h"

#include <QCoreApplication>

namespace kv {

QString KommandozeilenDatenbankFehlt(const QString& pfad)
{
    const QChar z = Zeilenumbruch;
    return QStringLiteral("Die beim Programmaufruf angegebene Datenbank wurde nicht gefunden:") + z
        + z + pfad + z + z + QStringLiteral("Die Angabe wird nicht berücksichtigt.");
}

Startzustand ProgrammstartVorbereiten(
    const QStringList& argumente, bool themaAktiv, const QString& installationsverzeichnis)
{
    setzeXPStil(themaAktiv);
    Einstellungen einstellungen;
    VorgaengerEinstellungenUebernehmen(einstellungen, Einstellungen(VorgaengerAnwendungstitel));
    setzeStartzeitpunkt(QDateTime::currentDateTime());

    const QString meldung = pruefeGrafikverzeichnis(
        installationsverzeichnis, QCoreApplication::applicationFilePath());
    if (!meldung.isEmpty())
        zeigeMeldung(meldung);

    Startzustand z { StartEinstellungen::lade(einstellungen), std::nullopt };
    SchriftenSetzen(z.werte);

    const Kommandozeile k = Kommandozeile::auswerten(Kommandozeile::ausArgumenten(argumente));
    if (k.nichtGefunden)
        zeigeMeldung(KommandozeilenDatenbankFehlt(*k.nichtGefunden));
    if (k.datenbank) {
        // The stored read-only flag belongs to the stored database only.
        if (*k.datenbank != z.werte.datenbank)
            z.werte.datenbankNurLesen = false;
        z.werte.datenbank = *k.datenbank;
        z.werte.datenbankTyp = 1;
    }
    if (k.xpStil)
        setzeXPStil(*k.xpStil);
    z.tabelle = k.tabelle;

    const StartEinstellungen& w = z.werte;
    setzeProgrammschalter({ w.iconFensterToolbarKlein, w.iconFensterToolbarTextanzeige,
        w.reportausgabeZielSpeichern, w.emailAusgabemitDialog, w.reportDateiAenderbar });

    z.letzteDatenbank = z.werte.letzteDatenbank();

    aktionsschutz() = Aktionsschutz();
    if (!z.werte.datenbankAktionStatus.isEmpty())
        aktionsschutz().laden(z.werte.datenbankAktionStatus);
    return z;
}

} // namespace kv
