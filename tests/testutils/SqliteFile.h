#pragma once

// A raw SQLite connection for tests that look beneath the engine: closed however the test ends.

#include <QString>
#include <sqlite3.h>

namespace kv::test {

class SqliteFile {
public:
    explicit SqliteFile(const QString& path, int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)
    {
        m_rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    }
    ~SqliteFile() { sqlite3_close_v2(m_db); }
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    /// SQLITE_OK when the file opened.
    int openResult() const { return m_rc; }
    sqlite3* handle() const { return m_db; }
    operator sqlite3*() const { return m_db; }

    /// Runs statements without results; returns SQLite's result code.
    int exec(const QString& sql) const
    {
        return sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }

    /// The first column of the first row as text (empty for none or Null).
    QString text(const QString& sql) const
    {
        sqlite3_stmt* st = nullptr;
        QString result;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK
            && sqlite3_step(st) == SQLITE_ROW && sqlite3_column_type(st, 0) != SQLITE_NULL)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        return result;
    }

private:
    sqlite3* m_db = nullptr;
    int m_rc = SQLITE_ERROR;
};

} // namespace kv::test
