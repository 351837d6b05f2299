#pragma once

#include "base/Rastermodell.h"

#include <QtGlobal>

#include <functional>
#include <memory>

class QObject;

namespace kv {

namespace engine {
class Recordset;
}

/// The grid model of a table view (and of its designer's preview): the grid contract, plus what
/// the windows do with the record set behind it. The program hands in the maker, so that the
/// windows depend on the contract only.
class Ansichtsmodell {
public:
    virtual ~Ansichtsmodell() = default;

    /// The model the grid shows; owned by the parent given to the maker.
    virtual Rastermodell* raster() const = 0;
    /// Shows rs (taking it over), replacing the set shown before; nullptr shows no rows.
    virtual void zeigen(std::unique_ptr<engine::Recordset> rs) = 0;
    /// The set shown; nullptr without one.
    virtual engine::Recordset* datensatz() const = 0;
    /// Reads the rows anew after other code (or another program) changed the records.
    virtual void neuLesen() = 0;
    /// The rows of the set shown are counted by the window (with its totals, in one walk):
    /// returns the mark for anzahlMitteilen, 0 when the model counts for itself anyway.
    virtual quint64 anzahlUebernehmen() { return 0; }
    /// The window's count for the set marked so; anzahl < 0: the model counts after all.
    virtual void anzahlMitteilen(quint64 marke, qint64 anzahl)
    {
        Q_UNUSED(marke);
        Q_UNUSED(anzahl);
    }
};

/// Makes the model for a window; the grid model becomes a child of eltern.
using Ansichtsmodellmacher = std::function<std::unique_ptr<Ansichtsmodell>(QObject* eltern)>;

} // namespace kv
