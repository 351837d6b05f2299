#include "engine/core/BooleanText.h"

#include <QString>

namespace kv::engine {

namespace {
struct Word {
    const char* text;
    unsigned group;
    bool value;
};

constexpr Word words[] = {
    { "ja", JaNein, true },
    { "nein", JaNein, false },
    { "wahr", WahrFalsch, true },
    { "falsch", WahrFalsch, false },
    { "true", TrueFalse, true },
    { "false", TrueFalse, false },
    { "yes", YesNo, true },
    { "no", YesNo, false },
    { "ein", EinAus, true },
    { "an", EinAus, true },
    { "on", EinAus, true },
    { "aus", EinAus, false },
    { "off", EinAus, false },
    { "-1", EinsNull, true },
    { "1", EinsNull, true },
    { "0", EinsNull, false },
};
} // namespace

std::optional<bool> booleanFromWord(QStringView text, unsigned groups)
{
    const QStringView t = text.trimmed();
    for (const Word& w : words)
        if ((w.group & groups) != 0 && t.compare(QLatin1String(w.text), Qt::CaseInsensitive) == 0)
            return w.value;
    return std::nullopt;
}

} // namespace kv::engine
