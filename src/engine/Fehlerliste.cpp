#include "engine/Fehlerliste.h"

namespace kv::engine {

QList<EngineError>& letzteFehler()
{
    static QList<EngineError> liste;
    return liste;
}

} // namespace kv::engine
