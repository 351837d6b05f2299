#include "shell/DeutscheTastatur.h"

#include <array>

namespace kv {

namespace {

constexpr int AltGr = StrgTaste | AltTaste;

struct Belegung {
    char16_t zeichen;
    Tastenanschlag taste;
};

// Letters and digits follow from their codes; this table holds everything else.
constexpr std::array<Belegung, 51> sonderzeichen { {
    { u' ', { 0x20, 0 } },
    { u'\t', { 0x09, 0 } },
    { u'\r', { 0x0D, 0 } },
    { u'\n', { 0x0D, StrgTaste } },
    { u'!', { '1', UmschaltTaste } },
    { u'"', { '2', UmschaltTaste } },
    { u'§', { '3', UmschaltTaste } },
    { u'$', { '4', UmschaltTaste } },
    { u'%', { '5', UmschaltTaste } },
    { u'&', { '6', UmschaltTaste } },
    { u'/', { '7', UmschaltTaste } },
    { u'(', { '8', UmschaltTaste } },
    { u')', { '9', UmschaltTaste } },
    { u'=', { '0', UmschaltTaste } },
    { u'²', { '2', AltGr } },
    { u'³', { '3', AltGr } },
    { u'{', { '7', AltGr } },
    { u'[', { '8', AltGr } },
    { u']', { '9', AltGr } },
    { u'}', { '0', AltGr } },
    { u'@', { 'Q', AltGr } },
    { u'€', { 'E', AltGr } },
    { u'µ', { 'M', AltGr } },
    { u'ß', { 0xDB, 0 } },
    { u'?', { 0xDB, UmschaltTaste } },
    { u'\\', { 0xDB, AltGr } },
    { u'´', { 0xDD, 0 } },
    { u'`', { 0xDD, UmschaltTaste } },
    { u'^', { 0xDC, 0 } },
    { u'°', { 0xDC, UmschaltTaste } },
    { u'ü', { 0xBA, 0 } },
    { u'Ü', { 0xBA, UmschaltTaste } },
    { u'ö', { 0xC0, 0 } },
    { u'Ö', { 0xC0, UmschaltTaste } },
    { u'ä', { 0xDE, 0 } },
    { u'Ä', { 0xDE, UmschaltTaste } },
    { u'+', { 0xBB, 0 } },
    { u'*', { 0xBB, UmschaltTaste } },
    { u'~', { 0xBB, AltGr } },
    { u'#', { 0xBF, 0 } },
    { u'\'', { 0xBF, UmschaltTaste } },
    { u',', { 0xBC, 0 } },
    { u';', { 0xBC, UmschaltTaste } },
    { u'.', { 0xBE, 0 } },
    { u':', { 0xBE, UmschaltTaste } },
    { u'-', { 0xBD, 0 } },
    { u'_', { 0xBD, UmschaltTaste } },
    { u'<', { 0xE2, 0 } },
    { u'>', { 0xE2, UmschaltTaste } },
    { u'|', { 0xE2, AltGr } },
    { u'\b', { 0x08, 0 } },
} };

} // namespace

std::optional<Tastenanschlag> DeutscheTastatur::taste(QChar zeichen)
{
    const char16_t z = zeichen.unicode();
    if (z >= u'a' && z <= u'z')
        return Tastenanschlag { z - u'a' + 'A', 0 };
    if (z >= u'A' && z <= u'Z')
        return Tastenanschlag { z, UmschaltTaste };
    if (z >= u'0' && z <= u'9')
        return Tastenanschlag { z, 0 };
    for (const Belegung& b : sonderzeichen) {
        if (b.zeichen == z)
            return b.taste;
    }
    return std::nullopt;
}

QChar DeutscheTastatur::zeichen(int code, int umschaltung)
{
    if (code >= 'A' && code <= 'Z') {
        if (umschaltung == 0)
            return QChar(code - 'A' + 'a');
        if (umschaltung == UmschaltTaste)
            return QChar(code);
    }
    if (code >= '0' && code <= '9' && umschaltung == 0)
        return QChar(code);
    for (const Belegung& b : sonderzeichen) {
        if (b.taste.code == code && b.taste.umschaltung == umschaltung)
            return { b.zeichen };
    }
    return {};
}

} // namespace kv
