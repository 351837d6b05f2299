#include "tables/Feldersetzung.h"

#include "base/Fehlermeldung.h"
#include "engine/Database.h"
#include "engine/FieldReplacement.h"
#include "tables/Engineschritt.h"

namespace kv {

using namespace engine;

std::unique_ptr<Field> feldkopie(TableDef& tabelle, const Field& feld)
{
    auto kopie = tabelle.createField(feld.name(), feld.type(), feld.size());
    kopie->setAttributes(feld.attributes());
    kopie->setDefaultValue(feld.defaultValue());
    kopie->setRequired(feld.required());
    kopie->setAllowZeroLength(feld.allowZeroLength());
    kopie->setValidationRule(feld.validationRule());
    kopie->setValidationText(feld.validationText());
    kopie->setOrdinalPosition(feld.ordinalPosition());
    return kopie;
}

QString strukturaenderungsfrage(const ConversionLoss& verlust)
{
    QString frage = QStringLiteral("Sie haben grundlegende Eigenschaften eines ") + Zeilenumbruch
        + QStringLiteral("Datenfeldes geändert, was ein Umkopieren von") + Zeilenumbruch
        + QStringLiteral("eventuell vorhandenen Daten erforderlich macht!") + Zeilenumbruch
        + Zeilenumbruch + QStringLiteral("Beachten Sie bitte, dass je nach Änderung unter")
        + Zeilenumbruch + QStringLiteral("Umständen ein Datenverlust möglich ist!") + Zeilenumbruch
        + Zeilenumbruch;
    if (verlust.count > 0) {
        // Nothing is lost silently: the user sees how much and what before saying Yes.
        QStringList beispiele;
        for (const LostValue& w : verlust.examples)
            beispiele << QStringLiteral("Zeile %1: '%2'").arg(w.row).arg(w.value.toString());
        frage += (verlust.count == 1 ? QStringLiteral("1 Wert kann nicht übernommen werden")
                                     : QStringLiteral("%1 Werte können nicht übernommen werden")
                                           .arg(verlust.count))
            + QStringLiteral(", z. B. ") + beispiele.join(QStringLiteral(", "))
            + (verlust.count > beispiele.size() ? QStringLiteral(" …") : QString())
            + QLatin1Char('.') + Zeilenumbruch + Zeilenumbruch;
    }
    return frage + QStringLiteral("Möchten Sie die Aktion jetzt durchführen?");
}

bool ersetzeFeld(Database& db, const QString& tabelle, const QString& alterName,
    const Field& ersatz, ChangeProgress fortschritt)
{
    return engineschritt(QStringLiteral("Die Strukturänderung konnte nicht durchgeführt werden!")
            + Zeilenumbruch + QStringLiteral("Die Tabelle bleibt unverändert."),
        [&] {
            // Held here only, so that a progress box has closed when the message comes.
            const ChangeProgress f = std::move(fortschritt);
            replaceField(db, tabelle, alterName, ersatz, f);
        });
}

bool macheErsetzungRueckgaengig(Database& db, ChangeProgress fortschritt)
{
    return engineschritt(
        QStringLiteral("Die Strukturänderung konnte nicht rückgängig gemacht werden!")
            + Zeilenumbruch + QStringLiteral("Die Tabelle bleibt unverändert."),
        [&] {
            const ChangeProgress f = std::move(fortschritt);
            undoFieldChange(db, f);
        });
}

} // namespace kv
