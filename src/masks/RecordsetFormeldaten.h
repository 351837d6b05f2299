#pragma once

#include "masks/Formelauswertung.h"

#include <QList>

namespace kv {

namespace engine {
class Recordset;
}

/// Formula data read from the mask window's record sets: the main record set and, per table
/// element in load order, the rows it shows (null while it shows none).
class RecordsetFormeldaten : public Formeldaten {
public:
    RecordsetFormeldaten(engine::Recordset* datensatz, QList<engine::Recordset*> tabellen)
        : m_datensatz(datensatz)
        , m_tabellen(std::move(tabellen))
    { }

    bool hatDatensatz() const override;
    std::optional<QVariant> feldwert(const QString& feld) const override;
    int tabellenelemente() const override { return int(m_tabellen.size()); }
    /// Walks a clone, so the grid's own position stays.
    std::optional<QVariantList> spaltenwerte(int element, const QString& spalte) const override;

private:
    engine::Recordset* m_datensatz;
    QList<engine::Recordset*> m_tabellen;
};

} // namespace kv
