#include "engine/sql/DdlTypes.h"
#include "engine/sql/Translator.h"

#include "engine/core/EngineError.h"

namespace kv::engine::sql {

namespace {

[[noreturn]] void notSupported(const QString& what)
{
    throw EngineError(err::InvalidOperation,
        QStringLiteral("%1 wird von dieser Datenbank nicht unterstützt.").arg(what));
}

} // namespace

QString Translator::createTable()
{
    m_result.kind = StatementKind::CreateTable;
    if (!peek().isName())
        unexpected(QStringLiteral("ein Tabellenname"));
    m_result.target = next().text;
    expectSymbol(u"(");
    QList<ColumnSql> columns;
    QStringList constraints;
    QList<qsizetype> primaryConstraints; // indexes into constraints
    QStringList primaryKeys; // their name lists
    do {
        const Token& t = peek();
        if (t.isKeyword(u"CONSTRAINT") || t.isKeyword(u"PRIMARY") || t.isKeyword(u"UNIQUE")
            || t.isKeyword(u"FOREIGN")) {
            QString key;
            constraints.append(tableConstraint(key));
            if (!key.isEmpty()) {
                primaryConstraints.append(constraints.size() - 1);
                primaryKeys.append(key);
            }
        } else {
            columns.append(columnDefinition());
        }
    } while (acceptSymbol(u","));
    expectSymbol(u")");

    // A counter numbers the rows whether or not it is the key: it becomes SQLite's own
    // auto-increment rowid, and a key on other fields stays unique beside it.
    const ColumnSql* counter = nullptr;
    for (const ColumnSql& c : std::as_const(columns)) {
        if (!c.counter)
            continue;
        if (counter)
            throw EngineError(err::InvalidOperation,
                QStringLiteral("Eine Tabelle kann nur ein Feld mit Automatikwert haben."));
        counter = &c;
    }
    QStringList items;
    for (const ColumnSql& c : std::as_const(columns)) {
        QString key;
        if (&c == counter)
            key = QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
        else if (c.primary)
            key = counter ? QStringLiteral(" UNIQUE") : QStringLiteral(" PRIMARY KEY");
        items.append(c.name + QLatin1Char(' ') + c.type + key + c.constraints);
    }
    for (qsizetype i = primaryConstraints.size() - 1; counter && i >= 0; --i) {
        const qsizetype at = primaryConstraints[i];
        if (primaryKeys[i] == QLatin1Char('(') + counter->name + QLatin1Char(')'))
            constraints.removeAt(at);
        else
            constraints[at].replace(QLatin1String("PRIMARY KEY "), QLatin1String("UNIQUE "));
    }
    items += constraints;
    return "CREATE TABLE " + quoteName(m_result.target) + " (" + items.join(u", ")
        + QLatin1Char(')');
}

Translator::ColumnSql Translator::columnDefinition()
{
    if (!peek().isName())
        unexpected(QStringLiteral("ein Feldname"));
    ColumnSql column;
    column.name = quoteName(next().text);
    if (peek().kind != Token::Identifier)
        unexpected(QStringLiteral("ein Datentyp"));
    const Token typeToken = next();
    int size = 0;
    int scale = 0;
    if (acceptSymbol(u"(")) {
        if (peek().kind != Token::Number)
            unexpected(QStringLiteral("eine Größe"));
        size = next().text.toInt();
        if (acceptSymbol(u",")) {
            if (peek().kind != Token::Number)
                unexpected(QStringLiteral("eine Zahl"));
            scale = next().text.toInt();
        }
        expectSymbol(u")");
    }
    column.type = declaredColumnType(typeToken.text, size, scale, column.counter);
    if (column.type.isEmpty())
        throwSyntaxError(
            typeToken.pos, QStringLiteral("unbekannter Datentyp '%1'.").arg(typeToken.text));
    QString& constraints = column.constraints;
    for (;;) {
        if (acceptKeyword(u"NOT")) {
            expectKeyword(u"NULL");
            constraints += " NOT NULL";
        } else if (acceptKeyword(u"NULL")) {
        } else if (acceptKeyword(u"PRIMARY")) {
            expectKeyword(u"KEY");
            column.primary = true;
        } else if (acceptKeyword(u"UNIQUE")) {
            constraints += " UNIQUE";
        } else if (acceptKeyword(u"DEFAULT")) {
            constraints += " DEFAULT (" + concat().sql + QLatin1Char(')');
        } else if (acceptKeyword(u"WITH")) {
            if (!acceptKeyword(u"COMPRESSION"))
                expectKeyword(u"COMP");
        } else if (acceptKeyword(u"CONSTRAINT")) {
            if (!peek().isName())
                unexpected(QStringLiteral("ein Name"));
            constraints += " CONSTRAINT " + quoteName(next().text);
        } else if (acceptKeyword(u"REFERENCES")) {
            if (!peek().isName())
                unexpected(QStringLiteral("ein Tabellenname"));
            constraints += " REFERENCES " + quoteName(next().text);
            if (peek().isSymbol(u"("))
                constraints += QLatin1Char(' ') + nameList();
        } else {
            break;
        }
    }
    return column;
}

QString Translator::tableConstraint(QString& primaryKey)
{
    QString sql;
    if (acceptKeyword(u"CONSTRAINT")) {
        if (!peek().isName())
            unexpected(QStringLiteral("ein Name"));
        sql = "CONSTRAINT " + quoteName(next().text) + QLatin1Char(' ');
    }
    if (acceptKeyword(u"PRIMARY")) {
        expectKeyword(u"KEY");
        primaryKey = nameList();
        return sql + "PRIMARY KEY " + primaryKey;
    }
    if (acceptKeyword(u"UNIQUE"))
        return sql + "UNIQUE " + nameList();
    if (acceptKeyword(u"FOREIGN")) {
        expectKeyword(u"KEY");
        sql += "FOREIGN KEY " + nameList();
        expectKeyword(u"REFERENCES");
        if (!peek().isName())
            unexpected(QStringLiteral("ein Tabellenname"));
        sql += " REFERENCES " + quoteName(next().text);
        if (peek().isSymbol(u"("))
            sql += QLatin1Char(' ') + nameList();
        while (acceptKeyword(u"ON")) {
            QString event;
            if (acceptKeyword(u"UPDATE"))
                event = QStringLiteral("UPDATE");
            else if (acceptKeyword(u"DELETE"))
                event = QStringLiteral("DELETE");
            else
                unexpected(QStringLiteral("UPDATE oder DELETE"));
            QString action;
            if (acceptKeyword(u"CASCADE"))
                action = QStringLiteral("CASCADE");
            else if (acceptKeyword(u"SET")) {
                expectKeyword(u"NULL");
                action = QStringLiteral("SET NULL");
            } else if (acceptKeyword(u"NO")) {
                expectKeyword(u"ACTION");
                action = QStringLiteral("NO ACTION");
            } else
                unexpected(QStringLiteral("CASCADE, SET NULL oder NO ACTION"));
            sql += " ON " + event + QLatin1Char(' ') + action;
        }
        return sql;
    }
    unexpected(QStringLiteral("PRIMARY KEY, UNIQUE oder FOREIGN KEY"));
}

QString Translator::createIndex(bool unique)
{
    m_result.kind = StatementKind::CreateIndex;
    if (!peek().isName())
        unexpected(QStringLiteral("ein Indexname"));
    const QString index = next().text;
    m_result.index = index;
    expectKeyword(u"ON");
    if (!peek().isName())
        unexpected(QStringLiteral("ein Tabellenname"));
    m_result.target = next().text;
    expectSymbol(u"(");
    QStringList columns;
    do {
        if (!peek().isName())
            unexpected(QStringLiteral("ein Feldname"));
        QString c = quoteName(next().text);
        if (acceptKeyword(u"DESC"))
            c += " DESC";
        else if (acceptKeyword(u"ASC"))
            c += " ASC";
        columns.append(c);
    } while (acceptSymbol(u","));
    expectSymbol(u")");
    if (acceptKeyword(u"WITH")) {
        do {
            if (acceptKeyword(u"PRIMARY"))
                m_result.indexOptions.append(QStringLiteral("PRIMARY"));
            else if (acceptKeyword(u"DISALLOW")) {
                expectKeyword(u"NULL");
                m_result.indexOptions.append(QStringLiteral("DISALLOW NULL"));
            } else if (acceptKeyword(u"IGNORE")) {
                expectKeyword(u"NULL");
                m_result.indexOptions.append(QStringLiteral("IGNORE NULL"));
            } else
                unexpected(QStringLiteral("PRIMARY, DISALLOW NULL oder IGNORE NULL"));
        } while (!peek().isSymbol(u";") && peek().kind != Token::End);
    }
    const bool primary = m_result.indexOptions.contains(QStringLiteral("PRIMARY"));
    return QStringLiteral("CREATE %1INDEX ").arg(unique || primary ? "UNIQUE " : "")
        + quoteName(index) + " ON " + quoteName(m_result.target) + " (" + columns.join(u", ")
        + QLatin1Char(')');
}

QString Translator::alterTable()
{
    next();
    expectKeyword(u"TABLE");
    m_result.kind = StatementKind::AlterTable;
    if (!peek().isName())
        unexpected(QStringLiteral("ein Tabellenname"));
    m_result.target = next().text;
    const QString table = quoteName(m_result.target);
    if (acceptKeyword(u"ADD")) {
        if (peek().isKeyword(u"CONSTRAINT") || peek().isKeyword(u"PRIMARY")
            || peek().isKeyword(u"UNIQUE") || peek().isKeyword(u"FOREIGN"))
            notSupported(QStringLiteral("ALTER TABLE … ADD CONSTRAINT"));
        acceptKeyword(u"COLUMN");
        const QString nameText = peek().text;
        const ColumnSql column = columnDefinition();
        if (column.primary)
            notSupported(QStringLiteral("Ein Primärschlüssel in ALTER TABLE … ADD"));
        // SQLite cannot add a rowid in place; the engine rebuilds the table for a counter.
        if (column.counter)
            m_result.autoIncrementColumns.append(nameText);
        return "ALTER TABLE " + table + " ADD COLUMN " + column.name + QLatin1Char(' ')
            + column.type + column.constraints;
    }
    if (acceptKeyword(u"DROP")) {
        if (peek().isKeyword(u"CONSTRAINT"))
            notSupported(QStringLiteral("ALTER TABLE … DROP CONSTRAINT"));
        acceptKeyword(u"COLUMN");
        if (!peek().isName())
            unexpected(QStringLiteral("ein Feldname"));
        return "ALTER TABLE " + table + " DROP COLUMN " + quoteName(next().text);
    }
    if (peek().isKeyword(u"ALTER"))
        notSupported(QStringLiteral("ALTER TABLE … ALTER COLUMN"));
    unexpected(QStringLiteral("ADD oder DROP"));
}

QString Translator::drop()
{
    next();
    m_result.kind = StatementKind::Drop;
    if (acceptKeyword(u"TABLE")) {
        if (!peek().isName())
            unexpected(QStringLiteral("ein Tabellenname"));
        m_result.target = next().text;
        return "DROP TABLE " + quoteName(m_result.target);
    }
    if (acceptKeyword(u"INDEX")) {
        if (!peek().isName())
            unexpected(QStringLiteral("ein Indexname"));
        const QString index = next().text;
        m_result.index = index;
        if (acceptKeyword(u"ON")) {
            if (!peek().isName())
                unexpected(QStringLiteral("ein Tabellenname"));
            m_result.target = next().text;
        }
        return "DROP INDEX " + quoteName(index);
    }
    unexpected(QStringLiteral("TABLE oder INDEX"));
}

} // namespace kv::engine::sql
