#include "base/Text.h"

namespace kv {

QString TrimNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

const QString& Teilliste::operator[](int n) const
{
    static const QString leer;
    return n >= 1 && n <= count() ? m_teile.at(n - 1) : leer;
}

QString ohneLeerzeichen(QStringView s)
{
    qsizetype anfang = 0;
    qsizetype ende = s.size();
    while (anfang < ende && s.at(anfang) == u' ')
        ++anfang;
    while (ende > anfang && s.at(ende - 1) == u' ')
        --ende;
    return s.mid(anfang, ende - anfang).toString();
}

Teilliste Teile(const QString& text, const QString& trenner)
{
    QStringList teile;
    if (trenner.isEmpty()) {
        teile.append(ohneLeerzeichen(text));
        return Teilliste(std::move(teile));
    }
    qsizetype von = 0;
    for (;;) {
        const qsizetype pos = text.indexOf(trenner, von, Qt::CaseSensitive);
        if (pos < 0)
            break;
        teile.append(ohneLeerzeichen(QStringView(text).mid(von, pos - von)));
        von = pos + trenner.size();
    }
    teile.append(ohneLeerzeichen(QStringView(text).mid(von)));
    return Teilliste(std::move(teile));
}

void ErsetzeAlle(QString& text, const QString& suche, const QString& ersatz)
{
    if (text.isNull() || suche.isEmpty())
        return;
    // QString::replace scans left to right and never rescans inserted text.
    text.replace(suche, ersatz, Qt::CaseSensitive);
}

} // namespace kv
