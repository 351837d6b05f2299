#include "masks/ui/Untertabelle.h"

#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "masks/Untertabellenabfrage.h"

namespace kv {

Untertabelle::Untertabelle(
    engine::Database& db, const TabellenelementEinstellungen& e, bool gesperrt, QWidget* behaelter)
    : m_e(e)
    , m_abfrage(std::make_unique<Untertabellenabfrage>(db, e))
    , m_grid(new DataGrid(behaelter))
{
    m_grid->setzeTitel(e.titel);
    m_grid->setzeNurLesen(gesperrt || e.sperre);
    m_grid->setzeFusszeile(!e.summenspalten.isEmpty());
}

Untertabelle::~Untertabelle() = default;

void Untertabelle::zeige(const QVariant& hauptwert)
{
    m_hauptwert = hauptwert;
    try {
        m_zeilen = m_abfrage->oeffne(hauptwert);
    } catch (const engine::EngineError&) {
        // A statement that cannot be opened shows no rows; the mask stays usable.
        m_zeilen.reset();
    }
}

void Untertabelle::leeren()
{
    m_hauptwert = QVariant();
    m_zeilen.reset();
}

engine::Recordset* Untertabelle::zeilen() const
{
    return m_zeilen.get();
}

void Untertabelle::summenAktualisieren() { }

bool Untertabelle::speichern()
{
    return !m_grid || m_grid->aenderungenUebernehmen();
}

} // namespace kv
