#pragma once

#include <QString>

namespace kv {

/// The program's directory with a trailing separator. Defaults to the executable's directory.
QString Programmverzeichnis();
/// Sets the program directory (start-up fallback, tests); a trailing separator is added.
/// An empty text restores the default.
void setzeProgrammverzeichnis(const QString& verzeichnis);
/// Folder of the icon files: Programmverzeichnis() + "Grafik" + separator.
QString Grafikverzeichnis();

/// True when the icon folder below verzeichnis holds "Abbruch16.ico".
bool grafikVorhanden(const QString& verzeichnis);

/// Start-up check of the icon folder. When it is missing below Programmverzeichnis() but present
/// below installationsverzeichnis, that directory becomes the program directory. Returns the
/// warning to show when neither has it, an empty text otherwise.
QString pruefeGrafikverzeichnis(const QString& installationsverzeichnis, const QString& aufrufpfad);

} // namespace kv
