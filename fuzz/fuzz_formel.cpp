// libFuzzer target for the formula evaluator: any formula, resolved against a record with a few
// fields and two table elements, gives a result text in German and German or C number form
// without a crash, a hang or a stack overflow.

#include "masks/Formelausdruck.h"
#include "masks/Formelauswertung.h"

#include <QByteArray>
#include <QLocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

class Daten : public kv::Formeldaten {
public:
    bool hatDatensatz() const override { return true; }
    std::optional<QVariant> feldwert(const QString& feld) const override
    {
        if (feld.compare(u"Menge", Qt::CaseInsensitive) == 0)
            return QVariant(3);
        if (feld.compare(u"Preis", Qt::CaseInsensitive) == 0)
            return QVariant(2.5);
        if (feld.compare(u"Text", Qt::CaseInsensitive) == 0)
            return QVariant(QStringLiteral("{Menge}"));
        if (feld.compare(u"Leer", Qt::CaseInsensitive) == 0)
            return QVariant();
        return std::nullopt;
    }
    int tabellenelemente() const override { return 2; }
    std::optional<QVariantList> spaltenwerte(int element, const QString& spalte) const override
    {
        if (spalte.compare(u"Betrag", Qt::CaseInsensitive) != 0)
            return std::nullopt;
        return element == 1 ? QVariantList { 1.5, QVariant(), 1e308 } : QVariantList {};
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QLocale deutsch(QLocale::German, QLocale::Germany);
    static const QLocale c(QLocale::C);
    const QString formel = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const Daten daten;
    const QString aufgeloest = kv::loeseVerweiseAuf(formel, daten);
    for (const QLocale* locale : { &deutsch, &c }) {
        const kv::Formelergebnis e = kv::werteAusdruckAus(aufgeloest, *locale);
        if (e.fehler != 0 && kv::formelfehlertext(e.fehler).isEmpty())
            std::abort();
        if (e.fehler == 0 && !std::isfinite(e.wert))
            std::abort();
    }
    (void)kv::berechneFormel(formel, daten);
    return 0;
}
