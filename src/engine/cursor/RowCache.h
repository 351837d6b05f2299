#pragma once

#include "engine/core/Parameter.h"
#include "engine/cursor/DateCache.h"
#include "engine/sqlite/Statement.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <vector>

namespace kv::engine {

class Keyset;

/// Row values of a keyset, fetched a page at a time and kept in a few pages (least recently
/// used goes first). A page holds SQLite's values as they are (numbers, texts decoded once into
/// one shared UTF-16 block); a value becomes the caller's type only when it is asked for.
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

    struct Cell {
        union {
            qint64 integer;
            double real;
            struct {
                quint32 offset; // texts: in UTF-16 units into texts; blobs, dates: into bytes
                quint32 length;
            } bytes;
        };
        int kind; // SQLITE_INTEGER, _FLOAT, _TEXT, _BLOB or _NULL
    };

    /// The cells of the row at index of keys, or nullptr when another writer deleted the row.
    /// Valid until the next call; reading a row's fields one by one finds it at once.
    const Cell* row(Keyset& keys, qint64 index)
    {
        if (index == m_rowIndex) [[likely]]
            return m_row;
        return findRow(keys, index);
    }
    /// One value of the row that row() gave last.
    QVariant value(const Cell* row, int column)
    {
        const auto c = static_cast<size_t>(column);
        return convert(*m_rowPage, row[c], m_types[c]);
    }
    bool present(Keyset& keys, qint64 index) { return row(keys, index) != nullptr; }
    /// One value of the row at index of keys, which must be present.
    QVariant value(Keyset& keys, qint64 index, int column)
    {
        return value(row(keys, index), column);
    }
    /// All values of the row at index of keys, which must be present.
    QVariantList values(Keyset& keys, qint64 index);
    void clear();
    /// The row at index of keys was written: reads it again if its page is held, so that an
    /// edit costs one row, not a page.
    void refreshRow(Keyset& keys, qint64 index);
    /// The keys from index on changed (a row added there): forgets the pages that hold them;
    /// the ones before stay.
    void forgetFrom(qint64 index);
    /// The key at index was taken out of keys (a row deleted): its page closes the gap, so that
    /// deleting row after row does not read the page again each time; later pages are forgotten.
    void removeRow(qint64 index);

private:
    struct Page {
        qint64 first = -1;
        std::vector<Cell> cells; // rows × columns
        std::vector<char> bytes; // blobs and date texts (UTF-8) of the page
        std::vector<char> present; // one byte each: read with the row, no bit arithmetic
        quint64 used = 0;
        // The page's texts in one shared block; a text value is a view into it, so reading a
        // text costs no allocation. Each text is followed by a zero, as QString hands it out.
        QStringPrivate texts;
    };
    Page& page(Keyset& keys, qint64 index)
    {
        const qint64 first = index & ~(PageSize - 1); // index >= 0, PageSize a power of two
        if (m_last && m_last->first == first) [[likely]]
            return *m_last;
        return load(keys, first);
    }
    Page& load(Keyset& keys, qint64 first);
    const Cell* findRow(Keyset& keys, qint64 index);
    void fill(Page& page, Keyset& keys);
    void readInto(Statement& st, Page& page, size_t row);
    static void appendBytes(Page& page, Cell& cell, const void* data, int length);
    void appendText(Page& page, Cell& cell, const unsigned char* utf8, size_t length);
    QVariant convert(Page& page, const Cell& cell, int type);
    static QVariant convertStored(const Page& page, const Cell& cell, int type);
    static QString text(const Page& page, const Cell& cell);
    static QVariant textValue(const Page& page, const Cell& cell);

    Statement m_byKey;
    Statement m_byRange;
    std::vector<int> m_types;
    int m_columns;
    std::vector<Page> m_pages;
    Page* m_last = nullptr;
    // The row found last; a page being filled forgets it.
    qint64 m_rowIndex = -1;
    const Cell* m_row = nullptr;
    Page* m_rowPage = nullptr;
    DateCache m_dates;
    quint64 m_clock = 0;
    qsizetype m_textHint = 4096; // UTF-16 units the last page's texts took
};

} // namespace kv::engine
