#include "tables/Reportfelder.h"

#include "base/Text.h"

namespace kv {

QList<Reportfeld> leseReportfelder(const QString& wert)
{
    QList<Reportfeld> felder;
    if (wert.trimmed().isEmpty())
        return felder;
    for (const QString& eintrag : Teile(wert, QStringLiteral(";"))) {
        const Teilliste teile = Teile(eintrag, QStringLiteral(","));
        // Names are trimmed of all white space, as the writer writes them.
        const QString feld = teile[1].trimmed();
        if (!feld.isEmpty())
            felder.append({ feld, teile[2].trimmed() });
    }
    return felder;
}

namespace {
QString ohneTrenner(QString text)
{
    text.replace(u';', u' ');
    text.replace(u',', u' ');
    return text.trimmed();
}
} // namespace

QString reportfeldtext(const QList<Reportfeld>& felder)
{
    QStringList eintraege;
    for (const Reportfeld& f : felder)
        eintraege.append(ohneTrenner(f.feld) + u',' + ohneTrenner(f.name));
    return eintraege.join(u';');
}

} // namespace kv
