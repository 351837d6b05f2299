#include "shell/WebUpdate.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "base/Werteparser.h"
#include "shell/Anwendung.h"
#include "shell/IniDatei.h"

namespace kv {

QString WebUpdateTitel()
{
    return Produktname + QStringLiteral(" / Web-Update");
}

std::optional<QString> WebUpdateFrage(
    const QString& autoPruefung, const QString& zuletztGeprueft, const QDate& heute)
{
    const double tage = ParseZahl(autoPruefung).value_or(0);
    if (tage <= 0)
        return std::nullopt;
    const QString datumText = zuletztGeprueft.trimmed();
    const std::optional<QDateTime> zuletzt = ParseDatum(datumText);
    if (!zuletzt || static_cast<double>(zuletzt->date().daysTo(heute)) < tage)
        return std::nullopt;
    const QChar z = Zeilenumbruch;
    return QStringLiteral("Die automatische Update-Prüfung ist eingeschaltet") + z
        + QStringLiteral("und die letzte Prüfung war am: ") + datumText + z + z
        + QStringLiteral("Möchten Sie jetzt nach einem neuen Update suchen?");
}

bool WebUpdateFragen(const QDate& heute)
{
    const QString abschnitt = QStringLiteral("WebUpdate");
    const auto frage
        = WebUpdateFrage(LeseIniWert(abschnitt, QStringLiteral("AutoPrüfung"), QStringLiteral("0")),
            LeseIniWert(abschnitt, QStringLiteral("Zuletztgeprüftam"), QString()), heute);
    if (!frage)
        return false;
    return zeigeMeldung(*frage, WebUpdateTitel(), Knoepfe::JaNein, Symbol::Frage) == Antwort::Ja;
}

} // namespace kv
