#include "widgets/Eingabepruefung.h"

#include "base/Fehlermeldung.h"
#include "base/Werteparser.h"
#include "engine/DataType.h"

namespace kv {

bool IstZahlentyp(int feldtyp)
{
    using namespace engine;
    switch (feldtyp) {
    case dbByte:
    case dbInteger:
    case dbLong:
    case dbCurrency:
    case dbSingle:
    case dbDouble:
    case dbBigInt:
    case dbNumeric:
    case dbDecimal:
    case dbFloat:
        return true;
    default:
        return false;
    }
}

bool IstDatumstyp(int feldtyp)
{
    using namespace engine;
    return feldtyp == dbDate || feldtyp == dbTime || feldtyp == dbTimeStamp;
}

QString Typpruefung(int feldtyp, const QString& spaltentitel, const QString& text)
{
    if (text.trimmed().isEmpty())
        return {};
    QString satz;
    if (IstZahlentyp(feldtyp) && !IstZahl(text))
        satz = QStringLiteral("Es wurde kein numerischer Wert eingegeben!");
    else if (IstDatumstyp(feldtyp) && !IstDatum(text))
        satz = QStringLiteral("Es wurde kein Datumswert eingegeben!");
    else
        return {};
    return satz + Zeilenumbruch + Zeilenumbruch
        + QStringLiteral("Bitte korrigieren Sie die Eingabe!") + Zeilenumbruch + Zeilenumbruch
        + QStringLiteral("Eingabesspalte: ") + spaltentitel + Zeilenumbruch
        + QStringLiteral("Eingabewert:") + text;
}

QString UngueltigerEingabewert(const QString& datenfeld, const QString& wert,
    const QString& minimum, const QString& maximum, bool datum)
{
    return QStringLiteral("Der Eingabewert ist ungültig!") + Zeilenumbruch + Zeilenumbruch
        + QStringLiteral("Datenfeld: ") + datenfeld + Zeilenumbruch
        + QStringLiteral("Aktueller Wert: ") + wert + Zeilenumbruch
        + QStringLiteral("Minimalwert: ") + minimum + Zeilenumbruch
        + QStringLiteral("Maximalwert: ") + maximum + Zeilenumbruch + Zeilenumbruch
        + (datum ? QStringLiteral("Bitte korrigieren Sie die Eingabe!")
                 : QStringLiteral("Bitte korrigieren Sie die Eingabe."));
}

} // namespace kv
