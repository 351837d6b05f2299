#pragma once

// Private to the engine: the bounded page cache behind a record set.

#include "engine/Parameter.h"
#include "engine/Sqlite.h"

#include <QHash>
#include <QList>
#include <QVariant>
#include <vector>

namespace kv::engine {

/// Row values of a keyset, fetched a page at a time and kept in a few pages (least recently
/// used goes first). Rows are converted to the caller's types once, when fetched.
///
/// A page of keys that are ascending and close together is read with one rowid range scan
/// (the usual table order); any other page with one rowid lookup per key.
class RowCache {
public:
    static constexpr qint64 PageSize = 512;
    static constexpr int MaxPages = 8; // at most 4096 rows in memory

    /// sql: "SELECT <columns>, <q>.rowid FROM <table> AS <q>" (no WHERE); types: field type per
    /// column (0 = keep SQLite's value).
    RowCache(sqlite3* db, const QString& sql, std::vector<int> types,
        const QStringList& parameterNames, const QList<Parameter>& parameters);

    /// The row at index of keys; nullptr when the row has gone (deleted by another writer).
    const QVariantList* row(const std::vector<qint64>& keys, qint64 index);
    /// The row with that key, read now and not cached.
    bool readRow(qint64 key, QVariantList& row);
    void clear();

private:
    struct Page {
        qint64 first = -1;
        std::vector<QVariantList> rows;
        std::vector<bool> present;
        quint64 used = 0;
    };
    void fill(Page& page, const std::vector<qint64>& keys);
    void readInto(Statement& st, QVariantList& row) const;

    Statement m_byKey;
    Statement m_byRange;
    std::vector<int> m_types;
    int m_columns;
    std::vector<Page> m_pages;
    // Date texts repeat (birthdays, order days); converting to local time is the dear part.
    mutable QHash<QString, QVariant> m_daten;
    quint64 m_clock = 0;
};

} // namespace kv::engine
