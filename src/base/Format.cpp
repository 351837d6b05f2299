#include "base/Format.h"

#include "base/FormatMuster.h"

#include <QHash>
#include <memory>

namespace kv {

namespace {
struct Zwischenspeicher {
    QLocale locale;
    QHash<QString, std::shared_ptr<const FormatMuster>> muster;
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
        speicher.locale = aktuell;
    }
    auto it = speicher.muster.constFind(format);
    if (it == speicher.muster.constEnd()) {
        if (speicher.muster.size() >= k_hoechstens)
            speicher.muster.clear();
        it = speicher.muster.insert(format, std::make_shared<const FormatMuster>(format, aktuell));
    }
    // Hold the pattern: formatting never re-enters the cache, but a copy costs nothing.
    const std::shared_ptr<const FormatMuster> muster = it.value();
    return muster->anwenden(wert);
}

} // namespace kv
