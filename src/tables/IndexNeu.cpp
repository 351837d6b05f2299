#include "tables/IndexNeu.h"

#include "engine/TableDef.h"
#include "tables/Engineschritt.h"
#include "tables/Indexfeldtext.h"

namespace kv {

QStringList indexfaehigeFelder(engine::TableDef& tabelle)
{
    QStringList namen;
    for (const engine::Field* f : tabelle.fields().items())
        if (f->type() != engine::dbMemo && f->type() != engine::dbLongBinary)
            namen << f->name();
    return namen;
}

bool legeIndexAn(engine::TableDef& tabelle, const IndexEingabe& eingabe)
{
    return engineschritt(QStringLiteral("Fehler beim Hinzufügen des Index!"), [&] {
        auto index = tabelle.createIndex(eingabe.name);
        index->setPrimary(eingabe.primaer);
        index->setUnique(eingabe.primaer || eingabe.eindeutig);
        index->setRequired(eingabe.primaer || eingabe.erforderlich);
        index->setIgnoreNulls(!eingabe.primaer && eingabe.nullwerteIgnorieren);
        index->setFields(leseIndexfeldtext(eingabe.felder));
        tabelle.indexes().append(std::move(index));
    });
}

} // namespace kv
