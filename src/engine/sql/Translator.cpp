#include "engine/sql/Translator.h"

#include "engine/core/EngineError.h"

#include <algorithm>

namespace kv::engine::sql {

namespace {

constexpr int maxStoredQueryDepth = 16;

QString describe(const Token& t)
{
    switch (t.kind) {
    case Token::Bracketed:
        return QLatin1Char('[') + t.text + QLatin1Char(']');
    case Token::String:
        return quoteLiteral(t.text);
    case Token::Date:
        return QLatin1Char('#') + t.text + QLatin1Char('#');
    case Token::Parameter:
        return QLatin1Char(':') + t.text;
    default:
        return t.text;
    }
}

} // namespace

Translator::Translator(
    const QString& text, const QStringList& parameterNames, const TranslateContext& context)
    : m_tokens(tokenize(text))
    , m_context(context)
{
    for (const QString& name : parameterNames)
        m_parameterNames.insert(name.toLower(), name);
}

// ---- tokens ----

const Token& Translator::peek(int ahead) const
{
    const int i = std::min<int>(m_pos + ahead, int(m_tokens.size()) - 1);
    return m_tokens[i];
}

const Token& Translator::next()
{
    const Token& t = m_tokens[m_pos];
    if (m_pos < m_tokens.size() - 1)
        ++m_pos;
    return t;
}

bool Translator::acceptKeyword(QStringView word)
{
    if (!peek().isKeyword(word))
        return false;
    next();
    return true;
}

bool Translator::acceptSymbol(QStringView symbol)
{
    if (!peek().isSymbol(symbol))
        return false;
    next();
    return true;
}

void Translator::expectKeyword(QStringView word)
{
    if (!acceptKeyword(word))
        unexpected(word.toString().toUpper());
}

void Translator::expectSymbol(QStringView symbol)
{
    if (!acceptSymbol(symbol))
        unexpected(QLatin1Char('\'') + symbol + QLatin1Char('\''));
}

void Translator::unexpected(const QString& wanted) const
{
    const Token& t = peek();
    QString what = t.kind == Token::End ? QStringLiteral("unerwartetes Ende der Anweisung.")
                                        : QStringLiteral("unerwartetes %1.").arg(describe(t));
    if (!wanted.isEmpty())
        what += QStringLiteral(" Erwartet: %1.").arg(wanted);
    throwSyntaxError(t.pos, what);
}

bool Translator::isReserved(const Token& t)
{
    return t.reserved;
}

bool Translator::atClauseEnd() const
{
    const Token& t = peek();
    if (t.kind == Token::End || t.isSymbol(u";") || t.isSymbol(u")"))
        return true;
    for (const char16_t* w :
        { u"FROM", u"WHERE", u"GROUP", u"HAVING", u"ORDER", u"UNION", u"PIVOT", u"INTO" }) {
        if (t.isKeyword(w))
            return true;
    }
    return false;
}

// ---- statements ----

Translation Translator::statement()
{
    if (peek().isKeyword(u"PARAMETERS"))
        parameters();
    const Token& t = peek();
    QString sql;
    if (t.isKeyword(u"SELECT") || t.isSymbol(u"(")) {
        sql = select(true);
    } else if (t.isKeyword(u"TRANSFORM")) {
        sql = crosstab();
    } else if (t.isKeyword(u"INSERT")) {
        sql = insert();
    } else if (t.isKeyword(u"UPDATE")) {
        sql = update();
    } else if (t.isKeyword(u"DELETE")) {
        sql = deleteStatement();
    } else if (t.isKeyword(u"CREATE")) {
        next();
        const bool unique = acceptKeyword(u"UNIQUE");
        if (!unique && acceptKeyword(u"TABLE"))
            sql = createTable();
        else if (acceptKeyword(u"INDEX"))
            sql = createIndex(unique);
        else
            unexpected(QStringLiteral("TABLE oder INDEX"));
    } else if (t.isKeyword(u"ALTER")) {
        sql = alterTable();
    } else if (t.isKeyword(u"DROP")) {
        sql = drop();
    } else {
        unexpected(QStringLiteral("SELECT, INSERT, UPDATE, DELETE, TRANSFORM, CREATE, ALTER "
                                  "oder DROP"));
    }
    while (acceptSymbol(u";")) { }
    if (peek().kind != Token::End)
        unexpected(QStringLiteral("das Ende der Anweisung"));
    m_result.sql = sql;
    return m_result;
}

Translation Translator::expression(const QString& fieldName)
{
    if (!fieldName.isEmpty())
        m_impliedField = quoteName(fieldName);
    acceptSymbol(u"=");
    const Expr e = expr();
    if (peek().kind != Token::End)
        unexpected(QStringLiteral("das Ende des Ausdrucks"));
    m_result.sql = e.sql;
    return m_result;
}

void Translator::parameters()
{
    next();
    do {
        const Token& name = peek();
        if (!name.isName())
            unexpected(QStringLiteral("ein Parametername"));
        next();
        QString typeName;
        while (!peek().isSymbol(u",") && !peek().isSymbol(u";") && peek().kind != Token::End) {
            const Token& t = next();
            if (!typeName.isEmpty() && t.kind != Token::Symbol
                && !typeName.endsWith(QLatin1Char('(')))
                typeName += QLatin1Char(' ');
            typeName += t.text;
        }
        m_parameterNames.insert(name.text.toLower(), name.text);
        m_result.declared.append({ name.text, typeName });
    } while (acceptSymbol(u","));
    expectSymbol(u";");
}

QString Translator::SelectParts::core() const
{
    QString sql = "SELECT " + distinct + list;
    if (!from.isEmpty())
        sql += " FROM " + from;
    if (!where.isEmpty())
        sql += " WHERE " + where;
    if (!groupBy.isEmpty())
        sql += " GROUP BY " + groupBy;
    if (!having.isEmpty())
        sql += " HAVING " + having;
    return sql;
}

QString Translator::SelectParts::limit(const QList<OrderKey>& keys) const
{
    if (top.isEmpty())
        return {};
    // The dialect rounds a percentage of rows up.
    auto share = [&](const QString& rows) -> QString {
        return "CAST(" + rows + " * " + top + " / 100.0 + 0.999999999 AS INTEGER)";
    };
    if (keys.isEmpty() || (!percent && top.toDouble() <= 0)) {
        if (!percent)
            return " LIMIT " + top;
        return " LIMIT (SELECT " + share(QStringLiteral("count(*)")) + " FROM (" + core() + "))";
    }
    // Rows tied with the last one in the order count, too. The keys become columns of the rows
    // to be ordered (after DISTINCT and GROUP BY, before the order).
    SelectParts keyed = *this;
    keyed.list = distinct.isEmpty() ? QString() : list + ", ";
    QString columns;
    QString order;
    QString tied;
    for (int i = 0; i < keys.size(); ++i) {
        const QString column = QStringLiteral("kv_k%1").arg(i + 1);
        keyed.list += (i > 0 ? ", " : "") + keys[i].sql + " AS " + column;
        columns += (i > 0 ? ", " : "") + column;
        order += (i > 0 ? ", " : "") + column + (keys[i].descending ? " DESC" : "");
        tied += (i > 0 ? " AND z." : "z.") + column + " IS l." + column;
    }
    if (percent) {
        // The share needs every row anyway: rank them all.
        return " LIMIT (SELECT count(*) FROM (SELECT rank() OVER (ORDER BY " + order
            + ") AS kv_rang, " + share(QStringLiteral("count(*) OVER ()")) + " AS kv_grenze FROM ("
            + keyed.core() + ")) WHERE kv_rang <= kv_grenze)";
    }
    // n plus the rows tied with the n-th that lie beyond it: the first n rows (an index on the
    // key serves the order), the n-th of them, and its equals among all rows and among the n.
    return " LIMIT (WITH kv_zeilen AS NOT MATERIALIZED (" + keyed.core()
        + "), kv_erste AS MATERIALIZED (SELECT " + columns + " FROM kv_zeilen ORDER BY " + order
        + " LIMIT " + top + "), kv_letzte AS MATERIALIZED (SELECT " + columns
        + " FROM kv_erste ORDER BY " + order + " LIMIT 1 OFFSET " + top + " - 1) SELECT " + top
        + " + (SELECT count(*) FROM kv_zeilen AS z, kv_letzte AS l WHERE " + tied
        + ") - (SELECT count(*) FROM kv_erste AS z, kv_letzte AS l WHERE " + tied + "))";
}

QString Translator::select(bool topLevel)
{
    const NestingGuard guard(*this);
    QStringList cores;
    QString firstLimit;
    SelectParts firstParts;
    bool firstPlain = false; // the first part is a SELECT of its own, not one in parentheses
    bool first = true;
    bool makeTable = false;
    do {
        QString core;
        QString limit;
        if (acceptSymbol(u"(")) {
            core = "SELECT * FROM (" + select(false) + QLatin1Char(')');
            expectSymbol(u")");
        } else {
            const QString before = m_result.target;
            const SelectParts parts = selectCore(topLevel && first);
            makeTable = makeTable || m_result.target != before;
            core = parts.core();
            limit = parts.limit();
            if (first) {
                firstParts = parts;
                firstPlain = true;
            }
        }
        if (first) {
            firstLimit = limit;
        } else if (!limit.isEmpty()) {
            core = "SELECT * FROM (" + core + limit + QLatin1Char(')');
        }
        if (!first || !peek().isKeyword(u"UNION")) {
            cores.append(core);
        } else {
            // TOP in the first part of a UNION limits that part only.
            cores.append(firstLimit.isEmpty()
                    ? core
                    : "SELECT * FROM (" + core + firstLimit + QLatin1Char(')'));
            firstLimit.clear();
        }
        first = false;
        if (acceptKeyword(u"UNION"))
            cores.append(
                acceptKeyword(u"ALL") ? QStringLiteral("UNION ALL") : QStringLiteral("UNION"));
        else
            break;
    } while (true);

    QList<OrderKey> keys;
    const QString order = orderBy(&keys);
    if (cores.size() == 1 && !firstLimit.isEmpty() && !keys.isEmpty()) {
        // ORDER BY may name a column by its alias, which the ranking cannot see.
        for (OrderKey& k : keys) {
            for (auto it = firstParts.aliases.cbegin(); it != firstParts.aliases.cend(); ++it) {
                if (k.sql.compare(quoteName(it.key()), Qt::CaseInsensitive) == 0)
                    k.sql = it.value();
            }
        }
        firstLimit = firstParts.limit(keys);
    }
    QString sql = cores.join(QLatin1Char(' ')) + order + firstLimit;
    if (topLevel) {
        if (makeTable) {
            m_result.kind = StatementKind::MakeTable;
            m_result.selectSql = sql;
            const QString schema = m_result.targetSchema.isEmpty()
                ? QString()
                : quoteName(m_result.targetSchema) + QLatin1Char('.');
            sql = "CREATE TABLE " + schema + quoteName(m_result.target) + " AS " + sql;
        } else if (cores.size() > 1) {
            m_result.kind = StatementKind::Union;
        } else if (firstPlain) {
            singleTable(firstParts, order, firstLimit);
        }
    }
    return sql;
}

void Translator::singleTable(const SelectParts& p, const QString& order, const QString& limit)
{
    if (p.single.name.isEmpty() || !p.distinct.isEmpty() || !p.groupBy.isEmpty()
        || !p.having.isEmpty() || p.aggregates)
        return;
    SingleTableSelect& s = m_result.singleTable;
    s.table = p.single.name;
    s.schema = p.single.schema;
    s.qualifier = p.single.alias.isEmpty() ? p.single.name : p.single.alias;
    s.list = p.list;
    s.where = p.where;
    s.rest
        = QString((p.where.isEmpty() ? QString() : "WHERE " + p.where) + order + limit).trimmed();
    s.order = order;
    s.limited = !limit.isEmpty();
}

Translator::SelectParts Translator::selectCore(bool topLevel)
{
    expectKeyword(u"SELECT");
    SelectParts p;
    for (int i = 0; i < 2; ++i) {
        if (acceptKeyword(u"ALL")) {
        } else if (acceptKeyword(u"DISTINCT") || acceptKeyword(u"DISTINCTROW")) {
            p.distinct = QStringLiteral("DISTINCT ");
        } else if (acceptKeyword(u"TOP")) {
            if (peek().kind != Token::Number)
                unexpected(QStringLiteral("eine Zahl"));
            p.top = next().text;
            p.percent = acceptKeyword(u"PERCENT");
        }
    }
    const int aggregatesBefore = m_aggregates;
    p.list = selectList(p.aliases);
    p.aggregates = m_aggregates != aggregatesBefore;
    if (peek().isKeyword(u"INTO")) {
        if (!topLevel)
            unexpected();
        next();
        if (!peek().isName())
            unexpected(QStringLiteral("ein Tabellenname"));
        m_result.target = next().text;
        if (acceptKeyword(u"IN"))
            m_result.targetSchema = externalReference(m_result.target, ExternalAccess::Create);
    }
    if (acceptKeyword(u"FROM"))
        p.from = fromList(&p.single);
    if (acceptKeyword(u"WHERE"))
        p.where = expr().sql;
    if (acceptKeyword(u"GROUP")) {
        expectKeyword(u"BY");
        do {
            if (!p.groupBy.isEmpty())
                p.groupBy += ", ";
            p.groupBy += valueExpr().sql;
        } while (acceptSymbol(u","));
    }
    if (acceptKeyword(u"HAVING"))
        p.having = expr().sql;
    return p;
}

QString Translator::selectList(QHash<QString, QString>& aliases)
{
    QString list;
    int counter = 1000;
    do {
        if (!list.isEmpty())
            list += ", ";
        if (acceptSymbol(u"*")) {
            list += QLatin1Char('*');
            continue;
        }
        const Expr e = valueExpr();
        list += e.sql;
        if (acceptKeyword(u"AS")) {
            if (!peek().isName() && peek().kind != Token::String)
                unexpected(QStringLiteral("ein Name"));
            const QString alias = next().text;
            list += " AS " + quoteName(alias);
            aliases.insert(alias.toLower(), e.sql);
        } else if (!e.column) {
            // Unnamed computed columns get the dialect's names Expr1000, Expr1001, …
            const QString alias = QStringLiteral("Expr%1").arg(counter++);
            list += " AS " + quoteName(alias);
            aliases.insert(alias.toLower(), e.sql);
        }
    } while (acceptSymbol(u","));
    return list;
}

QString Translator::fromList(SourceTable* single)
{
    SourceTable first;
    QString sql = fromItem(&first);
    bool one = true;
    for (;;) {
        if (acceptSymbol(u",")) {
            sql += ", " + fromItem();
            one = false;
            continue;
        }
        QString join;
        if (acceptKeyword(u"INNER")) {
            join = QStringLiteral("INNER JOIN");
        } else if (acceptKeyword(u"LEFT")) {
            acceptKeyword(u"OUTER");
            join = QStringLiteral("LEFT JOIN");
        } else if (acceptKeyword(u"RIGHT")) {
            acceptKeyword(u"OUTER");
            join = QStringLiteral("RIGHT JOIN");
        } else if (peek().isKeyword(u"JOIN")) {
            join = QStringLiteral("INNER JOIN");
        } else {
            if (single && one)
                *single = first;
            return sql;
        }
        one = false;
        expectKeyword(u"JOIN");
        sql += QLatin1Char(' ') + join + QLatin1Char(' ') + fromItem();
        expectKeyword(u"ON");
        sql += " ON " + expr().sql;
    }
}

QString Translator::fromItem(SourceTable* table)
{
    const NestingGuard guard(*this);
    QString sql;
    if (acceptSymbol(u"(")) {
        if (peek().isKeyword(u"SELECT")) {
            sql = QLatin1Char('(') + select(false) + QLatin1Char(')');
        } else {
            sql = QLatin1Char('(') + fromList() + QLatin1Char(')');
            expectSymbol(u")");
            return sql;
        }
        expectSymbol(u")");
    } else {
        sql = tableReference(nullptr, nullptr, table);
    }
    QString alias;
    if (acceptKeyword(u"AS")) {
        if (!peek().isName())
            unexpected(QStringLiteral("ein Name"));
        alias = next().text;
    } else if (peek().kind == Token::Bracketed
        || (peek().kind == Token::Identifier && !isReserved(peek()))) {
        alias = next().text;
    }
    if (!alias.isEmpty())
        sql += " AS " + quoteName(alias);
    if (table)
        table->alias = alias;
    return sql;
}

QString Translator::tableReference(QString* plainName, QString* schema, SourceTable* table)
{
    if (!peek().isName() || isReserved(peek()))
        unexpected(QStringLiteral("ein Tabellenname"));
    const Token nameToken = next();
    const QString name = nameToken.text;
    QString alias;
    if (peek().isKeyword(u"IN") && (peek(1).kind == Token::String)) {
        next();
        // Only the targets of INSERT, UPDATE and DELETE ask for their schema.
        alias = externalReference(name, schema ? ExternalAccess::Write : ExternalAccess::Read);
    }
    if (plainName)
        *plainName = name;
    if (schema)
        *schema = alias;
    if (!alias.isEmpty()) {
        if (table)
            *table = { name, alias, QString() };
        return quoteName(alias) + QLatin1Char('.') + quoteName(name);
    }

    if (!plainName && m_context.storedQuery) {
        if (const std::optional<QString> stored = m_context.storedQuery(name)) {
            if (m_depth >= maxStoredQueryDepth)
                throwSyntaxError(nameToken.pos,
                    QStringLiteral("die Abfrage '%1' verweist auf sich selbst.").arg(name));
            // The stored query is read in place, sharing this statement's parameters.
            const QList<Token> savedTokens = std::exchange(m_tokens, tokenize(*stored));
            const int savedPos = std::exchange(m_pos, 0);
            ++m_depth;
            if (peek().isKeyword(u"PARAMETERS"))
                parameters();
            const QString sub = select(false);
            while (acceptSymbol(u";")) { }
            if (peek().kind != Token::End)
                unexpected(QStringLiteral("das Ende der Abfrage"));
            --m_depth;
            m_tokens = savedTokens;
            m_pos = savedPos;
            QString sql = QLatin1Char('(') + sub + QLatin1Char(')');
            if (!peek().isKeyword(u"AS") && peek().kind != Token::Bracketed
                && !(peek().kind == Token::Identifier && !isReserved(peek())))
                sql += " AS " + quoteName(name);
            return sql;
        }
    }
    if (table)
        *table = { name, QString(), QString() };
    return quoteName(name);
}

QString Translator::externalReference(const QString& table, ExternalAccess access)
{
    ExternalReference ref;
    if (peek().kind != Token::String)
        unexpected(QStringLiteral("ein Dateiname in Anführungszeichen"));
    ref.path = next().text;
    if (peek().kind == Token::String) {
        ref.connect = next().text;
    } else if (peek().kind == Token::Bracketed && ref.path.isEmpty()) {
        // IN '' [dBASE IV;DATABASE=C:\Daten\]
        const QString connection = next().text;
        const qsizetype at = connection.indexOf(QLatin1String("DATABASE="), 0, Qt::CaseInsensitive);
        ref.connect = at < 0 ? connection : connection.left(at);
        if (at >= 0)
            ref.path = connection.mid(at + 9);
    }
    if (m_context.externalSchema) {
        ref.alias = m_context.externalSchema(ref, table, access);
        const bool known = std::any_of(m_result.externals.cbegin(), m_result.externals.cend(),
            [&](const ExternalReference& e) { return e.alias == ref.alias; });
        if (!known)
            m_result.externals.append(ref);
        return ref.alias;
    }
    for (const ExternalReference& e : std::as_const(m_result.externals)) {
        if (e.path == ref.path && e.connect == ref.connect)
            return e.alias;
    }
    ref.alias = QStringLiteral("kvext%1").arg(m_result.externals.size() + 1);
    m_result.externals.append(ref);
    return ref.alias;
}

QString Translator::orderBy(QList<OrderKey>* keys)
{
    if (!acceptKeyword(u"ORDER"))
        return {};
    expectKeyword(u"BY");
    QString sql = QStringLiteral(" ORDER BY ");
    bool first = true;
    do {
        if (!first)
            sql += ", ";
        first = false;
        OrderKey key { valueExpr().sql };
        sql += key.sql;
        // Other software writes the stored order out as DESCENDING/ASCENDING.
        if (acceptKeyword(u"DESC") || acceptKeyword(u"DESCENDING")) {
            sql += " DESC";
            key.descending = true;
        } else if (acceptKeyword(u"ASC") || acceptKeyword(u"ASCENDING")) {
            sql += " ASC";
        }
        if (keys)
            keys->append(key);
    } while (acceptSymbol(u","));
    return sql;
}

QString Translator::nameList()
{
    expectSymbol(u"(");
    QString sql = QStringLiteral("(");
    do {
        if (sql.size() > 1)
            sql += ", ";
        if (!peek().isName())
            unexpected(QStringLiteral("ein Feldname"));
        sql += quoteName(next().text);
    } while (acceptSymbol(u","));
    expectSymbol(u")");
    return sql + QLatin1Char(')');
}

QString Translator::insert()
{
    next();
    expectKeyword(u"INTO");
    m_result.kind = StatementKind::Append;
    const QString table = tableReference(&m_result.target, &m_result.targetSchema);
    QString sql = "INSERT INTO " + table;
    const bool columnList = peek().isSymbol(u"(") && !peek(1).isKeyword(u"SELECT");
    if (columnList)
        sql += QLatin1Char(' ') + nameList();
    if (acceptKeyword(u"VALUES")) {
        expectSymbol(u"(");
        const QList<Expr> values = arguments();
        expectSymbol(u")");
        QStringList parts;
        for (const Expr& v : values)
            parts.append(asValue(v).sql);
        return sql + " VALUES (" + parts.join(u", ") + QLatin1Char(')');
    }
    if (!peek().isKeyword(u"SELECT") && !peek().isSymbol(u"("))
        unexpected(QStringLiteral("VALUES oder SELECT"));
    m_result.selectSql = select(false);
    m_result.appendByName = !columnList;
    return sql + QLatin1Char(' ') + m_result.selectSql;
}

QString Translator::update()
{
    next();
    acceptKeyword(u"DISTINCTROW");
    m_result.kind = StatementKind::Update;
    const QString table = tableReference(&m_result.target, &m_result.targetSchema);
    QString joined;
    QString joinCondition;
    if (acceptKeyword(u"INNER")) {
        // UPDATE A INNER JOIN B ON … SET … becomes SQLite's UPDATE A SET … FROM B WHERE …
        expectKeyword(u"JOIN");
        joined = tableReference();
        if (peek().kind == Token::Identifier && !isReserved(peek()) && !peek().isKeyword(u"SET"))
            joined += " AS " + quoteName(next().text);
        expectKeyword(u"ON");
        joinCondition = expr().sql;
    }
    expectKeyword(u"SET");
    QString sql = "UPDATE " + table + " SET ";
    bool first = true;
    do {
        if (!first)
            sql += ", ";
        first = false;
        if (!peek().isName())
            unexpected(QStringLiteral("ein Feldname"));
        QString column = next().text;
        while (acceptSymbol(u".") || acceptSymbol(u"!")) {
            if (!peek().isName())
                unexpected(QStringLiteral("ein Feldname"));
            column = next().text; // SQLite names the column without its table
        }
        expectSymbol(u"=");
        sql += quoteName(column) + " = " + valueExpr().sql;
    } while (acceptSymbol(u","));
    QString where;
    if (acceptKeyword(u"WHERE"))
        where = expr().sql;
    if (!joined.isEmpty()) {
        sql += " FROM " + joined + " WHERE (" + joinCondition + QLatin1Char(')');
        if (!where.isEmpty())
            sql += " AND (" + where + QLatin1Char(')');
    } else if (!where.isEmpty()) {
        sql += " WHERE " + where;
    }
    return sql;
}

QString Translator::deleteStatement()
{
    next();
    acceptKeyword(u"DISTINCTROW");
    m_result.kind = StatementKind::Delete;
    // DELETE *, DELETE [T].*, DELETE [T].[F]: the dialect's list before FROM says nothing.
    while (!peek().isKeyword(u"FROM") && peek().kind != Token::End)
        next();
    expectKeyword(u"FROM");
    QString sql = "DELETE FROM " + tableReference(&m_result.target, &m_result.targetSchema);
    if (acceptKeyword(u"WHERE"))
        sql += " WHERE " + expr().sql;
    return sql;
}

QString Translator::crosstab()
{
    next();
    m_result.kind = StatementKind::Crosstab;
    const int valueStart = m_pos;
    m_pivotCondition = QStringLiteral("1");
    expr();
    m_pivotCondition.clear();
    if (acceptKeyword(u"AS") && peek().isName())
        next();
    SelectParts p = selectCore(false);
    if (p.groupBy.isEmpty())
        unexpected(QStringLiteral("GROUP BY"));
    QString order = orderBy();
    expectKeyword(u"PIVOT");
    const Expr pivot = asValue(concat()); // not expr(): its IN list belongs to PIVOT
    struct Column {
        QString condition;
        QString name;
    };
    QList<Column> columns;
    if (acceptKeyword(u"IN")) {
        expectSymbol(u"(");
        do {
            const Expr v = valueExpr();
            columns.append(
                { wrap(pivot, EqualityLevel) + " = " + v.sql, v.stringLiteral ? v.value : v.sql });
        } while (acceptSymbol(u","));
        expectSymbol(u")");
    } else {
        if (!m_context.firstColumn)
            throwSyntaxError(peek().pos,
                QStringLiteral("die Spaltenwerte der Kreuztabelle können nicht ermittelt werden."));
        QString sql = "SELECT DISTINCT " + pivot.sql;
        if (!p.from.isEmpty())
            sql += " FROM " + p.from;
        if (!p.where.isEmpty())
            sql += " WHERE " + p.where;
        sql += " ORDER BY 1";
        for (const QVariant& v :
            m_context.firstColumn(sql, m_result.parameters, m_result.declared)) {
            if (v.isNull()) {
                columns.append({ wrap(pivot, EqualityLevel) + " IS NULL", QStringLiteral("<>") });
            } else if (v.typeId() == QMetaType::QString) {
                columns.append({ wrap(pivot, EqualityLevel) + " = " + quoteLiteral(v.toString()),
                    v.toString() });
            } else {
                columns.append({ wrap(pivot, EqualityLevel) + " = " + v.toString(), v.toString() });
            }
        }
    }
    if (order.isEmpty())
        order = orderBy();
    const int end = m_pos;
    QString list = p.list;
    for (const Column& c : std::as_const(columns)) {
        m_pos = valueStart;
        m_pivotCondition = c.condition;
        list += ", " + valueExpr().sql + " AS " + quoteName(c.name);
    }
    m_pivotCondition.clear();
    m_pos = end;
    p.list = list;
    return p.core() + order;
}

} // namespace kv::engine::sql
