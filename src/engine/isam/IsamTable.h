#pragma once

#include "engine/isam/IsamField.h"
#include "engine/isam/RecordUndo.h"
#include "engine/isam/ValueIssue.h"

#include <QStringList>
#include <memory>

namespace kv::engine::isam {

/// Receives one value in the engine's storage form (datatype::toStorage), the form SQLite keeps:
/// dates as "yyyy-MM-dd HH:mm:ss" text, Booleans -1/0, text as UTF-8.
class StorageSink {
public:
    virtual ~StorageSink() = default;
    virtual void null() = 0;
    virtual void integer(qint64 value) = 0;
    virtual void real(double value) = 0;
    virtual void text(const char* utf8, qsizetype size) = 0;
    virtual void blob(const char* data, qsizetype size) = 0;
};

/// Hands a value already in storage form to a sink.
void putStored(const QVariant& stored, StorageSink& out);

/// A forward cursor over the rows of one table; it holds one row at a time, never the table.
class IsamCursor {
public:
    virtual ~IsamCursor() = default;

    /// Moves to the next row; false at the end. Deleted rows are skipped unless the cursor was
    /// opened with them.
    virtual bool next() = 0;
    /// Moves to the row with this id; false when there is none (or it is deleted and the cursor
    /// skips deleted rows).
    virtual bool seek(qint64 rowId) = 0;
    /// Stable id of the current row for as long as the table is open (1-based record number
    /// for the table formats, row number for sheets).
    virtual qint64 rowId() const = 0;
    virtual QVariant value(int column) const = 0;
    /// value() in storage form for a column of the engine type; drivers override it to skip
    /// the QVariant, the QDateTime and its time-zone lookup on the way to SQLite.
    virtual void storedValue(int column, int type, StorageSink& out) const;
    virtual bool isDeleted() const { return false; }
};

/// What a driver can do with an open table.
struct IsamCapabilities {
    bool append = false;
    bool update = false;
    bool remove = false;
};

/// One table of a foreign file: its fields in engine terms and its rows, streamed.
/// Writes go straight to the file; flush() makes the header agree with them (the destructor
/// flushes too, but only flush() reports a failure).
class IsamTable {
public:
    virtual ~IsamTable() = default;

    const QString& name() const { return m_name; }
    const IsamFields& fields() const { return m_fields; }
    /// Notes for the user about how the file was read (no code page given, memo file missing),
    /// German, naming the file.
    const QStringList& notices() const { return m_notices; }
    /// Name of the text code page the file is read and written in ("Windows-1252", "IBM850").
    const QString& codePage() const { return m_codePage; }

    /// Number of rows that are not deleted, or -1 when only a full scan would tell.
    virtual qint64 rowCount() const = 0;
    /// About how many rows there are, for planning a query; never scans the table.
    virtual qint64 rowEstimate() const { return rowCount(); }
    virtual std::unique_ptr<IsamCursor> openCursor(bool withDeleted = false) = 0;

    virtual IsamCapabilities capabilities() const { return {}; }
    /// Appends a row (values by field position) and returns its row id.
    virtual qint64 append(const IsamRow& row);
    virtual void update(qint64 rowId, const IsamRow& row);
    virtual void remove(qint64 rowId);
    virtual void flush() { }
    /// How writes are taken back; null where the driver cannot (they stay).
    virtual RecordUndo* recordUndo() { return nullptr; }

    /// Receives every value that a write could not store unchanged.
    void setIssueSink(IssueSink sink) { m_issueSink = std::move(sink); }

protected:
    /// A date handed in as the engine's stored text is shown as the date it names.
    void reportIssue(const ValueIssue& issue) const;
    /// Adds a note for the user; repeated notes are dropped and the list stays short.
    void addNotice(const QString& text);

    IssueSink m_issueSink;
    QString m_name;
    QString m_path;
    IsamFields m_fields;
    QStringList m_notices;
    QString m_codePage;
};

/// A container of foreign tables: a folder of dBASE or Paradox files, a workbook, a Jet file.
class IsamDatabase {
public:
    virtual ~IsamDatabase() = default;

    const QString& path() const { return m_path; }
    /// The user's tables in the order the container lists them.
    virtual QStringList tableNames() const = 0;
    /// Opens a table by name (case-insensitive); IsamError 3265 when there is none.
    virtual std::unique_ptr<IsamTable> openTable(const QString& name, bool writable = false) = 0;
    virtual bool canCreateTables() const { return false; }
    /// Creates an empty table from field definitions; IsamError 3010 when it exists already.
    virtual std::unique_ptr<IsamTable> createTable(const QString& name, const IsamFields& fields);

protected:
    QString m_path;
};

} // namespace kv::engine::isam
