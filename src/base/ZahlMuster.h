#pragma once

#include "base/Dezimalzahl.h"
#include "base/Landeseinstellungen.h"

#include <QList>
#include <QString>

namespace kv::formatdetail {

/// One compiled number section of a format ("#,##0.00", "0.00E+00", "0%", "\N\u\l\l").
class ZahlMuster {
public:
    explicit ZahlMuster(const QString& abschnitt);

    /// True when the section holds a digit placeholder.
    static bool hatZiffernplatz(const QString& abschnitt);

    /// Formats the magnitude of zahl (its sign is the caller's business). nurNullen reports
    /// whether every shown digit is zero, so that a rounded-away negative gets no minus sign.
    QString formatiere(Dezimalzahl zahl, const Regionaldaten& r, bool* nurNullen = nullptr) const;

private:
    enum class Typ { Literal, Ganz, Bruch, ExpZiffer, Punkt, ExpZeichen };
    struct Element {
        Typ typ;
        bool null = false; ///< "0" rather than "#"
        QString text; ///< literal text; for ExpZeichen the letter
    };

    QList<Element> m_elemente;
    int m_ganzPlaetze = 0;
    int m_ganzMindestens = 0; ///< places from the leftmost "0" to the point
    int m_bruchPlaetze = 0;
    int m_expPlaetze = 0;
    int m_expMindestens = 0;
    int m_verschiebung = 0; ///< decimal shift from "%" (+2) and scaling commas (-3)
    bool m_gruppieren = false;
    bool m_exponent = false;
    bool m_expPlus = false;
    bool m_hatPunkt = false;
};

} // namespace kv::formatdetail
