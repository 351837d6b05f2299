#include "Objektuebergabe.h"

namespace kv {

Objektuebergabe& objektuebergabe()
{
    static Objektuebergabe tabelle;
    return tabelle;
}

} // namespace kv
