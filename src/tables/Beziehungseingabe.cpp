#include "tables/Beziehungseingabe.h"

#include "engine/Database.h"
#include "engine/Workspace.h"
#include "tables/Engineschritt.h"
#include "tables/Strukturtransaktion.h"

#include <optional>

namespace kv {

using namespace engine;

Beziehungseingabe Beziehungseingabe::aus(const Relation& relation)
{
    Beziehungseingabe e;
    e.name = relation.name();
    e.basistabelle = e.geladeneBasistabelle = relation.table();
    e.fremdtabelle = e.geladeneFremdtabelle = relation.foreignTable();
    const QList<RelationField>& felder = relation.fields();
    if (!felder.isEmpty()) {
        e.basisfeld = felder.first().name;
        e.fremdfeld = felder.first().foreignName;
        e.weiterePaare = felder.mid(1);
    }
    const qint64 a = relation.attributes();
    e.einsZuEins = (a & dbRelationUnique) != 0;
    e.erzwingen = (a & dbRelationDontEnforce) == 0;
    e.aenderungsweitergabe = (a & dbRelationUpdateCascade) != 0;
    e.loeschweitergabe = (a & dbRelationDeleteCascade) != 0;
    e.uebernommen = (a & dbRelationInherited) != 0;
    e.verknuepfung = (a & dbRelationLeft) != 0 ? Verknuepfungstyp::Links
        : (a & dbRelationRight) != 0           ? Verknuepfungstyp::Rechts
                                               : Verknuepfungstyp::Innen;
    return e;
}

qint64 Beziehungseingabe::attribute() const
{
    qint64 a = einsZuEins ? qint64(dbRelationUnique) : 0;
    if (!erzwingen)
        a += dbRelationDontEnforce;
    if (aenderungsweitergabe)
        a += dbRelationUpdateCascade;
    if (loeschweitergabe)
        a += dbRelationDeleteCascade;
    if (uebernommen)
        a += dbRelationInherited;
    if (verknuepfung == Verknuepfungstyp::Links)
        a += dbRelationLeft;
    else if (verknuepfung == Verknuepfungstyp::Rechts)
        a += dbRelationRight;
    return a;
}

QList<RelationField> Beziehungseingabe::paare() const
{
    QList<RelationField> liste { RelationField { basisfeld, fremdfeld } };
    if (basistabelle.compare(geladeneBasistabelle, Qt::CaseInsensitive) == 0
        && fremdtabelle.compare(geladeneFremdtabelle, Qt::CaseInsensitive) == 0)
        liste += weiterePaare;
    return liste;
}

bool Beziehungseingabe::vollstaendig() const
{
    return !name.trimmed().isEmpty() && !basistabelle.isEmpty() && !basisfeld.isEmpty()
        && !fremdtabelle.isEmpty() && !fremdfeld.isEmpty();
}

bool speichereBeziehung(Database& db, const Beziehungseingabe& eingabe, const QString& alterName)
{
    std::optional<Strukturtransaktion> transaktion;
    const QString eigenschaften = QStringLiteral("Fehler beim Einstellen der Eigenschaften!");
    if (!engineschritt(eigenschaften, [&] { transaktion.emplace(*db.workspace()); }))
        return false;
    std::unique_ptr<Relation> neu;
    if (!engineschritt(eigenschaften, [&] {
            neu = db.createRelation(eingabe.name.trimmed(), eingabe.basistabelle,
                eingabe.fremdtabelle, eingabe.attribute());
            for (const RelationField& paar : eingabe.paare())
                neu->appendField(paar.name, paar.foreignName);
        }))
        return false;
    if (!alterName.isEmpty()
        && !engineschritt(QStringLiteral("Fehler beim Löschen der alten Beziehung!"),
            [&] { db.relations().remove(alterName); }))
        return false;
    if (!engineschritt(QStringLiteral("Fehler beim Hinzufügen der Beziehung!"), [&] {
            db.relations().append(std::move(neu));
            transaktion->festschreiben();
        }))
        return false;
    db.relations().refresh();
    return true;
}

} // namespace kv
