#include "tables/ui/Recordsetansicht.h"

#include "engine/Recordset.h"
#include "engine/model/RecordsetModel.h"

namespace kv {

namespace {

class RecordsetmodellAnsicht : public Ansichtsmodell {
public:
    explicit RecordsetmodellAnsicht(QObject* eltern)
        : m_modell(new engine::RecordsetModel(eltern))
    { }

    Rastermodell* raster() const override { return m_modell; }
    void zeigen(std::unique_ptr<engine::Recordset> rs) override
    {
        m_modell->setRecordset(std::move(rs));
    }
    engine::Recordset* datensatz() const override { return m_modell->recordset(); }
    void neuLesen() override { m_modell->refresh(); }
    quint64 anzahlUebernehmen() override
    {
        // Generation 0 is no set, or a count under way.
        return m_modell->recordset() && m_modell->zaehltNoch() ? m_modell->countElsewhere() : 0;
    }
    void anzahlMitteilen(quint64 marke, qint64 anzahl) override
    {
        if (marke != 0)
            m_modell->countFrom(marke, anzahl);
    }

private:
    engine::RecordsetModel* m_modell;
};

} // namespace

Ansichtsmodellmacher Recordsetansicht()
{
    return [](QObject* eltern) { return std::make_unique<RecordsetmodellAnsicht>(eltern); };
}

} // namespace kv
