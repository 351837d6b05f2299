#pragma once

#include "base/Rastermodell.h"

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
};

/// Makes the model for a window; the grid model becomes a child of eltern.
using Ansichtsmodellmacher = std::function<std::unique_ptr<Ansichtsmodell>(QObject* eltern)>;

} // namespace kv
