#include "base/Zahlenformate.h"

#include "base/Format.h"
#include "base/Landeseinstellungen.h"

namespace kv {

namespace {
QStringList bilde()
{
    const QString ganz = QStringLiteral("##,###,###,##0");
    // As many decimals as the locale's standard form shows, e.g. "0,12" -> ".00".
    const QString probe = Format(0.123456, QStringLiteral("Standard"));
    const QString dezimal = probe.size() >= 2 ? u'.' + QString(probe.size() - 2, u'0') : QString();
    const QString waehrung = LandesEinstellung(Gebietselement::Waehrungssymbol);
    return {
        ganz + dezimal + QLatin1String(";-") + ganz + dezimal,
        QStringLiteral("###,###,###,###,##0;-###,###,###,###,##0"),
        ganz,
        ganz + dezimal + u' ' + waehrung + QLatin1String(";-") + ganz + dezimal + u' ' + waehrung,
        QStringLiteral("##,###,###,###,##0.0;-##,###,###,###,##0.0"),
        QStringLiteral("#,###,###,###,##0.00;-#,###,###,###,##0.00"),
        QStringLiteral("###,###,###,##0.000;-###,###,###,##0.000"),
        QStringLiteral("##,###,###,##0.0000;-##,###,###,##0.0000"),
        QStringLiteral("#,###,###,##0.00000;-#,###,###,##0.00000"),
        QStringLiteral("###,###,##0.000000;-###,###,##0.000000"),
        QStringLiteral("##,###,##0.0000000;-##,###,##0.0000000"),
        QStringLiteral("#,###,##0.00000000;-#,###,##0.00000000"),
        QStringLiteral("###,##0.000000000;-###,##0.000000000"),
    };
}

QStringList& tabelle()
{
    static QStringList t = bilde();
    return t;
}
} // namespace

const QStringList& Zahlenformate()
{
    return tabelle();
}

void ZahlenformateNeuBilden()
{
    tabelle() = bilde();
}

} // namespace kv
