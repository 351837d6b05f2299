#pragma once

#include <QString>

namespace kv {

/// Application title: the settings store's application name and the main window's caption.
inline const QString Anwendungstitel = QStringLiteral("Kelvado 7.0");
/// Product name used as caption of the program's own questions.
inline const QString Produktname = QStringLiteral("Kelvado");
/// Application name of the previous generation, whose settings can be taken over.
inline const QString VorgaengerAnwendungstitel = QStringLiteral("Kelvado 6.0 für Windows");
inline constexpr int Hauptversion = 7;
inline constexpr int Revision = 8;

} // namespace kv
