#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kv {

// Names for new or renamed tables and fields that do not clash with existing ones. Existing
// names are compared ignoring case, as the engine does.

/// Numbered tries of eindeutigerTabellenname and eindeutigerFeldname.
inline constexpr int TabellennameVersuche = 1001;
inline constexpr int FeldnameVersuche = 1000;
/// Longest field name the engine accepts.
inline constexpr int FeldnameMaxLaenge = 64;

/// The wanted name when it is free, else the wanted name followed by 1, 2, 3, ...; nullopt
/// when all numbered tries are taken.
std::optional<QString> eindeutigerTabellenname(const QString& wunsch, const QStringList& tabellen);

/// basis + "0" (basis alone when it has 64 characters or more) when free, else basis followed by
/// 1, 2, 3, ...; a long basis is shortened so that the number still fits into 64 characters.
/// nullopt when all numbered tries are taken.
std::optional<QString> eindeutigerFeldname(const QString& basis, const QStringList& felder);

/// Message for the case that eindeutigerTabellenname found no free name.
QString keinFreierTabellennameText(const QString& wunsch);
/// Message for the case that eindeutigerFeldname found no free name.
QString keinFreierFeldnameText(const QString& basis);

} // namespace kv
