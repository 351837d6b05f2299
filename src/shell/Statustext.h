#pragma once

#include <QString>
#include <functional>

namespace kv {

/// The text of the main status line for a given text: "Bereit" when it is empty.
QString StatustextAnzeige(const QString& text);

/// Shows text in the main window's status line ("Hilfstext"); an empty text shows "Bereit".
/// Long operations call it without knowing the main window.
void Statustext(const QString& text = QString());
/// Installs where Statustext goes (the main window); an empty function drops the texts.
void setzeStatusziel(std::function<void(const QString&)> ziel);

} // namespace kv
