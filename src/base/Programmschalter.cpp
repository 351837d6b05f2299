#include "base/Programmschalter.h"

#include <mutex>

namespace kv {

namespace {

struct Gespeichert {
    std::mutex sperre;
    Programmschalter werte;
};

Gespeichert& gespeichert()
{
    static Gespeichert g;
    return g;
}

} // namespace

Programmschalter programmschalter()
{
    Gespeichert& g = gespeichert();
    const std::lock_guard<std::mutex> halten(g.sperre);
    return g.werte;
}

void setzeProgrammschalter(const Programmschalter& schalter)
{
    Gespeichert& g = gespeichert();
    const std::lock_guard<std::mutex> halten(g.sperre);
    g.werte = schalter;
}

} // namespace kv
