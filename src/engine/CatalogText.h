#pragma once

// Private to the engine: how the catalog tables store lists in one text column.

#include "engine/Index.h"
#include "engine/Relation.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kv::engine::catalogtext {

inline constexpr const char* viewMarke = "/*kvquery*/";

inline QString indexFelderText(const QList<IndexField>& felder)
{
    QStringList zeilen;
    for (const IndexField& f : felder)
        zeilen << (f.descending ? QStringLiteral("D\t") : QStringLiteral("A\t")) + f.name;
    return zeilen.join(QLatin1Char('\n'));
}

inline QList<IndexField> indexFelder(const QString& text)
{
    QList<IndexField> liste;
    for (const QString& zeile : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        liste.append(IndexField { zeile.mid(2), zeile.startsWith(QLatin1Char('D')) });
    return liste;
}

inline QString relationFelderText(const QList<RelationField>& felder)
{
    QStringList zeilen;
    for (const RelationField& f : felder)
        zeilen << f.name + QLatin1Char('\t') + f.foreignName;
    return zeilen.join(QLatin1Char('\n'));
}

inline QList<RelationField> relationFelder(const QString& text)
{
    QList<RelationField> liste;
    for (const QString& zeile : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        liste.append(RelationField {
            zeile.section(QLatin1Char('\t'), 0, 0), zeile.section(QLatin1Char('\t'), 1) });
    return liste;
}

inline QString connectWert(const QString& connect, const QString& schluessel)
{
    for (const QString& teil : connect.split(QLatin1Char(';'))) {
        const qsizetype gleich = teil.indexOf(QLatin1Char('='));
        if (gleich > 0 && teil.left(gleich).trimmed().compare(schluessel, Qt::CaseInsensitive) == 0)
            return teil.mid(gleich + 1).trimmed();
    }
    return QString();
}

inline bool gleich(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace kv::engine::catalogtext
