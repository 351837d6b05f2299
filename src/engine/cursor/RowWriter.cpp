#include "engine/cursor/RowWriter.h"

#include "engine/cursor/RecordSource.h"
#include "engine/sql/Lexer.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqlText.h"

namespace kv::engine {

RowWriter::RowWriter(Connection& db, const RecordSource& source)
    : m_db(db)
    , m_source(source)
{ }

qint64 RowWriter::insert(const QStringList& columns, const QList<QVariant>& values)
{
    QString sql = QStringLiteral("INSERT INTO ") + m_source.baseTable();
    if (columns.isEmpty()) {
        sql += QStringLiteral(" DEFAULT VALUES");
    } else {
        QStringList placeholders;
        for (int i = 1; i <= columns.size(); ++i)
            placeholders << QStringLiteral("?%1").arg(i);
        sql += QStringLiteral(" (") + columns.join(QStringLiteral(", "))
            + QStringLiteral(") VALUES (") + placeholders.join(QStringLiteral(", "))
            + QLatin1Char(')');
    }
    const std::shared_ptr<Statement> st = m_db.cached(sql);
    for (int i = 0; i < values.size(); ++i)
        st->bind(i + 1, values[i]);
    st->step();
    return m_db.lastInsertRowid();
}

void RowWriter::update(qint64 key, const QStringList& columns, const QList<QVariant>& values)
{
    QStringList assignments;
    for (int i = 0; i < columns.size(); ++i)
        assignments << columns[i] + QStringLiteral(" = ?%1").arg(i + 1);
    const std::shared_ptr<Statement> st = m_db.cached(QStringLiteral("UPDATE ")
        + m_source.baseTable() + QStringLiteral(" SET ") + assignments.join(QStringLiteral(", "))
        + QStringLiteral(" WHERE rowid = ?%1").arg(columns.size() + 1));
    for (int i = 0; i < values.size(); ++i)
        st->bind(i + 1, values[i]);
    st->bind(static_cast<int>(values.size()) + 1, key);
    st->step();
}

void RowWriter::remove(qint64 key)
{
    Statement st(m_db.handle(),
        QStringLiteral("DELETE FROM ") + m_source.baseTable()
            + QStringLiteral(" WHERE rowid = ?1"));
    st.bind(1, key);
    st.step();
}

qint64 RowWriter::nextCounter()
{
    qint64 last
        = m_db.scalar(QStringLiteral("SELECT coalesce(max(rowid), 0) FROM ") + m_source.baseTable())
              .toLongLong();
    // Looked up by name in SQLite's schema, not by scanning it: a large database has thousands of
    // entries.
    const QString schema = m_source.baseSchema();
    if (m_db.scalar(QStringLiteral("SELECT count(*) FROM pragma_table_info('sqlite_sequence', ")
                + sql::quoteLiteral(schema) + QLatin1Char(')'))
            .toInt()
        > 0)
        last = std::max(last,
            m_db.scalar(QStringLiteral("SELECT seq FROM ") + quoteIdentifier(schema)
                    + QStringLiteral(".sqlite_sequence WHERE name = ")
                    + sql::quoteLiteral(m_source.baseName()))
                .toLongLong());
    return last + 1;
}

} // namespace kv::engine
