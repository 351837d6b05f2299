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

/// A value from "KELVAD.INI"; vorgabe when the file, section or key is missing.
QString LeseIniWert(const QString& abschnitt, const QString& schluessel, const QString& vorgabe);

/// Sets one value in the INI file at pfad, keeping every other line; the section is appended when
/// missing. The file is written as Windows-1252. False when it cannot be written.
bool SchreibeIniWert(
    const QString& pfad, const QString& abschnitt, const QString& schluessel, const QString& wert);

} // namespace kv
