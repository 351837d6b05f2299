#include "tables/Tabellendefinition.h"

#include "tables/SqlNamen.h"
#include "tables/Tabellendefinitionsformat.h"

#include <QStringList>
#include <algorithm>

namespace kv {

namespace {
// System colour indices of the platform's colour table.
constexpr quint32 Systemfarbe = 0x80000000u;
constexpr quint32 Fenster = 5;
constexpr quint32 Fenstertext = 8;
constexpr quint32 Markierung = 13;
constexpr quint32 Markierungstext = 14;
constexpr quint32 Schaltflaeche = 15;
constexpr quint32 Schaltflaechentext = 18;
constexpr quint32 Cyan = 0xFFFF00u;

QString zeilen(const QStringList& liste)
{
    return liste.join(QLatin1String("\r\n")) + QLatin1String("\r\n");
}
} // namespace

quint32 designerStandardfarbe(Tabellenfarbe farbe)
{
    switch (farbe) {
    case Tabellenfarbe::HintergrundAuswahlzeile:
        return Systemfarbe | Markierung;
    case Tabellenfarbe::HintergrundZebramuster:
        return Cyan;
    case Tabellenfarbe::HintergrundFusszeile:
        return Systemfarbe | Schaltflaeche;
    case Tabellenfarbe::HintergrundAllgemein:
    case Tabellenfarbe::HintergrundNormalzeile:
    case Tabellenfarbe::HintergrundSuchzeile:
        return Systemfarbe | Fenster;
    case Tabellenfarbe::TextAuswahlzeile:
        return Systemfarbe | Markierungstext;
    case Tabellenfarbe::TextFusszeile:
        return Systemfarbe | Schaltflaechentext;
    case Tabellenfarbe::TextAllgemein:
    case Tabellenfarbe::TextZebramuster:
    case Tabellenfarbe::TextNormalzeile:
    case Tabellenfarbe::TextSuchzeile:
        break;
    }
    return Systemfarbe | Fenstertext;
}

std::optional<quint32> Tabellendefinition::laufzeitfarbe(Tabellenfarbe f) const
{
    const std::optional<quint32> wert = farbe(f);
    if (!wert || *wert == 0)
        return std::nullopt;
    return wert;
}

quint32 Tabellendefinition::designerfarbe(Tabellenfarbe f) const
{
    return farbe(f).value_or(designerStandardfarbe(f));
}

bool Tabellendefinition::hatSummen() const
{
    return std::any_of(
        spalten.cbegin(), spalten.cend(), [](const Tabellenspalte& s) { return s.summe; });
}

QString designerStandardtext(const QString& tabelle)
{
    return zeilen({ QStringLiteral("KV-Tabelle: Standard-Tabelle ") + tabelle,
        QStringLiteral("TabellenTitel: ") + tabelle, QStringLiteral("Suchzeile: 1"),
        QStringLiteral("Zebramuster: 1"), QStringLiteral("VideoleisteAnzeige: 1"),
        QStringLiteral("FunktionsleisteAnzeige: 1"),
        QStringLiteral("SQL: SELECT * From ") + Klammername(tabelle) });
}

QString laufzeitStandardtext(const QString& tabelle)
{
    return zeilen({ QStringLiteral("KV-Tabelle: Standard-Tabelle ") + tabelle,
        QStringLiteral("TabellenTitel: ") + tabelle, QStringLiteral("VideoleisteAnzeige: 1"),
        QStringLiteral("Suchzeile: 1"), QStringLiteral("FunktionsleisteAnzeige: 1"),
        QStringLiteral("SQL: SELECT * From ") + Klammername(tabelle) });
}

Tabellendefinition standardTabellendefinition(const QString& tabelle)
{
    Tabellendefinition def = leseTabellendefinition(laufzeitStandardtext(tabelle)).definition;
    def.datenbankVorgabenUmsetzen = true;
    return def;
}

} // namespace kv
