#pragma once

#include "engine/isam/IsamField.h"
#include "engine/isam/ValueIssue.h"

#include <QStringList>
#include <QVector>
#include <optional>

namespace kv::engine::isam {

/// What an import or export did, table by table: rows read, written and refused, and every
/// value that did not arrive unchanged. Filled while the rows go over (the writers report
/// through sink()), shown and saved as CSV afterwards.
class VerificationReport {
public:
    struct TableCounts {
        QString table;
        qint64 read = 0;
        qint64 written = 0;
        qint64 refused = 0;
    };
    struct Entry {
        QString table;
        ValueIssue issue;
    };
    struct Refusal {
        QString table;
        qint64 row = 0;
        QString reason;
    };

    /// At most this many values are kept one by one; the counts go on beyond it.
    static constexpr int MaxEntries = 100000;

    void countRead(const QString& table, qint64 rows = 1);
    void countWritten(const QString& table, qint64 rows = 1);
    void refuse(const QString& table, qint64 row, const QString& reason);
    void addIssue(const QString& table, const ValueIssue& issue);
    /// A sink for one table's writer.
    IssueSink sink(const QString& table);

    const QVector<TableCounts>& tables() const { return m_tables; }
    const QVector<Entry>& entries() const { return m_entries; }
    const QVector<Refusal>& refusals() const { return m_refusals; }
    qint64 issueCount() const { return m_issueCount; }
    bool isClean() const;

    /// The whole report as CSV (semicolons, CR LF, quotes where needed): the counts per table,
    /// an empty line, then one line per changed value and per refused row.
    QString toCsv() const;
    /// The first lines for the closing message: counts per table, then up to maxValues values.
    QStringList summary(int maxValues = 10) const;

    /// A value as the report shows it ("(Null)", dates as dd.MM.yyyy HH:mm:ss, …).
    static QString valueText(const QVariant& value);

private:
    TableCounts& counts(const QString& table);

    QVector<TableCounts> m_tables;
    QVector<Entry> m_entries;
    QVector<Refusal> m_refusals;
    qint64 m_issueCount = 0;
};

/// Fits a value to a field of the engine before it is stored there: text longer than the field,
/// numbers outside the range of Byte, Integer, Long or Currency, dates outside 100–9999.
/// Returns what had to change and puts the value that can be stored into fitted.
std::optional<IssueKind> fitToField(
    const IsamField& field, const QVariant& value, QVariant* fitted);

} // namespace kv::engine::isam
