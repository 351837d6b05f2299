#include "engine/FieldReplacement.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/catalog/Catalog.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/ProgressScope.h"
#include "engine/sqlite/Savepoint.h"
#include "engine/sqlite/SqlText.h"
#include "engine/sqlite/Statement.h"

namespace kv::engine {

namespace {

const QString undoFieldTable = QStringLiteral("MSysKvUndoField");
const QString undoValueTable = QStringLiteral("MSysKvUndoValues");

QString q(const QString& name)
{
    return quoteIdentifier(name);
}

// Runs change inside a savepoint; a failure rolls it back and lets the object model read the
// file again, since the collections held what the rolled-back steps made.
template <class Change> void atomically(Database& db, Change&& change)
{
    try {
        Savepoint sp(db.connection());
        change();
        sp.release();
    } catch (...) {
        db.refreshAll();
        throw;
    }
}

// Reports the steps of a change and keeps reporting while SQLite works on one of them.
class Steps {
public:
    Steps(Connection& c, ChangeProgress progress, int steps)
        : m_connection(c)
        , m_progress(std::move(progress))
        , m_steps(steps)
    {
        // Once stopped, the rollback and the reading afterwards must run to their end.
        if (m_progress)
            m_connection.setProgressCheck([this] {
                if (m_stopped)
                    return true;
                m_stopped = !m_progress(m_step, m_steps);
                return !m_stopped;
            });
    }
    ~Steps()
    {
        if (m_progress)
            m_connection.setProgressCheck({});
    }
    Steps(const Steps&) = delete;
    Steps& operator=(const Steps&) = delete;

    /// Begins the next step; throws when the user stopped the work in between.
    void next()
    {
        m_step = std::min(m_step + 1, m_steps);
        // Between two statements the table may be half made: nothing reads it meanwhile.
        const ProgressScope scope(m_connection.handle());
        m_stopped = m_stopped || (m_progress && !m_progress(m_step, m_steps));
        if (m_stopped)
            throw EngineError(err::Generic, QStringLiteral("Der Vorgang wurde abgebrochen."));
    }

private:
    Connection& m_connection;
    ChangeProgress m_progress;
    int m_steps;
    int m_step = 0;
    bool m_stopped = false;
};

void dropUndo(Connection& c)
{
    c.exec(QStringLiteral("DROP TABLE IF EXISTS ") + q(undoFieldTable));
    c.exec(QStringLiteral("DROP TABLE IF EXISTS ") + q(undoValueTable));
}

// The replacement proper: one copy of the table with the field's values through source; the
// indexes are made again once, relations and their rules stay.
void replace(Database& db, const QString& table, const FieldDefinition& to, const QString& source,
    Steps& steps)
{
    steps.next();
    db.catalog().replaceField(
        table, to, source, [&] { steps.next(); }, [&] { steps.next(); });
}

QString conversion(const QString& field, int type, int size)
{
    return QStringLiteral("kv_convert(%1, %2, %3)").arg(q(field)).arg(type).arg(size);
}

void keepForUndo(
    Database& db, const QString& table, const FieldDefinition& old, int newType, int newSize)
{
    Connection& c = db.connection();
    c.exec(QStringLiteral("CREATE TABLE %1 (TableName TEXT, Name TEXT, Type INTEGER, Size "
                          "INTEGER, Attributes INTEGER, DefaultValue TEXT, Required INTEGER, "
                          "AllowZeroLength INTEGER, ValidationRule TEXT, ValidationText TEXT, "
                          "OrdinalPosition INTEGER, NewType INTEGER, NewSize INTEGER)")
               .arg(q(undoFieldTable)));
    Statement st(c.handle(),
        QStringLiteral("INSERT INTO %1 VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, "
                       "?12, ?13)")
            .arg(q(undoFieldTable)));
    const QVariantList values { table, old.name, old.type, old.size, old.attributes,
        old.defaultValue, old.required, old.allowZeroLength, old.validationRule, old.validationText,
        old.ordinalPosition, newType, newSize };
    for (int i = 0; i < values.size(); ++i)
        st.bind(i + 1, values.at(i));
    st.step();
    // Only what a conversion back would not restore takes room.
    c.exec(QStringLiteral("CREATE TABLE %1 (RowNo INTEGER PRIMARY KEY, Value)")
               .arg(q(undoValueTable)));
    c.exec(QStringLiteral("INSERT INTO %1 SELECT rowid, %2 FROM %3 WHERE %2 IS NOT "
                          "kv_convert(kv_convert(%2, %4, %5), %6, %7)")
               .arg(q(undoValueTable), q(old.name), q(table))
               .arg(newType)
               .arg(newSize)
               .arg(old.type)
               .arg(old.size));
}

std::optional<FieldDefinition> undoRecord(Connection& c, int& newType, int& newSize, QString& table)
{
    if (c.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = '%1'")
                     .arg(undoFieldTable))
            .toInt()
        == 0)
        return std::nullopt;
    Statement st(c.handle(), QStringLiteral("SELECT * FROM ") + q(undoFieldTable));
    if (!st.step())
        return std::nullopt;
    FieldDefinition d;
    table = st.value(0).toString();
    d.name = st.value(1).toString();
    d.type = st.value(2).toInt();
    d.size = st.value(3).toInt();
    d.attributes = st.value(4).toInt();
    d.defaultValue = st.value(5).toString();
    d.required = st.value(6).toBool();
    d.allowZeroLength = st.value(7).toBool();
    d.validationRule = st.value(8).toString();
    d.validationText = st.value(9).toString();
    d.ordinalPosition = st.value(10).toInt();
    newType = st.value(11).toInt();
    newSize = st.value(12).toInt();
    return d;
}

} // namespace

