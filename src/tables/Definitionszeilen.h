#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace kv {

// The line rules that table-view and mask definition files share: "key: value" lines, keys
// compared upper-cased, header lines first (any order), the remaining lines after them.

/// One line split at its first ":". The key is upper-cased (not trimmed), the value raw.
struct Definitionszeile {
    QString schluessel;
    QString wert;
    /// 1-based line number in the file, for notes on lines that could not be used.
    int nummer = 0;
};

/// The form in which readers compare keys.
QString definitionsschluessel(const QString& schluessel);

/// The lines of a definition text. Files are written with CR LF; a lone LF or CR also ends a
/// line, so that a file saved by another editor still reads line by line.
QStringList definitionszeilen(const QString& text);

/// nullopt for a line without ":".
std::optional<Definitionszeile> zerlegeDefinitionszeile(const QString& zeile, int nummer = 0);

/// The first pass over all lines: kopfzeile gets each line with ":" and returns true when it
/// applied it as a header line. Returns the lines that were not applied, in file order.
/// zeilenTrimmen removes blanks (not tabs) around every line first (mask files).
QList<Definitionszeile> leseKopfzeilen(const QString& text, bool zeilenTrimmen,
    const std::function<bool(const Definitionszeile&)>& kopfzeile);

/// The note for a line that is neither a header line nor one the format knows.
QString hinweisUnbekannteZeile(const Definitionszeile& zeile);

// Value readers. None of them fails: what cannot be read gives the documented fallback.

/// A value written as key + ": " + value loses the blank that the writer put after the colon.
QString ohneSchreibleerzeichen(const QString& wert);
/// A number in the locale's form ("12,5" in German); text the locale does not read is taken by
/// its leading number ("12.5" as 12.5, "abc" as 0). Never NaN or infinite.
double leseZahl(const QString& wert);
/// The leading number whatever the locale (switches, modes, colours); 0 without one.
double leseWert(const QString& wert);
/// True only for the trimmed text "1".
bool leseSchalter(const QString& wert);
/// A whole number in lo..hi read with leseWert; out of range or fractional gives vorgabe.
int leseGanzzahl(const QString& wert, int lo, int hi, int vorgabe);
/// A 32-bit colour value (also written as negative number, as older files hold system colours);
/// nullopt outside the 32 bits or without a number.
std::optional<quint32> leseFarbe(const QString& wert);
/// A boolean piece: a non-zero number or "Wahr"/"True".
bool leseWahrheitswert(const QString& wert);
/// Points; 0 (not set) for sizes no font has.
float leseSchriftgroesse(const QString& wert);
/// The copy template with its line breaks as "<crlf>", so that it fits one line.
QString vorlageEinzeilig(QString vorlage);
/// Twips within +-Twipsgrenze; farther positions and sizes are no use on any screen.
inline constexpr double Twipsgrenze = 1.0e6;
double begrenzeTwips(double twips);

/// Builds a definition text line by line: "key" + value, CR LF after every line.
class Definitionsschreiber {
public:
    /// schluessel is written as given, with its colon and blank ("Höhe: ").
    void zeile(const QString& schluessel, const QString& wert);
    void zahl(const QString& schluessel, double wert) { zeile(schluessel, zahltext(wert)); }
    void ganzzahl(const QString& schluessel, qint64 wert)
    {
        zeile(schluessel, QString::number(wert));
    }
    void schalter(const QString& schluessel, bool an)
    {
        zeile(schluessel, an ? QStringLiteral("1") : QStringLiteral("0"));
    }
    void farbe(const QString& schluessel, quint32 farbe)
    {
        zeile(schluessel, QString::number(farbe));
    }
    const QString& text() const { return m_text; }

    /// A number as the system writes a 32-bit float (locale decimal separator).
    static QString zahltext(double wert);
    /// A value made fit for one line: line breaks become blanks.
    static QString einzeilig(const QString& wert);

private:
    QString m_text;
};

} // namespace kv
