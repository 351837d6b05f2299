#include "engine/isam/MdbDatabase.h"

#include <QMap>

namespace kv::engine::isam {

namespace {

enum Attribute {
    TypeRow = 1,
    ParameterRow = 2,
    FlagRow = 3,
    TableRow = 5,
    ColumnRow = 6,
    JoinRow = 7,
    WhereRow = 8,
    GroupByRow = 9,
    HavingRow = 10,
    OrderByRow = 11,
};

enum QueryKind {
    Select = 1,
    MakeTable = 2,
    Append = 3,
    Update = 4,
    Delete = 5,
    Crosstab = 6,
    Ddl = 7,
    PassThrough = 8,
    Union = 9
};

const QString Newline = QStringLiteral("\r\n");

QString parameterType(int type)
{
    switch (type) {
    case 1:
        return QStringLiteral("Bit");
    case 2:
        return QStringLiteral("Byte");
    case 3:
        return QStringLiteral("Short");
    case 4:
        return QStringLiteral("Long");
    case 5:
        return QStringLiteral("Currency");
    case 6:
        return QStringLiteral("IEEESingle");
    case 7:
        return QStringLiteral("IEEEDouble");
    case 8:
        return QStringLiteral("DateTime");
    case 9:
        return QStringLiteral("Binary");
    case 11:
        return QStringLiteral("LongBinary");
    case 12:
        return QStringLiteral("Memo");
    case 15:
        return QStringLiteral("Guid");
    default:
        return QStringLiteral("Text");
    }
}

// The stored names are bare; a name with blanks or other signs needs its brackets to be SQL.
QString quoted(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('[')))
        return name;
    bool plain = !name.front().isDigit();
    for (const QChar c : name)
        plain = plain && (c.isLetterOrNumber() || c == QLatin1Char('_'));
    return plain ? name : QLatin1Char('[') + name + QLatin1Char(']');
}

struct Source {
    QString text;
    bool join = false;
    QString operand() const { return join ? QLatin1Char('(') + text + QLatin1Char(')') : text; }
};

// The tables of the FROM clause with the joins folded in, in the order the tables are stored:
// each join takes the sources of its two tables (a table already joined brings its whole join)
// and puts the joined text where the first of them stood.
QString fromClause(const QVector<JetQueryPart>& tables, const QVector<JetQueryPart>& joins)
{
    QVector<std::shared_ptr<Source>> order;
    QMap<QString, std::shared_ptr<Source>> byName;
    for (const JetQueryPart& t : tables) {
        auto s = std::make_shared<Source>();
        s->text = t.name2.isEmpty() ? quoted(t.name1)
                                    : quoted(t.name1) + QStringLiteral(" AS ") + quoted(t.name2);
        order.append(s);
        byName.insert((t.name2.isEmpty() ? t.name1 : t.name2).toLower(), s);
    }
    // Several stored rows for the same pair of tables are one join with several conditions.
    struct Join {
        QString left, right;
        int type;
        QStringList conditions;
    };
    QVector<Join> merged;
    for (const JetQueryPart& j : joins) {
        auto it = std::find_if(merged.begin(), merged.end(), [&j](const Join& m) {
            return m.left.compare(j.name1, Qt::CaseInsensitive) == 0
                && m.right.compare(j.name2, Qt::CaseInsensitive) == 0 && m.type == j.flag;
        });
        if (it == merged.end())
            merged.append({ j.name1, j.name2, j.flag, { j.expression } });
        else
            it->conditions.prepend(j.expression);
    }
    for (const Join& j : merged) {
        auto left = byName.value(j.left.toLower());
        auto right = byName.value(j.right.toLower());
        if (!left || !right || left == right)
            continue;
        QString on = j.conditions.size() == 1
            ? j.conditions.first()
            : QLatin1Char('(') + j.conditions.join(QStringLiteral(") AND (")) + QLatin1Char(')');
        const QString kind = j.type == 2 ? QStringLiteral("LEFT")
            : j.type == 3                ? QStringLiteral("RIGHT")
                                         : QStringLiteral("INNER");
        auto joined = std::make_shared<Source>();
        joined->join = true;
        joined->text = left->operand() + QLatin1Char(' ') + kind + QStringLiteral(" JOIN ")
            + right->operand() + QStringLiteral(" ON ") + on;
        const qsizetype at = std::min(order.indexOf(left), order.indexOf(right));
        order.removeAll(left);
        order.removeAll(right);
        order.insert(std::clamp<qsizetype>(at, 0, order.size()), joined);
        for (auto it = byName.begin(); it != byName.end(); ++it)
            if (it.value() == left || it.value() == right)
                it.value() = joined;
    }
    QStringList out;
    for (const auto& s : order)
        out.append(s->text);
    return out.join(QStringLiteral(", "));
}

} // namespace

