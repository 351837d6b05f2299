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

private:
    engine::RecordsetModel* m_modell;
};

} // namespace

Ansichtsmodellmacher Recordsetansicht()
{
    return [](QObject* eltern) { return std::make_unique<RecordsetmodellAnsicht>(eltern); };
}

} // namespace kv
