#include "tables/Feldersetzung.h"

#include "base/Fehlermeldung.h"
#include "engine/Database.h"
#include "engine/Workspace.h"
#include "tables/EindeutigeNamen.h"
#include "tables/Engineschritt.h"
#include "tables/SqlNamen.h"
#include "tables/Strukturtransaktion.h"

#include <optional>

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

QString strukturaenderungsfrage()
{
    return QStringLiteral("Sie haben grundlegende Eigenschaften eines ") + Zeilenumbruch
        + QStringLiteral("Datenfeldes geändert, was ein Umkopieren von") + Zeilenumbruch
        + QStringLiteral("eventuell vorhandenen Daten erforderlich macht!") + Zeilenumbruch
        + Zeilenumbruch + QStringLiteral("Beachten Sie bitte, dass je nach Änderung unter")
        + Zeilenumbruch + QStringLiteral("Umständen ein Datenverlust möglich ist!") + Zeilenumbruch
        + Zeilenumbruch + QStringLiteral("Möchten Sie die Aktion jetzt durchführen?");
}

bool ersetzeFeld(
    Database& db, const QString& tabelle, const QString& alterName, const Field& ersatz)
{
    return engineschritt(QStringLiteral("Die Strukturänderung konnte nicht durchgeführt werden!")
            + Zeilenumbruch + QStringLiteral("Die Tabelle bleibt unverändert."),
        [&] {
            QStringList felder;
            for (const Field* f : db.tableDefs().item(tabelle).fields().items())
                felder << f->name();
            const QString temp = eindeutigerFeldname(alterName, felder).value_or(alterName);
            Strukturtransaktion transaktion(*db.workspace());
            TableDef& t = db.tableDefs().item(tabelle);
            auto neu = feldkopie(t, ersatz);
            neu->setName(temp);
            t.fields().append(std::move(neu));
            db.execute(QStringLiteral("UPDATE ") + Klammername(tabelle) + QStringLiteral(" SET ")
                    + Klammername(temp) + QStringLiteral(" = ") + Klammername(alterName),
                dbFailOnError);
            for (Index* alt : t.indexes().items()) {
                bool betroffen = false;
                auto ix = t.createIndex(alt->name());
                for (const IndexField& f : alt->fields()) {
                    const bool gleich = f.name.compare(alterName, Qt::CaseInsensitive) == 0;
                    betroffen = betroffen || gleich;
                    ix->appendField(gleich ? temp : f.name, f.descending);
                }
                if (!betroffen || alt->foreign())
                    continue;
                ix->setPrimary(alt->primary());
                ix->setUnique(alt->unique());
                ix->setRequired(alt->required());
                ix->setIgnoreNulls(alt->ignoreNulls());
                t.indexes().remove(alt->name());
                t.indexes().append(std::move(ix));
            }
            for (Relation* alt : db.relations().items()) {
                const bool basis = alt->table().compare(tabelle, Qt::CaseInsensitive) == 0;
                const bool fremd = alt->foreignTable().compare(tabelle, Qt::CaseInsensitive) == 0;
                auto r = db.createRelation(
                    alt->name(), alt->table(), alt->foreignTable(), alt->attributes());
                bool betroffen = false;
                for (const RelationField& f : alt->fields()) {
                    const bool b = basis && f.name.compare(alterName, Qt::CaseInsensitive) == 0;
                    const bool g
                        = fremd && f.foreignName.compare(alterName, Qt::CaseInsensitive) == 0;
                    betroffen = betroffen || b || g;
                    r->appendField(b ? temp : f.name, g ? temp : f.foreignName);
                }
                if (!betroffen)
                    continue;
                db.relations().remove(alt->name());
                db.relations().append(std::move(r));
            }
            t.fields().remove(alterName);
            t.fields().item(temp).setName(alterName);
            transaktion.festschreiben();
        });
}

} // namespace kv
