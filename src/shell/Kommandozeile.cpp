#include "shell/Kommandozeile.h"

#include "base/Pfade.h"

namespace kv {

namespace {

// "/" opens a new part when it stands at the start or after a blank and is followed by a
// keyword: letters and a colon.
bool beginntTeil(QStringView zeile, qsizetype i)
{
    if (zeile.at(i) != u'/' || (i > 0 && !zeile.at(i - 1).isSpace()))
        return false;
    qsizetype j = i + 1;
    while (j < zeile.size() && zeile.at(j).isLetter())
        ++j;
    return j > i + 1 && j < zeile.size() && zeile.at(j) == u':';
}

QStringList teile(const QString& zeile)
{
    QStringList ergebnis;
    qsizetype anfang = 0;
    for (qsizetype i = 0; i < zeile.size(); ++i) {
        if (beginntTeil(zeile, i)) {
            ergebnis.append(zeile.mid(anfang, i - anfang));
            anfang = i + 1;
        }
    }
    ergebnis.append(zeile.mid(anfang));
    return ergebnis;
}

} // namespace

Kommandozeile Kommandozeile::auswerten(const QString& zeile)
{
    Kommandozeile k;
    for (const QString& teil : teile(zeile.trimmed())) {
        // Checked first: a table name may contain the other keywords.
        if (teil.startsWith(QLatin1String("TABELLE:"), Qt::CaseInsensitive)) {
            const QString name = teil.mid(8).trimmed();
            if (!name.isEmpty())
                k.tabelle = name;
        } else if (teil.contains(QLatin1String("MDB:"), Qt::CaseInsensitive)) {
            const QString pfad = teil.mid(4).trimmed();
            if (DateiVorhanden(pfad))
                k.datenbank = pfad;
            else if (!pfad.isEmpty())
                k.nichtGefunden = pfad;
        } else if (teil.contains(QLatin1String("XPStil:"), Qt::CaseInsensitive)) {
            k.xpStil = teil.mid(7).trimmed() == QLatin1String("1");
        }
    }
    return k;
}

QString Kommandozeile::ausArgumenten(const QStringList& argumente)
{
    return argumente.join(QLatin1Char(' '));
}

} // namespace kv
