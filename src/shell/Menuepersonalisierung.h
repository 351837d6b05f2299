#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kv {

/// The reduced ("personalised") menus: a menu shows the commands of a base set and those the
/// user used lately; the others wait behind "Weitere Befehle" or, when the user wants it, until
/// the menu has been open for a moment.
namespace Menuepersonalisierung {

/// How many recently used commands are remembered.
inline constexpr int MaxZuletzt = 24;
/// How long a reduced menu waits before it shows all its commands (when that option is on).
inline constexpr int VerzoegerungMs = 3000;

/// Caption of the entry that shows the whole menu.
QString WeitereBefehleText();

/// The commands a reduced menu shows before any use: those of the designed main tool bar and the
/// few every user needs to find at once.
const QStringList& Grundbestand();

/// The list after werkzeug was used: newest first, without repetition, at most MaxZuletzt.
QStringList Verwendet(QStringList zuletzt, const QString& werkzeug);

/// For each entry of a band (tool names, "" for a separator, names of sub-bands): true when the
/// reduced menu shows it. Sub-bands always show; a separator shows only between two shown
/// groups.
QList<bool> Sichtbar(const QStringList& band, const QStringList& zuletzt);

} // namespace Menuepersonalisierung

} // namespace kv
