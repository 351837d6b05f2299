#include "tables/Suchzeile.h"

#include "base/Werteparser.h"
#include "engine/DataType.h"
#include "engine/sql/Lexer.h"
#include "tables/SqlNamen.h"

#include <QLocale>

namespace kv {

namespace {

const QString DatumsformatSql = QStringLiteral("MM-dd-yyyy");

bool istPraefixtyp(int typ)
{
    using namespace engine;
    switch (typ) {
    case dbText:
    case dbMemo:
    case dbCurrency:
    case dbInteger:
    case dbLong:
    case dbSingle:
    case dbDouble:
        return true;
    default:
        return false;
    }
}

bool istZahlentyp(int typ)
{
    return istPraefixtyp(typ) && typ != engine::dbText && typ != engine::dbMemo;
}

QString datumsliteral(const QDate& tag)
{
    return QLatin1Char('#') + tag.toString(DatumsformatSql) + QLatin1Char('#');
}

} // namespace

QString LikeLiteral(const QString& text)
{
    QString muster;
    muster.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[')
            muster += QLatin1Char('[') + c + QLatin1Char(']');
        else
            muster += c;
    }
    return muster;
}

QString Suchzeilenfeld(const Suchzeilenspalte& spalte)
{
    if (spalte.quelltabelle.isEmpty())
        return Klammername(spalte.feld);
    const QString feld = spalte.quellfeld.isEmpty() ? spalte.feld : spalte.quellfeld;
    return Klammername(spalte.quelltabelle) + QLatin1Char('.') + Klammername(feld);
}

QString Suchzeilenteil(const Suchzeilenspalte& spalte)
{
    if (spalte.text.isEmpty())
        return {};
    const QString feld = Suchzeilenfeld(spalte);
    if (istPraefixtyp(spalte.typ)) {
        QString text = spalte.text;
        // Stored numbers carry a point; a German user types the comma the grid shows.
        if (istZahlentyp(spalte.typ))
            text.replace(QLocale().decimalPoint(), QStringLiteral("."));
        return feld + QStringLiteral(" LIKE ")
            + engine::sql::quoteLiteral(QString(LikeLiteral(text) + QLatin1Char('*')));
    }
    if (spalte.typ == engine::dbDate) {
        const std::optional<QDateTime> datum = ParseDatum(spalte.text);
        if (!datum)
            return {};
        // The whole day, so that values with a time of day are found too.
        const QDate tag = datum->date();
        return QLatin1Char('(') + feld + QStringLiteral(" >= ") + datumsliteral(tag)
            + QStringLiteral(" AND ") + feld + QStringLiteral(" < ") + datumsliteral(tag.addDays(1))
            + QLatin1Char(')');
    }
    return {};
}

QString Suchzeilenbedingung(const QList<Suchzeilenspalte>& spalten)
{
    QStringList teile;
    for (const Suchzeilenspalte& s : spalten) {
        const QString teil = Suchzeilenteil(s);
        if (!teil.isEmpty())
            teile.append(teil);
    }
    return teile.join(QStringLiteral(" AND "));
}

} // namespace kv
