#include "tables/Fusssummen.h"

#include "base/Format.h"
#include "engine/EngineError.h"
#include "engine/sql/Lexer.h"
#include "tables/SqlNamen.h"

#include <QStringList>

namespace kv {

namespace {

/// SELECT TOP n takes its records by the order, which must then stay.
bool nimmtErsteDatensaetze(const QString& sql)
{
    try {
        const QList<engine::sql::Token> tokens = engine::sql::tokenize(sql);
        for (qsizetype i = 1; i < tokens.size(); ++i) {
            if (tokens.at(i).isKeyword(u"TOP"))
                return true;
        }
    } catch (const engine::EngineError&) {
        return true;
    }
    return false;
}

} // namespace

QList<Summenspalte> Summenspalten(const QList<Tabellenspalte>& spalten)
{
    QList<Summenspalte> summen;
    for (int i = 0; i < spalten.size(); ++i) {
        const Tabellenspalte& s = spalten.at(i);
        if (s.summe && !s.datenfeld.isEmpty())
            summen.append({ i, s.datenfeld, s.formatierung, s.ausrichtung });
    }
    return summen;
}

QString SummenSql(const QString& quelle, const QList<Summenspalte>& spalten, bool mitAnzahl)
{
    if (spalten.isEmpty())
        return {};
    QStringList summen;
    for (const Summenspalte& s : spalten)
        summen.append(
            QStringLiteral("Nz(Sum(") + Klammername(s.datenfeld) + QStringLiteral("),0)"));
    if (mitAnzahl)
        summen.append(QStringLiteral("Count(*)"));
    return QStringLiteral("SELECT ") + summen.join(QStringLiteral(", ")) + QStringLiteral(" FROM (")
        + (nimmtErsteDatensaetze(quelle) ? quelle : ohneOrderBy(quelle))
        + QStringLiteral(") AS Summenquelle");
}

QString Summentext(const QVariant& summe, const QString& format)
{
    const QVariant wert = summe.isNull() ? QVariant(0) : summe;
    return Format(wert, format);
}

} // namespace kv
