#include "masks/Listeninhalt.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"

namespace kv {

Listeninhalt listeninhalt(engine::Database* db, const ComboboxEinstellungen& e)
{
    Listeninhalt inhalt;
    inhalt.spalten = e.spalten;
    if (!e.listeAusSql()) {
        for (const QStringList& zeile : e.festeWerte) {
            QVariantList werte;
            for (const QString& w : zeile)
                werte.append(w);
            inhalt.zeilen.append(werte);
        }
        for (const Combospalte& s : e.spalten)
            inhalt.spaltennamen.append(s.name);
        return inhalt;
    }
    if (!db)
        return inhalt;
    try {
        const std::unique_ptr<engine::Recordset> rs = db->openRecordset(e.sql);
        for (engine::Field* f : rs->fields()) {
            inhalt.spaltennamen.append(f->name());
            if (e.spalten.isEmpty())
                inhalt.spalten.append(
                    { f->name(), false, combospaltentyp(qint16(f->type())), 1440 });
        }
        if (!(rs->bof() && rs->eof())) {
            rs->moveFirst();
            while (!rs->eof()) {
                const QList<QVariantList> stueck = rs->getRows(1000);
                if (stueck.isEmpty())
                    break;
                inhalt.zeilen.append(stueck);
            }
        }
    } catch (const engine::EngineError&) {
        inhalt.zeilen.clear();
    }
    return inhalt;
}

} // namespace kv
