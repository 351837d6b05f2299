#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace kv::engine {

class Connection;
class RecordSource;

/// The writes of an updatable record set to its base table. Statements are prepared once per
/// text: the rules' triggers make preparing dear, and a walk writes row after row.
class RowWriter {
public:
    RowWriter(Connection& db, const RecordSource& source);

    /// Inserts a row with the columns given (quoted names; the table's defaults when none);
    /// returns its key.
    qint64 insert(const QStringList& columns, const QList<QVariant>& values);
    void update(qint64 key, const QStringList& columns, const QList<QVariant>& values);
    void remove(qint64 key);
    /// The next counter value of the table, as a new record shows it before it is written.
    qint64 nextCounter();

private:
    Connection& m_db;
    const RecordSource& m_source;
};

} // namespace kv::engine
