#include "tables/Indexfeldtext.h"

#include <QStringList>

namespace kv {

QString indexfeldtext(const QList<engine::IndexField>& felder)
{
    QStringList teile;
    for (const engine::IndexField& f : felder)
        teile << (f.descending ? QLatin1Char('-') : QLatin1Char('+')) + f.name;
    return teile.join(QLatin1Char(';'));
}

QList<engine::IndexField> leseIndexfeldtext(const QString& text)
{
    QList<engine::IndexField> felder;
    for (const QString& roh : text.split(QLatin1Char(';'))) {
        QString teil = roh.trimmed();
        bool absteigend = false;
        while (teil.startsWith(QLatin1Char('+')) || teil.startsWith(QLatin1Char('-'))) {
            absteigend = absteigend || teil.startsWith(QLatin1Char('-'));
            teil = teil.mid(1).trimmed();
        }
        if (!teil.isEmpty())
            felder.append(engine::IndexField { teil, absteigend });
    }
    return felder;
}

QString indexfeldAnhaengen(const QString& text, const QString& feld)
{
    return text + (text.isEmpty() ? QString() : QStringLiteral(";")) + QLatin1Char('+') + feld;
}

} // namespace kv