ConversionLoss conversionLoss(
    Database& db, const QString& table, const QString& field, int type, int size, int maxExamples)
{
    ConversionLoss loss;
    Connection& c = db.connection();
    const QString lost
        = QStringLiteral("NOT kv_fits(%1, %2, %3)").arg(q(field)).arg(type).arg(size);
    loss.count = c.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(q(table), lost))
                     .toLongLong();
    if (loss.count == 0 || maxExamples <= 0)
        return loss;
    Statement st(c.handle(),
        QStringLiteral("SELECT (SELECT count(*) FROM %1 WHERE rowid <= x.rowid), %2 FROM %1 x "
                       "WHERE %3 ORDER BY rowid LIMIT %4")
            .arg(q(table), q(field), lost)
            .arg(maxExamples));
    while (st.step())
        loss.examples.append({ st.int64(0), st.value(1) });
    return loss;
}

void replaceField(Database& db, const QString& table, const QString& name, const Field& replacement,
    const ChangeProgress& progress)
{
    replaceField(db, table, name, replacement.definition(), progress);
}

void replaceField(Database& db, const QString& table, const QString& name,
    const FieldDefinition& replacement, const ChangeProgress& progress)
{
    // The values kept for the undo, the copy, the indexes, the checks and rules, reading the
    // table again.
    Steps steps(db.connection(), progress, 5);
    atomically(db, [&] {
        const FieldDefinition old = db.tableDefs().item(table).fields().item(name).definition();
        FieldDefinition to = replacement;
        to.name = old.name;
        to.ordinalPosition = old.ordinalPosition;
        steps.next();
        dropUndo(db.connection());
        keepForUndo(db, table, old, to.type, to.size);
        replace(db, table, to, conversion(old.name, to.type, to.size), steps);
        steps.next();
        db.refreshAll();
    });
}

std::optional<FieldChange> undoableFieldChange(Database& db)
{
    int type = 0, size = 0;
    QString table;
    const auto old = undoRecord(db.connection(), type, size, table);
    if (!old)
        return std::nullopt;
    // A later change of the field itself (or of its table's name) ends the undo.
    TableDef* t = db.tableDefs().find(table);
    const Field* f = t ? t->fields().find(old->name) : nullptr;
    if (!f || f->type() != type || f->size() != size)
        return std::nullopt;
    return FieldChange { t->name(), f->name() };
}

void undoFieldChange(Database& db, const ChangeProgress& progress)
{
    if (!undoableFieldChange(db))
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Es gibt keine Strukturänderung, die rückgängig gemacht werden kann."));
    // The copy, the indexes, the checks and rules, reading the table again.
    Steps steps(db.connection(), progress, 4);
    atomically(db, [&] {
        Connection& c = db.connection();
        int type = 0, size = 0;
        QString table;
        const FieldDefinition old = *undoRecord(c, type, size, table);
        // The kept values come back in the same copy (they are never Null), so that the rules of
        // the old field see the values it had.
        const QString source
            = QStringLiteral("coalesce((SELECT u.Value FROM %1 AS u WHERE u.RowNo = %2.rowid), %3)")
                  .arg(q(undoValueTable), q(table), conversion(old.name, old.type, old.size));
        replace(db, table, old, source, steps);
        dropUndo(c);
        steps.next();
        db.refreshAll();
    });
}

void forgetFieldChange(Database& db)
{
    if (db.updatable())
        dropUndo(db.connection());
}

} // namespace kv::engine
