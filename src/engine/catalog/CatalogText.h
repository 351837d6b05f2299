#pragma once

// How the catalog tables store lists in one text column, and small text helpers of the catalog.

#include "engine/catalog/Definitions.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kv::engine::catalogtext {

/// Marks the views the catalog generates for stored queries.
inline constexpr const char* viewMark = "/*kvquery*/";

inline QString indexFieldsText(const QList<IndexField>& fields)
{
    QStringList lines;
    for (const IndexField& f : fields)
        lines << (f.descending ? QStringLiteral("D\t") : QStringLiteral("A\t")) + f.name;
    return lines.join(QLatin1Char('\n'));
}

inline QList<IndexField> indexFields(const QString& text)
{
    QList<IndexField> fields;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        fields.append(IndexField { line.mid(2), line.startsWith(QLatin1Char('D')) });
    return fields;
}

inline QString relationFieldsText(const QList<RelationField>& fields)
{
    QStringList lines;
    for (const RelationField& f : fields)
        lines << f.name + QLatin1Char('\t') + f.foreignName;
    return lines.join(QLatin1Char('\n'));
}

inline QList<RelationField> relationFields(const QString& text)
{
    QList<RelationField> fields;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        fields.append(RelationField {
            line.section(QLatin1Char('\t'), 0, 0), line.section(QLatin1Char('\t'), 1) });
    return fields;
}

/// The value of key in a connect text ";DATABASE=…;…"; empty when it is not there.
inline QString connectValue(const QString& connect, const QString& key)
{
    for (const QString& part : connect.split(QLatin1Char(';'))) {
        const qsizetype equals = part.indexOf(QLatin1Char('='));
        if (equals > 0 && part.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return part.mid(equals + 1).trimmed();
    }
    return QString();
}

/// The format a connect text names ("dBASE III" of "dBASE III;DATABASE=…"); empty for a
/// database file of our own (";DATABASE=…").
inline QString connectPrefix(const QString& connect)
{
    return connect.section(QLatin1Char(';'), 0, 0).trimmed();
}

/// Names of the database compare without regard to case.
inline bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace kv::engine::catalogtext
