#pragma once

#include "base/Landeseinstellungen.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

namespace kv {

namespace formatdetail {
class ZahlMuster;
class DatumMuster;
class TextMuster;
} // namespace formatdetail

/// A format text compiled once for one locale, then applied to many values (a grid column, a
/// report field). Understands the named formats ("Currency", "Short Date", "Yes/No", …, any
/// case) and the user-defined number, date/time and text patterns with up to four sections
/// (positive;negative;zero;null, or text;empty).
///
/// Numbers round half away from zero on their 15 significant decimal digits (2.345 with "0.00"
/// is "2,35"); a negative that rounds to zero shows no minus sign ("0,00", not "-0,00"). "Short
/// Date" always has a four-digit year; "Medium Date" is "01. Feb 09" where the date separator
/// is "." and "01-Feb-09" elsewhere.
///
/// "Yes/No", "True/False" and "On/Off" show the German words ("Ja"/"Nein", "Wahr"/"Falsch",
/// "Ein"/"Aus") whatever the locale: they are texts of the program, not of the region.
///
/// Values: numbers, booleans (true is -1), dates (QDateTime, QDate, QTime; numbers count as days
/// since 30.12.1899), text and null. Text is converted when the format needs it: text that reads
/// as a number in the locale, or as a date (locale form or the stored form
/// "2009-02-01 00:00:00"); text that does not convert is returned unchanged.
class FormatMuster {
public:
    explicit FormatMuster(const QString& format, const QLocale& locale = QLocale());
    ~FormatMuster();
    FormatMuster(FormatMuster&&) noexcept;
    FormatMuster& operator=(FormatMuster&&) noexcept;

    QString anwenden(const QVariant& wert) const;

    const QLocale& locale() const { return m_region->locale; }

private:
    enum class Art {
        Leer,
        AllgemeineZahl,
        Waehrung,
        Wahrheit,
        AllgemeinesDatum,
        Zahl,
        Datum,
        Text
    };
    struct Wert;
    struct Zahl;

    void uebersetzeBenannt(const QString& format);
    void uebersetzeMuster(const QString& format);
    std::optional<Zahl> zahlVon(const Wert& w) const;
    std::optional<QDateTime> datumVon(const Wert& w) const;
    QString alsZahl(const Wert& w) const;
    QString alsDatum(const Wert& w) const;
    QString alsText(const Wert& w) const;
    QString allgemeinerText(const Wert& w) const;

    std::shared_ptr<const Regionaldaten> m_region;
    Art m_art = Art::Leer;
    QString m_wahr;
    QString m_falsch;
    std::vector<std::unique_ptr<formatdetail::ZahlMuster>> m_zahlen;
    std::vector<std::unique_ptr<formatdetail::DatumMuster>> m_daten;
    std::vector<std::unique_ptr<formatdetail::TextMuster>> m_texte;
    /// Short date and long time for dates shown in the general form.
    std::unique_ptr<formatdetail::DatumMuster> m_kurzesDatum;
    std::unique_ptr<formatdetail::DatumMuster> m_langeZeit;
    /// Sections that were written empty ("0;;0") fall back to the first.
    std::vector<bool> m_leer;
};

} // namespace kv
