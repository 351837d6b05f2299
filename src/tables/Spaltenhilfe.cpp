#include "tables/Spaltenhilfe.h"

#include <QStringList>

namespace kv {

namespace {

const QStringList Sperrhinweis = { QStringLiteral("Für andere Feldarten ist diese Spalte nicht"),
    QStringLiteral("verfügbar und wird gesperrt.") };

QString hilfe(QStringList zeilen)
{
    zeilen.first().prepend(QStringLiteral("In dieser Spalte können Sie "));
    return zeilen.join(QLatin1Char('\n'));
}

} // namespace

QString feldspaltenhilfe(Feldspalte spalte)
{
    switch (spalte) {
    case Feldspalte::Feldname:
        return hilfe({ QStringLiteral("den Feldnamen"),
            QStringLiteral("eingeben. Eine Leereingabe ist nicht zulässig."),
            QStringLiteral("Beachten Sie bitte, dass Feldnamen in Reports,"),
            QStringLiteral("Masken- oder Tabellen-Definitionen vorkommen"),
            QStringLiteral("können und dort bei einer Änderung jeweils"),
            QStringLiteral("manuell angepasst werden müssen.") });
    case Feldspalte::Typ:
        return hilfe(
            { QStringLiteral("den Feldtyp"), QStringLiteral("aus einer Liste auswählen.") });
    case Feldspalte::Groesse:
        return hilfe(QStringList { QStringLiteral("die Größe in Zeichen für"),
                         QStringLiteral("Textfelder angeben (1 bis 255).") }
            + Sperrhinweis);
    case Feldspalte::Position:
        return hilfe({ QStringLiteral("die Position des Feldes"),
            QStringLiteral("innerhalb der Auflistung angeben.") });
    case Feldspalte::Feldgroesse:
        return hilfe(QStringList { QStringLiteral("die Feldgröße des Feldes"),
                         QStringLiteral("für Text-/Memofelder auf fix oder variabel eingestellt.") }
            + Sperrhinweis);
    case Feldspalte::Automatikwert:
        return hilfe(
            QStringList { QStringLiteral("einstellen, dass für ein"),
                QStringLiteral("Long-Feld eine automatische Wertzuweisung passieren soll.") }
            + Sperrhinweis
            + QStringList {
                QStringLiteral("Außerdem ist die Spalte nur für ein neues Datenfeld änderbar.") });
    case Feldspalte::WertErforderlich:
        return hilfe({ QStringLiteral("einstellen, dass für dieses"),
            QStringLiteral("Feld ein Wert zwingend vorhanden sein muss.") });
    case Feldspalte::NullwertErlaubt:
        return hilfe(QStringList { QStringLiteral("einstellen, dass für dieses"),
                         QStringLiteral("Feld ein Nullwert erlaubt werden soll."),
                         QStringLiteral("Die Spalte wird nur für ein Textfeld freigegeben.") }
            + Sperrhinweis);
    case Feldspalte::Vorgabewert:
        return hilfe({ QStringLiteral("einen Vorgabewert eingeben. Für einen"),
            QStringLiteral("neuen Datensatz wird dieser Wert dann automatisch erzeugt.") });
    case Feldspalte::Pruefvorschrift:
        return hilfe({ QStringLiteral("eine Fehlerprüfung einstellen, die bei"),
            QStringLiteral("Dateneingaben in diesem Feld passieren sollen.") });
    case Feldspalte::Fehlertext:
        return hilfe({ QStringLiteral("Falls eine Fehlerprüfung vorhanden ist,"),
            QStringLiteral(
                "wird dieser Fehlertext bei Nichteinhaltung der Fehlerprüfung angezeigt.") });
    }
    return {};
}

QString indexnamenhilfe(bool fremdschluessel)
{
    if (fremdschluessel)
        return QStringLiteral("Bei einem Fremdschlüssel ist eine\nÄnderung nicht möglich. Da "
                              "müsste die \nRelation entsprechend angepasst werden.");
    return hilfe({ QStringLiteral("den Indexnamen"),
        QStringLiteral("ändern. Eine Leereingabe ist nicht zulässig.") });
}

QString indexeigenschaftenhilfe()
{
    return QStringLiteral("Infoanzeige der Eigenschaften des Index.\nDie Eigenschaften werden "
                          "bei der\nNeueingabe festgelegt.");
}

} // namespace kv
