#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace kv {

/// Decodes Windows-1252 bytes; the five unassigned bytes map to the C1 control characters.
QString ausWindows1252(const QByteArray& bytes);
/// Encodes to Windows-1252; characters outside the code page become "?".
QByteArray zuWindows1252(const QString& text);

/// Reads a whole Windows-1252 text file; line ends stay as they are in the file.
/// nullopt when the file is missing or unreadable.
std::optional<QString> leseTextdatei(const QString& pfad);
/// Why schreibeTextdatei failed: the file could not be opened (created) or not be written;
/// the number is the file error kind (QFileDevice::FileError), the description the system's.
struct Schreibfehler {
    bool beimOeffnen = true;
    int nummer = 0;
    QString beschreibung;
};

/// Writes text whole as Windows-1252 with CR LF line ends (lone LF or CR become CR LF).
/// Writes to a temporary file first so that a failure leaves the old file intact; fehler, when
/// given, receives the reason of a failure.
bool schreibeTextdatei(const QString& pfad, const QString& text, Schreibfehler* fehler = nullptr);

} // namespace kv
