#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace kv {

/// Caption of the web-update question.
QString WebUpdateTitel();

/// The web-update question when it is due: "AutoPrüfung" (days between checks) is above 0,
/// "Zuletztgeprüftam" is a date in the user's form and at least that many days lie between it and
/// heute. nullopt when no question is due.
std::optional<QString> WebUpdateFrage(
    const QString& autoPruefung, const QString& zuletztGeprueft, const QDate& heute);

/// Reads the two values from section "WebUpdate" of "KELVAD.INI" and, when due, asks the user.
/// True when the user wants to look for an update now.
bool WebUpdateFragen(const QDate& heute);

} // namespace kv
