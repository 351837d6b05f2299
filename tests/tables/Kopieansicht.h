#pragma once

#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "tables/ui/Ansichtsmodell.h"
#include "testutils/Testrastermodell.h"

namespace kv::test {

/// The grid test model over a copy of a real record set's rows, moving the set with the grid's
/// current row: the table-view windows' tests run on it while the program has no grid model over
/// a record set. Edits stay in the copy.
class Kopieansicht : public Ansichtsmodell {
public:
    explicit Kopieansicht(QObject* eltern)
        : m_raster(new Raster(this, eltern))
    { }

    static Ansichtsmodellmacher macher()
    {
        return [](QObject* eltern) { return std::make_unique<Kopieansicht>(eltern); };
    }

    Rastermodell* raster() const override { return m_raster; }
    void zeigen(std::unique_ptr<engine::Recordset> rs) override
    {
        m_rs = std::move(rs);
        lesen();
    }
    engine::Recordset* datensatz() const override { return m_rs.get(); }
    void neuLesen() override
    {
        if (m_rs)
            m_rs->requery();
        lesen();
    }

private:
    class Raster : public Testrastermodell {
    public:
        Raster(Kopieansicht* ansicht, QObject* eltern)
            : Testrastermodell({}, {}, eltern)
            , m_ansicht(ansicht)
        { }
        void setzeAktuelleZeile(int zeile) override
        {
            Testrastermodell::setzeAktuelleZeile(zeile);
            engine::Recordset* rs = m_ansicht->datensatz();
            if (rs && zeile >= 0 && zeile < gespeicherteZeilen())
                rs->setAbsolutePosition(zeile);
        }

    private:
        Kopieansicht* m_ansicht;
    };

    void lesen()
    {
        QList<Datenfeldinfo> felder;
        QList<QVariantList> zeilen;
        if (m_rs) {
            for (engine::Field* f : m_rs->fields()) {
                felder.append({ f->name(), f->type(), f->sourceTable(), f->sourceField(),
                    m_rs->updatable() && f->dataUpdatable() });
            }
            if (!(m_rs->bof() && m_rs->eof())) {
                m_rs->moveFirst();
                zeilen = m_rs->getRows(1000000);
                m_rs->moveFirst();
            }
        }
        m_raster->ersetzeFelder(felder, zeilen);
    }

    std::unique_ptr<engine::Recordset> m_rs;
    Raster* m_raster;
};

} // namespace kv::test
