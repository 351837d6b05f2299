#include "tables/SqlNamen.h"

#include "engine/EngineError.h"
#include "engine/sql/Lexer.h"

namespace kv {

QString Klammername(const QString& name)
{
    if (name.isEmpty())
        return {};
    return QLatin1Char('[') + name + QLatin1Char(']');
}

QString SQLFeldname(const QString& name)
{
    if (!name.contains(QLatin1Char(' ')))
        return name;
    QString praefix;
    QString rest = name;
    if (name.startsWith(QLatin1String("+ ")) || name.startsWith(QLatin1String("- "))) {
        praefix = name.left(2);
        rest = name.mid(2);
    }
    const qsizetype punkt = rest.indexOf(QLatin1Char('.'));
    if (punkt < 0) {
        // A sort prefix stays outside the brackets here too: "[+ Name]" would name no field.
        return praefix + Klammername(rest);
    }
    return praefix + QLatin1Char('[') + rest.left(punkt) + QLatin1String("].[")
        + rest.mid(punkt + 1) + QLatin1Char(']');
}

std::optional<OrderByStelle> findeOrderBy(const QString& sql)
{
    QList<engine::sql::Token> tokens;
    try {
        tokens = engine::sql::tokenize(sql);
    } catch (const engine::EngineError&) {
        // Text the dialect cannot read has no clause we could find safely; the engine reports
        // the fault when the statement is opened.
        return std::nullopt;
    }
    int tiefe = 0;
    for (qsizetype i = 0; i + 1 < tokens.size(); ++i) {
        const engine::sql::Token& t = tokens.at(i);
        if (t.isSymbol(u"(")) {
            ++tiefe;
        } else if (t.isSymbol(u")")) {
            tiefe = qMax(0, tiefe - 1);
        } else if (tiefe == 0 && t.isKeyword(u"ORDER") && tokens.at(i + 1).isKeyword(u"BY")) {
            const engine::sql::Token& by = tokens.at(i + 1);
            return OrderByStelle { t.pos, by.pos + by.text.size() };
        }
    }
    return std::nullopt;
}

QString ohneOrderBy(const QString& sql)
{
    const auto stelle = findeOrderBy(sql);
    QString basis = stelle ? sql.left(stelle->anfang) : sql;
    for (;;) {
        // A closing ";" would end the statement before the appended clause.
        while (!basis.isEmpty() && basis.back().isSpace())
            basis.chop(1);
        if (basis.endsWith(QLatin1Char(';')))
            basis.chop(1);
        else
            break;
    }
    return basis;
}

QString SortierSQL(const QString& sql, const QString& feld, const QString& richtung)
{
    const QString basis = ohneOrderBy(sql);
    if (feld.isEmpty())
        return basis;
    QString ergebnis = basis + QLatin1String(" Order By ") + Klammername(feld);
    const QString r = richtung.trimmed();
    if (!r.isEmpty())
        ergebnis += QLatin1Char(' ') + r;
    return ergebnis;
}

} // namespace kv
