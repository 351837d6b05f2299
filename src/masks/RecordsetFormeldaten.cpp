#include "masks/RecordsetFormeldaten.h"

#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Recordset.h"

namespace kv {

namespace {
bool hatFeld(engine::Recordset& rs, const QString& name)
{
    for (const engine::Field* f : rs.fields()) {
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
} // namespace

bool RecordsetFormeldaten::hatDatensatz() const
{
    return m_datensatz && m_datensatz->isOpen() && !m_datensatz->bof() && !m_datensatz->eof();
}

std::optional<QVariant> RecordsetFormeldaten::feldwert(const QString& feld) const
{
    if (!hatDatensatz() || !hatFeld(*m_datensatz, feld))
        return std::nullopt;
    try {
        return m_datensatz->value(feld);
    } catch (const engine::EngineError&) {
        return std::nullopt;
    }
}

std::optional<QVariantList> RecordsetFormeldaten::spaltenwerte(
    int element, const QString& spalte) const
{
    if (element < 1 || element > m_tabellen.size())
        return std::nullopt;
    engine::Recordset* zeilen = m_tabellen.at(element - 1);
    if (!zeilen || !zeilen->isOpen())
        return QVariantList();
    if (!hatFeld(*zeilen, spalte))
        return std::nullopt;
    QVariantList werte;
    try {
        const std::unique_ptr<engine::Recordset> kopie = zeilen->clone();
        if (kopie->bof() && kopie->eof())
            return werte;
        for (kopie->moveFirst(); !kopie->eof(); kopie->moveNext())
            werte.append(kopie->value(spalte));
    } catch (const engine::EngineError&) {
        return std::nullopt;
    }
    return werte;
}

} // namespace kv
