#pragma once

#include <QHash>
#include <QString>
#include <optional>

namespace kv {

/// An installation INI file read the way the platform's private-profile reading does: sections
/// and keys ignore case, values are trimmed and lose one pair of enclosing quotes, the first
/// occurrence of a section or key counts.
class IniDatei {
public:
    /// Reads a Windows-1252 file (or UTF-8 with byte-order mark); a missing or unreadable file
    /// reads as an empty one.
    explicit IniDatei(const QString& pfad);

    std::optional<QString> wert(const QString& abschnitt, const QString& schluessel) const;

    /// Longest value handed out; longer values are cut.
    static constexpr int MaxLaenge = 1024;

private:
    QHash<QString, QHash<QString, QString>> m_abschnitte;
};

/// Path of "KELVAD.INI" in the program directory.
QString IniDateiPfad();

/// The user's copy of an installation INI file: the same file name in the per-user settings
/// folder. The program folder may be read-only and shared, so what the program writes into an
/// INI file goes there, and reading looks there first.
QString BenutzerIniPfad(const QString& installationsPfad);

/// A value of an INI file: the user's copy first, then the installation file itself.
std::optional<QString> IniWert(
    const QString& installationsPfad, const QString& abschnitt, const QString& schluessel);

/// Writes a value into the user's copy of an INI file (made when missing); the installation file
/// stays as it is. False when it cannot be written.
bool SchreibeBenutzerIniWert(const QString& installationsPfad, const QString& abschnitt,
    const QString& schluessel, const QString& wert);

/// A value from "KELVAD.INI" (the user's copy first); vorgabe when the section or key is
/// missing in both.
QString LeseIniWert(const QString& abschnitt, const QString& schluessel, const QString& vorgabe);

/// Sets one value in the INI file at pfad, keeping every other line; the section is appended when
/// missing. The file is written as Windows-1252. False when it cannot be written.
bool SchreibeIniWert(
    const QString& pfad, const QString& abschnitt, const QString& schluessel, const QString& wert);

} // namespace kv
