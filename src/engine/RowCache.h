#pragma once

// Private to the engine: the bounded page cache behind a record set.

#include "engine/Parameter.h"
#include "engine/Sqlite.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>
#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

namespace kv::engine {

class Keyset;

/// Row values of a keyset, fetched a page at a time and kept in a few pages (least recently
/// used goes first). A page holds SQLite's values as they are (numbers, text bytes); a value
/// becomes the caller's type only when it is asked for, so walking a set costs no more than
/// the values actually read.
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

    /// Whether the row at index of keys is there (false: deleted by another writer).
    bool present(Keyset& keys, qint64 index);
    /// One value of the row at index of keys, which must be present.
    QVariant value(Keyset& keys, qint64 index, int column);
    /// All values of the row at index of keys, which must be present.
    QVariantList values(Keyset& keys, qint64 index);
    void clear();

private:
    struct Cell {
        union {
            qint64 integer;
            double real;
            struct {
                quint32 offset;
                quint32 length;
            } bytes;
        };
        int kind; // SQLITE_INTEGER, _FLOAT, _TEXT, _BLOB or _NULL
    };
    struct Page {
        qint64 first = -1;
        std::vector<Cell> cells; // rows × columns
        std::vector<char> bytes; // text and blob values of the page
        std::vector<bool> present;
        quint64 used = 0;
        // The page's texts decoded once into one shared block; a text value is a view into it,
        // so reading a text costs no allocation. Offset and length per cell, in UTF-16 units.
        QStringPrivate texts;
        std::vector<std::pair<quint32, quint32>> textAt;
    };
    Page& page(Keyset& keys, qint64 index);
    void fill(Page& page, Keyset& keys);
    void readInto(Statement& st, Page& page, size_t row) const;
    QVariant convert(Page& page, const Cell& cell, int type);
    QVariant date(const char* text, int length, int type);
    QString text(Page& page, const Cell& cell);
    void decodeTexts(Page& page);

    Statement m_byKey;
    Statement m_byRange;
    std::vector<int> m_types;
    int m_columns;
    std::vector<Page> m_pages;
    Page* m_last = nullptr;
    // Date texts repeat (birthdays, order days); converting to local time is the dear part.
    // Plain days sit in one block per year (close together, no hashing), shared by every cache
    // of the thread, since each clone and each requery starts a cache; other moments in a map.
    using Jahrestage = std::array<QDateTime, 12 * 31>;
    static std::vector<std::unique_ptr<Jahrestage>>& tage();
    std::unordered_map<qint64, QVariant> m_moments;
    quint64 m_clock = 0;
};

} // namespace kv::engine
