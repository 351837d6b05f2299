// libFuzzer target for the mask definition reader and the typed kind settings: any bytes read as
// a Windows-1252 file give a definition whose written text is canonical, and every element's
// settings decode and encode without harm.

#include "Kanonisch.h"
#include "base/Windows1252.h"
#include "masks/Elementeinstellungen.h"
#include "masks/Formelauswertung.h"
#include "masks/Maskendefinitionsformat.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

namespace {

void einstellungen(kv::Maskenelement e)
{
    using namespace kv;
    switch (e.art) {
    case Maskenelementart::EingabeText:
    case Maskenelementart::EingabeTextMemo:
        TexteingabeEinstellungen::aus(e).in(e);
        break;
    case Maskenelementart::EingabeGanzzahl:
    case Maskenelementart::EingabeZahl:
        ZahleingabeEinstellungen::aus(e).in(e);
        break;
    case Maskenelementart::EingabeDatum:
        DatumeingabeEinstellungen::aus(e).in(e);
        break;
    case Maskenelementart::EingabeCheckbox:
        CheckboxEinstellungen::aus(e).in(e);
        break;
    case Maskenelementart::EingabeOptionbox:
        OptionboxEinstellungen::aus(e).in(e);
        break;
    case Maskenelementart::AnzeigeText:
        AnzeigetextEinstellungen::aus(e).in(e);
        break;
    case Maskenelementart::AnzeigeBild:
    case Maskenelementart::AnzeigeOLE:
        BildEinstellungen::aus(e).in(e);
        break;
    case Maskenelementart::AnzeigeStatikbild:
        StatikbildEinstellungen::aus(e).in(e);
        break;
    case Maskenelementart::EingabeCombobox:
        ComboboxEinstellungen::aus(e).in(e);
        break;
    case Maskenelementart::EingabeTabelle: {
        const TabellenelementEinstellungen t = TabellenelementEinstellungen::aus(e);
        t.in(e);
        (void)t.anweisung(QVariant(e.datenfeld));
        break;
    }
    }
    // Encoded settings must still fit one element line.
    if (kv::elementfelder(e).count(u';') != kv::MaskenelementFelder - 1)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = kv::ausWindows1252(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    const kv::Maskendefinition gelesen = kv::leseMaskendefinition(text).definition;
    const QString geschrieben = kv::maskendefinitionstext(gelesen);
    const kv::Maskendefinition wieder = kv::leseMaskendefinition(geschrieben).definition;
    pruefeKanonisch(geschrieben, kv::maskendefinitionstext(wieder));
    for (const kv::Maskenelement& e : gelesen.elemente)
        einstellungen(e);
    (void)kv::formelliste(gelesen);
    return 0;
}
