#include "tables/Definitionstext.h"

#include "base/Fehlermeldung.h"
#include "base/Windows1252.h"
#include "tables/SqlNamen.h"

#include <QStringList>

namespace kv {

std::optional<QString> schreibeDefinitionstext(
    const QString& pfad, const QString& text, const QString& dateiwort)
{
    Schreibfehler fehler;
    if (schreibeTextdatei(pfad, text, &fehler))
        return std::nullopt;
    const QString satz = (fehler.beimOeffnen ? QStringLiteral("Fehler beim Öffnen der ")
                                             : QStringLiteral("Fehler beim Schreiben der "))
        + dateiwort + QLatin1Char('!');
    return fehlermeldung(satz, fehler.nummer, fehler.beschreibung);
}

QString starttextDefinition(Definitionsart art, const QString& tabelle)
{
    const QString quelle = QStringLiteral("SQL: SELECT * From ") + Klammername(tabelle);
    QStringList zeilen;
    if (art == Definitionsart::Tabelle) {
        zeilen = { QStringLiteral("KV-Tabelle: Standardtabelle ") + tabelle,
            QStringLiteral("TabellenTitel: ") + tabelle, QStringLiteral("VideoleisteAnzeige: 1"),
            QStringLiteral("FunktionsleisteAnzeige: 2"), quelle };
    } else {
        // The standard mask's header; the elements are the user's to write.
        zeilen = { QStringLiteral("KV-Maske: Standardmaske ") + tabelle,
            QStringLiteral("Virtuell: 1"), QStringLiteral("Bedienelemente: Oben"),
            QStringLiteral("Feldbeschriftung: 0;-500;7"), QStringLiteral("VideoleisteAnzeige: 1"),
            QStringLiteral("FunktionsleisteAnzeige: 1"), quelle };
    }
    return zeilen.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace kv