QString jetQuerySql(QVector<JetQueryPart> parts)
{
    std::stable_sort(parts.begin(), parts.end(),
        [](const JetQueryPart& a, const JetQueryPart& b) { return a.attribute < b.attribute; });
    QMap<int, QVector<JetQueryPart>> by;
    for (const JetQueryPart& p : parts)
        by[p.attribute].append(p);
    const JetQueryPart type = by.value(TypeRow).value(0);
    const int flags = by.value(FlagRow).value(0).flag;
    const QString top = by.value(FlagRow).value(0).name1;
    const QVector<JetQueryPart> columns = by.value(ColumnRow);

    if (type.flag == Ddl || type.flag == PassThrough)
        return type.expression;
    if (type.flag == Union) {
        // The two sides are stored as pseudo tables; the first may itself hold a union.
        QStringList selects;
        for (const JetQueryPart& t : by.value(TableRow)) {
            QString part = t.expression;
            while (!part.isEmpty() && part.back().isSpace())
                part.chop(1);
            selects.append(part);
        }
        return selects.join(Newline
                   + ((flags & 0x02) ? QStringLiteral("UNION ") : QStringLiteral("UNION ALL ")))
            + QLatin1Char(';');
    }

    QStringList lines;
    QStringList parameters;
    for (const JetQueryPart& p : by.value(ParameterRow))
        parameters.append(quoted(p.name1) + QLatin1Char(' ') + parameterType(p.flag));
    if (!parameters.isEmpty())
        lines.append(QStringLiteral("PARAMETERS ") + parameters.join(QStringLiteral(", "))
            + QLatin1Char(';'));

    QString selectWord = QStringLiteral("SELECT");
    if (flags & 0x02)
        selectWord += QStringLiteral(" DISTINCT");
    else if (flags & 0x08)
        selectWord += QStringLiteral(" DISTINCTROW");
    if ((flags & 0x10) && !top.isEmpty())
        selectWord += QStringLiteral(" TOP ") + top
            + ((flags & 0x20) ? QStringLiteral(" PERCENT") : QString());

    auto selectList = [&](auto keep) {
        QStringList items;
        if (flags & 0x01)
            items.append(QStringLiteral("*"));
        for (const JetQueryPart& c : columns) {
            if (!keep(c))
                continue;
            items.append(c.name1.isEmpty()
                    ? c.expression
                    : c.expression + QStringLiteral(" AS ") + quoted(c.name1));
        }
        return items.join(QStringLiteral(", "));
    };
    const QString from = fromClause(by.value(TableRow), by.value(JoinRow));

    switch (type.flag) {
    case Crosstab: {
        QString transform;
        QString pivot;
        // Flag 0 is the value, 2 the row headings, 1 the column heading.
        for (const JetQueryPart& c : columns) {
            if (c.flag == 0)
                transform = c.name1.isEmpty() ? c.expression
                                              : c.expression + QStringLiteral(" AS ") + c.name1;
        }
        lines.append(QStringLiteral("TRANSFORM ") + transform);
        lines.append(selectWord + QLatin1Char(' ')
            + selectList([](const JetQueryPart& c) { return c.flag == 2; }));
        break;
    }
    case Append: {
        QStringList targets;
        for (const JetQueryPart& c : columns)
            if (!c.name2.isEmpty())
                targets.append(c.name2);
        lines.append(QStringLiteral("INSERT INTO ") + quoted(type.name1)
            + (targets.isEmpty() ? QString()
                                 : QStringLiteral(" (") + targets.join(QStringLiteral(", "))
                        + QLatin1Char(')')));
        lines.append(
            selectWord + QLatin1Char(' ') + selectList([](const JetQueryPart&) { return true; }));
        break;
    }
    case Update: {
        QStringList sets;
        for (const JetQueryPart& c : columns)
            sets.append(c.name2 + QStringLiteral(" = ") + c.expression);
        lines.append(QStringLiteral("UPDATE ") + from);
        lines.append(QStringLiteral("SET ") + sets.join(QStringLiteral(", ")));
        break;
    }
    case Delete:
        lines.append(
            QStringLiteral("DELETE ") + selectList([](const JetQueryPart&) { return true; }));
        break;
    default:
        lines.append(selectWord + QLatin1Char(' ') + selectList([](const JetQueryPart&) {
            return true;
        }) + (type.flag == MakeTable ? QStringLiteral(" INTO ") + quoted(type.name1) : QString()));
        break;
    }
    if (type.flag != Update && !from.isEmpty())
        lines.append(QStringLiteral("FROM ") + from);
    if (!by.value(WhereRow).isEmpty())
        lines.append(QStringLiteral("WHERE ") + by.value(WhereRow).first().expression);
    QStringList group;
    for (const JetQueryPart& g : by.value(GroupByRow))
        if (type.flag != Crosstab || g.flag != 1)
            group.append(g.expression);
    if (!group.isEmpty())
        lines.append(QStringLiteral("GROUP BY ") + group.join(QStringLiteral(", ")));
    if (!by.value(HavingRow).isEmpty())
        lines.append(QStringLiteral("HAVING ") + by.value(HavingRow).first().expression);
    QStringList orderBy;
    for (const JetQueryPart& o : by.value(OrderByRow))
        orderBy.append(o.expression
            + (o.name1.compare(QLatin1String("D"), Qt::CaseInsensitive) == 0
                    ? QStringLiteral(" DESC")
                    : QString()));
    if (!orderBy.isEmpty())
        lines.append(QStringLiteral("ORDER BY ") + orderBy.join(QStringLiteral(", ")));
    if (type.flag == Crosstab) {
        for (const JetQueryPart& c : columns)
            if (c.flag == 1)
                lines.append(QStringLiteral("PIVOT ") + c.expression);
    }
    return lines.join(Newline) + QLatin1Char(';');
}

} // namespace kv::engine::isam
