#pragma once

#include <QList>
#include <QString>

namespace kv::formatdetail {

/// One compiled text section of a format: "@" a character or a blank, "&" a character or
/// nothing, "<" lower case, ">" upper case, "!" fill the places from the left.
class TextMuster {
public:
    explicit TextMuster(const QString& abschnitt);

    /// True when the section holds a character place ("@", "&"); such a section is text even
    /// when its literals hold letters that would be date placeholders.
    static bool hatZeichenplatz(const QString& abschnitt);
    /// True when the section holds a character place or a case switch.
    static bool hatTextplatz(const QString& abschnitt);

    QString formatiere(const QString& text) const;

private:
    struct Element {
        bool platz = false;
        bool pflicht = false; ///< "@"
        QString text;
    };
    QList<Element> m_elemente;
    int m_plaetze = 0;
    bool m_vonLinks = false;
    int m_gross = 0; ///< -1 lower, 1 upper
};

} // namespace kv::formatdetail
