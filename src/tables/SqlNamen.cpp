#include "tables/SqlNamen.h"

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

namespace {

bool istWortzeichen(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

/// Index after the literal or bracketed name that starts at i (the closing character
/// included); an unclosed one runs to the end.
qsizetype hinterBegrenzung(const QString& sql, qsizetype i)
{
    const QChar auf = sql.at(i);
    const QChar zu = auf == QLatin1Char('[') ? QLatin1Char(']') : auf;
    qsizetype j = i + 1;
    while (j < sql.size()) {
        if (sql.at(j) == zu) {
            // A doubled quote stands for one quote inside the literal.
            if (zu != QLatin1Char(']') && j + 1 < sql.size() && sql.at(j + 1) == zu) {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return j;
}

qsizetype wortende(const QString& sql, qsizetype i)
{
    while (i < sql.size() && istWortzeichen(sql.at(i)))
        ++i;
    return i;
}

bool istWort(const QString& sql, qsizetype anfang, qsizetype ende, QLatin1String wort)
{
    return ende - anfang == wort.size()
        && QStringView(sql).mid(anfang, ende - anfang).compare(wort, Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<OrderByStelle> findeOrderBy(const QString& sql)
{
    int tiefe = 0;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')
            || c == QLatin1Char('`')) {
            i = hinterBegrenzung(sql, i);
        } else if (c == QLatin1Char('(')) {
            ++tiefe;
            ++i;
        } else if (c == QLatin1Char(')')) {
            tiefe = qMax(0, tiefe - 1);
            ++i;
        } else if (istWortzeichen(c)) {
            const qsizetype ende = wortende(sql, i);
            if (tiefe == 0 && istWort(sql, i, ende, QLatin1String("ORDER"))) {
                qsizetype j = ende;
                while (j < sql.size() && sql.at(j).isSpace())
                    ++j;
                const qsizetype byEnde = wortende(sql, j);
                if (j > ende && istWort(sql, j, byEnde, QLatin1String("BY")))
                    return OrderByStelle { i, byEnde };
            }
            i = ende;
        } else {
            ++i;
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
