#pragma once

#include <QString>

namespace kv {

// Paths use the platform's separator for what is appended; everything that splits a path accepts
// both "/" and "\" (definition files and settings written on Windows carry backslashes). A ":"
// counts as a split point only as a drive letter ("C:datei"), since on Linux it is an ordinary
// file name character.

/// The path with a trailing separator (unchanged when it already ends with "/" or "\").
QString MitBackslash(const QString& pfad);

/// The part up to and including the last separator. Without one: fallback, or for an empty
/// fallback the application directory; the result always ends with a separator.
QString Verzeichnis(const QString& pfad, const QString& fallback = QString());

/// The part after the last separator.
QString Dateiname(const QString& pfad);

/// The path (mitVerzeichnis) or its file name, cut before the last "." of the file name; a dot
/// in a directory name is never taken for an extension.
QString OhneEndung(const QString& pfad, bool mitVerzeichnis);

/// True when pfad names an existing file; false for an empty path, a directory or any error.
bool DateiVorhanden(const QString& pfad);

} // namespace kv
