#include "shell/Hilfeindex.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <algorithm>

namespace kv {

namespace {

QCollator deutscheOrdnung()
{
    QCollator c { QLocale(QLocale::German, QLocale::Germany) };
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
}

QString ohneMarken(const QString& html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

} // namespace

Hilfeseite Hilfeindex::seiteAusHtml(const QString& datei, const QString& html)
{
    Hilfeseite seite;
    seite.datei = datei;
    static const QRegularExpression titel(QStringLiteral("<title>(.*?)</title>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression meta(
        QStringLiteral("<meta\\s+name=\"keywords\"\\s+content=\"([^\"]*)\""),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = titel.match(html); m.hasMatch())
        seite.titel = ohneMarken(m.captured(1));
    if (seite.titel.isEmpty())
        seite.titel = datei;
    if (const auto m = meta.match(html); m.hasMatch()) {
        for (const QString& wort : ohneMarken(m.captured(1)).split(QLatin1Char(','))) {
            if (!wort.trimmed().isEmpty())
                seite.stichwoerter.append(wort.trimmed());
        }
    }
    return seite;
}

Hilfeindex Hilfeindex::lade(const QString& ordner)
{
    Hilfeindex index;
    index.m_ordner = ordner;
    const QDir dir(ordner);
    for (const QString& datei : dir.entryList({ QStringLiteral("*.html") }, QDir::Files)) {
        QFile f(dir.filePath(datei));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        index.m_seiten.append(seiteAusHtml(datei, QString::fromUtf8(f.readAll())));
    }
    const QCollator ordnung = deutscheOrdnung();
    std::sort(index.m_seiten.begin(), index.m_seiten.end(),
        [&](const Hilfeseite& a, const Hilfeseite& b) {
            const bool aInhalt = a.datei == Inhaltsseite;
            const bool bInhalt = b.datei == Inhaltsseite;
            if (aInhalt != bInhalt)
                return aInhalt;
            return ordnung.compare(a.titel, b.titel) < 0;
        });
    for (const Hilfeseite& s : std::as_const(index.m_seiten)) {
        index.m_stichwoerter.append({ s.titel, s.datei });
        for (const QString& w : s.stichwoerter)
            index.m_stichwoerter.append({ w, s.datei });
    }
    std::stable_sort(index.m_stichwoerter.begin(), index.m_stichwoerter.end(),
        [&](const Hilfestichwort& a, const Hilfestichwort& b) {
            return ordnung.compare(a.wort, b.wort) < 0;
        });
    return index;
}

QList<Hilfestichwort> Hilfeindex::suche(const QString& suchtext) const
{
    const QString text = suchtext.trimmed();
    if (text.isEmpty())
        return m_stichwoerter;
    QList<Hilfestichwort> anfang;
    QList<Hilfestichwort> enthalten;
    for (const Hilfestichwort& s : m_stichwoerter) {
        if (s.wort.startsWith(text, Qt::CaseInsensitive))
            anfang.append(s);
        else if (s.wort.contains(text, Qt::CaseInsensitive))
            enthalten.append(s);
    }
    return anfang.isEmpty() ? enthalten : anfang;
}

} // namespace kv
