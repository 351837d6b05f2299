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
    QStringList items;
    do {
        const Token& t = peek();
        if (t.isKeyword(u"CONSTRAINT") || t.isKeyword(u"PRIMARY") || t.isKeyword(u"UNIQUE")
            || t.isKeyword(u"FOREIGN")) {
            items.append(tableConstraint());
        } else {
            bool primary = false;
            items.append(columnDefinition(true, primary));
        }
    } while (acceptSymbol(u","));
    expectSymbol(u")");
    return "CREATE TABLE " + quoteName(m_result.target) + " (" + items.join(u", ")
        + QLatin1Char(')');
}

QString Translator::columnDefinition(bool inTable, bool& isPrimaryKeyColumn)
{
    if (!peek().isName())
        unexpected(QStringLiteral("ein Feldname"));
    const QString name = next().text;
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
    bool autoIncrement = false;
    QString type = declaredColumnType(typeToken.text, size, scale, autoIncrement);
    if (type.isEmpty())
        throwSyntaxError(
            typeToken.pos, QStringLiteral("unbekannter Datentyp '%1'.").arg(typeToken.text));
    QString constraints;
    for (;;) {
        if (acceptKeyword(u"NOT")) {
            expectKeyword(u"NULL");
            constraints += " NOT NULL";
        } else if (acceptKeyword(u"NULL")) {
        } else if (acceptKeyword(u"PRIMARY")) {
            expectKeyword(u"KEY");
            isPrimaryKeyColumn = true;
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
    if (autoIncrement) {
        if (isPrimaryKeyColumn && inTable)
            return quoteName(name) + " INTEGER PRIMARY KEY AUTOINCREMENT" + constraints;
        m_result.autoIncrementColumns.append(name);
    }
    if (isPrimaryKeyColumn)
        constraints.prepend(QStringLiteral(" PRIMARY KEY"));
    return quoteName(name) + QLatin1Char(' ') + type + constraints;
}

QString Translator::tableConstraint()
{
    QString sql;
    if (acceptKeyword(u"CONSTRAINT")) {
        if (!peek().isName())
            unexpected(QStringLiteral("ein Name"));
        sql = "CONSTRAINT " + quoteName(next().text) + QLatin1Char(' ');
    }
    if (acceptKeyword(u"PRIMARY")) {
        expectKeyword(u"KEY");
        return sql + "PRIMARY KEY " + nameList();
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
        bool primary = false;
        const QString column = columnDefinition(false, primary);
        if (primary)
            notSupported(QStringLiteral("Ein Primärschlüssel in ALTER TABLE … ADD"));
        return "ALTER TABLE " + table + " ADD COLUMN " + column;
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
