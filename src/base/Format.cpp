#include "base/Format.h"

#include "base/FormatMuster.h"

#include <QHash>
#include <memory>

namespace kv {

namespace {
struct Zwischenspeicher {
    QLocale locale;
    QHash<QString, std::shared_ptr<const FormatMuster>> muster;
    // A grid formats column by column: the same format many times in a row.
    QString letztesFormat;
    std::shared_ptr<const FormatMuster> letztesMuster;
};
// Enough for every column of every open window; past it the cache simply starts over.
constexpr qsizetype k_hoechstens = 512;
} // namespace

QString Format(const QVariant& wert, const QString& format)
{
    thread_local Zwischenspeicher speicher;
    const QLocale aktuell;
    if (!(speicher.locale == aktuell)) {
        speicher.muster.clear();
        speicher.letztesMuster.reset();
        speicher.locale = aktuell;
    } else if (speicher.letztesMuster && speicher.letztesFormat == format) {
        return speicher.letztesMuster->anwenden(wert);
    }
    auto it = speicher.muster.constFind(format);
    if (it == speicher.muster.constEnd()) {
        if (speicher.muster.size() >= k_hoechstens)
            speicher.muster.clear();
        it = speicher.muster.insert(format, std::make_shared<const FormatMuster>(format, aktuell));
    }
    speicher.letztesFormat = format;
    speicher.letztesMuster = it.value();
    return speicher.letztesMuster->anwenden(wert);
}

} // namespace kv
