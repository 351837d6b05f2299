#include "tables/Suchbedingung.h"

#include "engine/EngineError.h"
#include "engine/sql/Lexer.h"

#include <optional>

namespace kv {

namespace {

/// Where the clauses of the outermost (last) SELECT begin; -1 for a clause it lacks.
struct Klauseln {
    qsizetype where = -1;
    qsizetype gruppe = -1; // GROUP BY or HAVING, whichever comes first
    qsizetype order = -1;
};

std::optional<Klauseln> findeKlauseln(const QString& sql)
{
    QList<engine::sql::Token> tokens;
    try {
        tokens = engine::sql::tokenize(sql);
    } catch (const engine::EngineError&) {
        return std::nullopt;
    }
    Klauseln k;
    int tiefe = 0;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const engine::sql::Token& t = tokens.at(i);
        const bool folgtBy = i + 1 < tokens.size() && tokens.at(i + 1).isKeyword(u"BY");
        if (t.isSymbol(u"(")) {
            ++tiefe;
        } else if (t.isSymbol(u")")) {
            tiefe = qMax(0, tiefe - 1);
        } else if (tiefe > 0) {
            continue;
        } else if (t.isKeyword(u"UNION")) {
            // The clauses of the last SELECT count.
            k = Klauseln();
        } else if (t.isKeyword(u"WHERE") && k.where < 0) {
            k.where = t.pos;
        } else if ((t.isKeyword(u"HAVING") || (t.isKeyword(u"GROUP") && folgtBy)) && k.gruppe < 0) {
            k.gruppe = t.pos;
        } else if (t.isKeyword(u"ORDER") && folgtBy) {
            k.order = t.pos;
        }
    }
    return k;
}

QString ohneSchlussstrich(QString text)
{
    for (;;) {
        text = text.trimmed();
        if (!text.endsWith(QLatin1Char(';')))
            return text;
        text.chop(1);
    }
}

} // namespace

QString BedingungEinsetzen(const QString& sql, const QString& bedingung)
{
    const QString neu = bedingung.trimmed();
    if (neu.isEmpty())
        return sql;
    const std::optional<Klauseln> k = findeKlauseln(sql);
    if (!k)
        return ohneSchlussstrich(sql) + QStringLiteral(" WHERE ") + neu;

    const qsizetype ende = k->order >= 0 ? k->order : sql.size();
    const QString order = k->order >= 0 ? ohneSchlussstrich(sql.mid(k->order)) : QString();
    const qsizetype gruppe = k->gruppe >= 0 ? k->gruppe : ende;
    const QString rest = ohneSchlussstrich(sql.mid(gruppe, ende - gruppe));

    QString kopf;
    QString bedingungen = neu;
    if (k->where >= 0 && k->where < gruppe) {
        kopf = sql.left(k->where).trimmed();
        // "WHERE" is five characters; what follows up to the next clause is the own condition.
        const QString alt = ohneSchlussstrich(sql.mid(k->where + 5, gruppe - k->where - 5));
        if (!alt.isEmpty())
            bedingungen
                = QLatin1Char('(') + alt + QStringLiteral(") AND (") + neu + QLatin1Char(')');
    } else {
        kopf = ohneSchlussstrich(sql.left(gruppe));
    }
    QString ergebnis = kopf + QStringLiteral(" WHERE ") + bedingungen;
    if (!rest.isEmpty())
        ergebnis += QLatin1Char(' ') + rest;
    if (!order.isEmpty())
        ergebnis += QLatin1Char(' ') + order;
    return ergebnis;
}

QString Gesamtbedingung(const QString& f3Bedingung, const QString& suchzeilenbedingung)
{
    const QString f3 = f3Bedingung.trimmed();
    const QString zeile = suchzeilenbedingung.trimmed();
    if (f3.isEmpty())
        return zeile;
    if (zeile.isEmpty())
        return f3;
    return QLatin1Char('(') + f3 + QStringLiteral(") And ") + zeile;
}

} // namespace kv
