#include "tables/Maskenelementarten.h"

namespace kv {

const QStringList& Maskenelementarten()
{
    static const QStringList namen {
        QStringLiteral("EingabeText"),
        QStringLiteral("EingabeTextMemo"),
        QStringLiteral("EingabeGanzzahl"),
        QStringLiteral("EingabeZahl"),
        QStringLiteral("EingabeDatum"),
        QStringLiteral("EingabeCheckbox"),
        QStringLiteral("EingabeOptionbox"),
        QStringLiteral("AnzeigeText"),
        QStringLiteral("AnzeigeBild"),
        QStringLiteral("AnzeigeStatikbild"),
        QStringLiteral("AnzeigeOLE"),
        QStringLiteral("EingabeCombobox"),
        QStringLiteral("EingabeTabelle"),
    };
    return namen;
}

QString maskenelementname(Maskenelementart art)
{
    return Maskenelementarten().value(static_cast<int>(art));
}

std::optional<Maskenelementart> maskenelementart(const QString& name)
{
    const QString gross = name.trimmed().toUpper();
    const QStringList& namen = Maskenelementarten();
    for (int id = 0; id < namen.size(); ++id) {
        if (namen.at(id).toUpper() == gross)
            return static_cast<Maskenelementart>(id);
    }
    return std::nullopt;
}

} // namespace kv
