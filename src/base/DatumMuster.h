#pragma once

#include "base/Landeseinstellungen.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <memory>

namespace kv::formatdetail {

/// One compiled date/time section of a format ("dd.mm.yyyy hh:nn", "dddd, d. mmmm yyyy").
/// Letters are case-insensitive; "m" right after an hour or right before a second means minutes;
/// "/" and ":" are the locale's date and time separators.
class DatumMuster {
public:
    DatumMuster(const QString& abschnitt, const Regionaldaten& r);

    /// True when the section holds a date or time placeholder.
    static bool hatDatumsplatz(const QString& abschnitt);

    QString formatiere(const QDateTime& wert, const Regionaldaten& r) const;

    /// The locale's short date and long time, for the "General Date" form.
    static DatumMuster kurzesDatum(const Regionaldaten& r);
    static DatumMuster langeZeit(const Regionaldaten& r);
    /// "General Date": the date alone when it has no time, the time alone on day 0
    /// (30.12.1899), else both.
    static QString allgemein(const QDateTime& wert, const DatumMuster& datum,
        const DatumMuster& zeit, const Regionaldaten& r);

private:
    enum class Typ {
        Literal,
        Tag,
        Tag2,
        TagKurz,
        TagLang,
        Wochentag,
        Woche,
        Monat,
        Monat2,
        MonatKurz,
        MonatLang,
        Quartal,
        Jahrestag,
        Jahr2,
        Jahr4,
        Stunde,
        Stunde2,
        Minute,
        Minute2,
        Sekunde,
        Sekunde2,
        AmPm,
        Allgemein,
    };
    struct Element {
        Typ typ;
        QString text; ///< literal; for AmPm the two texts separated by "/"
    };

    void lies(const QString& abschnitt, const Regionaldaten& r, int tiefe);
    void literal(const QString& text);

    QList<Element> m_elemente;
    bool m_zwoelfStunden = false;
    /// For "c": the parts of the general form.
    std::shared_ptr<const QList<DatumMuster>> m_allgemein;
};

} // namespace kv::formatdetail
