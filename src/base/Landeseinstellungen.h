#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <memory>

namespace kv {

/// Numbers of the regional items the program asks for (the platform's locale item numbers).
namespace Gebietselement {
constexpr int Sprache = 0x02;
constexpr int Land = 0x06;
constexpr int Listentrenner = 0x0C;
constexpr int Dezimalzeichen = 0x0E;
constexpr int Tausenderzeichen = 0x0F;
constexpr int Gruppierung = 0x10;
constexpr int Nachkommastellen = 0x11;
constexpr int FuehrendeNull = 0x12;
constexpr int Waehrungssymbol = 0x14;
constexpr int WaehrungIso = 0x15;
constexpr int WaehrungDezimalzeichen = 0x16;
constexpr int WaehrungTausenderzeichen = 0x17;
constexpr int WaehrungNachkommastellen = 0x19;
constexpr int Datumstrenner = 0x1D;
constexpr int Zeittrenner = 0x1E;
constexpr int KurzesDatum = 0x1F;
constexpr int LangesDatum = 0x20;
constexpr int Datumsreihenfolge = 0x21;
constexpr int Zeitformat24 = 0x23;
constexpr int Jahrhundert = 0x24;
constexpr int Vormittag = 0x28;
constexpr int Nachmittag = 0x29;
constexpr int Tagesname1 = 0x2A; ///< Monday; up to 0x30 Sunday
constexpr int TagesnameKurz1 = 0x31;
constexpr int Monatsname1 = 0x38;
constexpr int MonatsnameKurz1 = 0x44;
constexpr int Pluszeichen = 0x50;
constexpr int Minuszeichen = 0x51;
constexpr int Zeitformat = 0x1003;
constexpr int ErsterWochentag = 0x100C;
} // namespace Gebietselement

/// A locale's values in the forms the formats of the program use. Date and time patterns are in
/// the platform notation ("dd.MM.yyyy", "HH:mm:ss": M month, m minute, H 24-hour clock, tt
/// AM/PM). The short date always has a four-digit year: two-digit years are ambiguous in stored
/// data, and four digits are the platform default for German.
struct Regionaldaten {
    QLocale locale;
    QString dezimalzeichen;
    QString tausenderzeichen;
    QString listentrenner;
    QString datumstrenner;
    QString zeittrenner;
    QString waehrung;
    QString waehrungIso;
    /// Currency layouts with "%1" for the unsigned, grouped amount.
    QString waehrungPositiv;
    QString waehrungNegativ;
    QString kurzesDatum;
    QString langesDatum;
    QString zeitformat;
    QString vormittag;
    QString nachmittag;
    /// 0 month-day-year, 1 day-month-year, 2 year-month-day.
    int datumsreihenfolge = 1;
    /// 1-based; index 0 unused.
    std::array<QString, 13> monate;
    std::array<QString, 13> monateKurz;
    /// Index 1 Sunday to 7 Saturday, as the formats count weekdays; index 0 unused.
    std::array<QString, 8> tage;
    std::array<QString, 8> tageKurz;

    /// The values of locale; built once per locale and shared.
    static std::shared_ptr<const Regionaldaten> fuer(const QLocale& locale);

    /// The value of one item (Gebietselement); an empty text for items the program never asks.
    QString einstellung(int element) const;
};

/// The user's value for a regional item (QLocale(), which the application sets). Item 20 is the
/// currency symbol.
QString LandesEinstellung(int element);
/// The same for the system's locale (QLocale::system()).
QString SystemEinstellung(int element);
/// The user's short date pattern in lower case with a four-digit year ("dd.mm.yyyy").
QString DatumsformatVierstellig();

/// Converts a QLocale date/time pattern to the platform notation (time zone and milliseconds
/// dropped, AM/PM as "tt").
QString qtMusterAlsPlattformMuster(const QString& qtMuster);
/// Converts a platform-notation pattern to a Format pattern ("dd.MM.yyyy" -> "dd.mm.yyyy",
/// "HH:mm" -> "hh:nn").
QString plattformMusterAlsFormat(const QString& muster);

} // namespace kv
