#include "engine/ForeignTableModule.h"

#include "engine/ForeignTableShare.h"
#include "engine/ForeignTableSource.h"
#include "engine/TransferRows.h"
#include "engine/catalog/DeclaredType.h"
#include "engine/core/DataType.h"
#include "engine/isam/IsamError.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqlText.h"
#include "engine/sqlite/SqliteApi.h"

#include <QStringList>

namespace kv::engine {

using namespace isam;

namespace {

struct ForeignVtab : sqlite3_vtab {
    std::shared_ptr<IsamTable> table;
    QString label; ///< "table in file" for messages
    std::shared_ptr<ForeignWriteJournal> journal;
};

struct ForeignCursor : sqlite3_vtab_cursor {
    std::unique_ptr<IsamCursor> rows;
    bool eof = true;
};

void setError(sqlite3_vtab* vtab, const QString& text)
{
    sqlite3_free(vtab->zErrMsg);
    vtab->zErrMsg = sqlite3_mprintf("%s", text.toUtf8().constData());
}

/// Runs a driver call and turns its failures into SQLite errors with the German text.
template <class Work> int guarded(sqlite3_vtab* vtab, Work work)
{
    try {
        return work();
    } catch (const IsamError& e) {
        setError(vtab, e.description());
    } catch (const std::bad_alloc&) {
        return SQLITE_NOMEM;
    } catch (const std::exception& e) {
        setError(vtab, QString::fromLocal8Bit(e.what()));
    }
    return SQLITE_ERROR;
}

/// A module argument as written in CREATE VIRTUAL TABLE: a quoted literal or a bare word.
QString unquoted(const char* argument)
{
    QString text = QString::fromUtf8(argument).trimmed();
    if (text.size() >= 2 && (text.front() == QLatin1Char('\'') || text.front() == QLatin1Char('"'))
        && text.back() == text.front()) {
        const QChar quote = text.front();
        text = text.mid(1, text.size() - 2);
        text.replace(QString(2, quote), QString(quote));
    }
    return text;
}

QString schemaOf(const IsamFields& fields)
{
    QStringList columns;
    for (const IsamField& f : fields)
        columns << quoteIdentifier(f.name) + QLatin1Char(' ')
                + datatype::declaredType(f.type, f.size > 0 ? f.size : fixedSize(f.type));
    return QStringLiteral("CREATE TABLE x(") + columns.join(QStringLiteral(", "))
        + QLatin1Char(')');
}

int connectTable(
    sqlite3* db, void* share, int argc, const char* const* argv, sqlite3_vtab** out, char** error)
{
    if (argc < 5) {
        *error = sqlite3_mprintf(
            "%s", "Eine eingebundene Tabelle braucht die Verbindungsangabe und den Tabellennamen.");
        return SQLITE_ERROR;
    }
    const QString connect = unquoted(argv[3]);
    const QString source = unquoted(argv[4]);
    auto vtab = std::make_unique<ForeignVtab>();
    try {
        auto opened = static_cast<ForeignTableShare*>(share)->open(connect, source);
        vtab->table = std::move(opened.table);
        vtab->journal = std::move(opened.journal);
        if (vtab->table->fields().isEmpty())
            throw IsamError(isamerr::NoFields,
                QStringLiteral("Die Tabelle '%1' hat keine Felder.").arg(source));
    } catch (const IsamError& e) {
        *error = sqlite3_mprintf("%s", e.description().toUtf8().constData());
        return SQLITE_ERROR;
    } catch (const std::exception& e) {
        *error = sqlite3_mprintf("%s", e.what());
        return SQLITE_ERROR;
    }
    vtab->label = source;
    const int rc = sqlite3_declare_vtab(db, schemaOf(vtab->table->fields()).toUtf8().constData());
    if (rc != SQLITE_OK)
        return rc;
    *out = vtab.release();
    return SQLITE_OK;
}

int disconnectTable(sqlite3_vtab* vtab)
{
    auto* v = static_cast<ForeignVtab*>(vtab);
    // The destructor flushes too but cannot report; a failure here is lost either way.
    try {
        v->table->flush();
    } catch (...) { }
    sqlite3_free(v->zErrMsg);
    delete v;
    return SQLITE_OK;
}

enum Plan { FullScan = 0, ByRowId = 1 };

int bestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info)
{
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto& c = info->aConstraint[i];
        if (c.usable && c.iColumn == -1 && c.op == SQLITE_INDEX_CONSTRAINT_EQ) {
            info->aConstraintUsage[i].argvIndex = 1;
            info->aConstraintUsage[i].omit = 1;
            info->idxNum = ByRowId;
            info->estimatedCost = 1;
            info->estimatedRows = 1;
            info->idxFlags = SQLITE_INDEX_SCAN_UNIQUE;
            return SQLITE_OK;
        }
    }
    const qint64 rows = static_cast<ForeignVtab*>(vtab)->table->rowEstimate();
    info->idxNum = FullScan;
    info->estimatedRows = rows >= 0 ? rows : 100000;
    info->estimatedCost = static_cast<double>(info->estimatedRows) + 10;
    return SQLITE_OK;
}

int openCursor(sqlite3_vtab*, sqlite3_vtab_cursor** out)
{
    *out = new ForeignCursor;
    return SQLITE_OK;
}

int closeCursor(sqlite3_vtab_cursor* cursor)
{
    delete static_cast<ForeignCursor*>(cursor);
    return SQLITE_OK;
}

int filter(sqlite3_vtab_cursor* cursor, int plan, const char*, int argc, sqlite3_value** argv)
{
    auto* c = static_cast<ForeignCursor*>(cursor);
    return guarded(cursor->pVtab, [&] {
        c->rows = static_cast<ForeignVtab*>(cursor->pVtab)->table->openCursor(false);
        if (plan == ByRowId && argc == 1) {
            const int type = sqlite3_value_numeric_type(argv[0]);
            c->eof = type != SQLITE_INTEGER || !c->rows->seek(sqlite3_value_int64(argv[0]));
        } else {
            c->eof = !c->rows->next();
            if (!c->eof)
                TransferRows::countRead();
        }
        return SQLITE_OK;
    });
}

int next(sqlite3_vtab_cursor* cursor)
{
    auto* c = static_cast<ForeignCursor*>(cursor);
    return guarded(cursor->pVtab, [&] {
        c->eof = !c->rows->next();
        if (!c->eof)
            TransferRows::countRead();
        return SQLITE_OK;
    });
}

int eof(sqlite3_vtab_cursor* cursor)
{
    return static_cast<ForeignCursor*>(cursor)->eof ? 1 : 0;
}

/// The column's result straight from the driver's storage form.
class ResultSink final : public StorageSink {
public:
    explicit ResultSink(sqlite3_context* ctx)
        : m_ctx(ctx)
    { }
    void null() override { sqlite3_result_null(m_ctx); }
    void integer(qint64 value) override { sqlite3_result_int64(m_ctx, value); }
    void real(double value) override { sqlite3_result_double(m_ctx, value); }
    void text(const char* utf8, qsizetype size) override
    {
        sqlite3_result_text64(
            m_ctx, utf8, static_cast<sqlite3_uint64>(size), SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    void blob(const char* data, qsizetype size) override
    {
        sqlite3_result_blob64(m_ctx, data, static_cast<sqlite3_uint64>(size), SQLITE_TRANSIENT);
    }

private:
    sqlite3_context* m_ctx;
};

int column(sqlite3_vtab_cursor* cursor, sqlite3_context* ctx, int i)
{
    auto* c = static_cast<ForeignCursor*>(cursor);
    return guarded(cursor->pVtab, [&] {
        const IsamFields& fields = static_cast<ForeignVtab*>(cursor->pVtab)->table->fields();
        ResultSink sink(ctx);
        c->rows->storedValue(i, fields.at(i).type, sink);
        return SQLITE_OK;
    });
}

int rowId(sqlite3_vtab_cursor* cursor, sqlite_int64* id)
{
    *id = static_cast<ForeignCursor*>(cursor)->rows->rowId();
    return SQLITE_OK;
}

QVariant fromSqlite(sqlite3_value* value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_value_int64(value)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_value_double(value));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_value_text(value)), sqlite3_value_bytes(value)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(
            static_cast<const char*>(sqlite3_value_blob(value)), sqlite3_value_bytes(value)));
    default:
        return QVariant();
    }
}

IsamRow rowOf(const IsamFields& fields, int argc, sqlite3_value** argv)
{
    IsamRow row;
    row.reserve(fields.size());
    for (int i = 0; i < fields.size() && i + 2 < argc; ++i) {
        const int type = fields.at(i).type;
        row.append(driverValue(datatype::toStorage(fromSqlite(argv[i + 2]), type), type));
    }
    return row;
}

void refuse(const ForeignVtab* v, const char* what)
{
    throw IsamError(isamerr::ReadOnly,
        QStringLiteral("In der eingebundenen Tabelle '%1' können keine Datensätze %2 werden; "
                       "ihr Format lässt es hier nicht zu.")
            .arg(v->label, QString::fromUtf8(what)));
}

int update(sqlite3_vtab* vtab, int argc, sqlite3_value** argv, sqlite_int64* newRowId)
{
    auto* v = static_cast<ForeignVtab*>(vtab);
    return guarded(vtab, [&] {
        IsamTable& table = *v->table;
        const IsamCapabilities can = table.capabilities();
        if (argc == 1) {
            if (!can.remove)
                refuse(v, "gelöscht");
            v->journal->beforeChange(sqlite3_value_int64(argv[0]));
            table.remove(sqlite3_value_int64(argv[0]));
            return SQLITE_OK;
        }
        const bool given = sqlite3_value_type(argv[1]) != SQLITE_NULL;
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
            if (!can.append)
                refuse(v, "angefügt");
            if (given)
                throw IsamError(isamerr::Generic,
                    QStringLiteral("Die Datensatznummer eines neuen Datensatzes in '%1' vergibt "
                                   "die Datei selbst.")
                        .arg(v->label));
            v->journal->beforeAppend();
            *newRowId = table.append(rowOf(table.fields(), argc, argv));
            TransferRows::countWritten();
            return SQLITE_OK;
        }
        if (!can.update)
            refuse(v, "geändert");
        const qint64 id = sqlite3_value_int64(argv[0]);
        if (!given || sqlite3_value_int64(argv[1]) != id)
            throw IsamError(isamerr::Generic,
                QStringLiteral("Die Datensatznummer eines Datensatzes in '%1' kann nicht "
                               "geändert werden.")
                    .arg(v->label));
        v->journal->beforeChange(id);
        table.update(id, rowOf(table.fields(), argc, argv));
        return SQLITE_OK;
    });
}

// Writes reach the file at once; the journal takes them back where SQLite rolls back, and a
// commit or rollback makes the header agree.
template <class Step> int journalStep(sqlite3_vtab* vtab, bool flush, Step step)
{
    return guarded(vtab, [&] {
        auto* v = static_cast<ForeignVtab*>(vtab);
        step(*v->journal, *v->table);
        if (flush)
            v->table->flush();
        return SQLITE_OK;
    });
}

int beginTable(sqlite3_vtab* vtab)
{
    return journalStep(vtab, false, [](auto& j, auto& t) { j.begin(t); });
}

int flushTable(sqlite3_vtab* vtab)
{
    return journalStep(vtab, true, [](auto&, auto&) {});
}

int commitTable(sqlite3_vtab* vtab)
{
    return journalStep(vtab, true, [](auto& j, auto&) { j.commit(); });
}

int rollbackTable(sqlite3_vtab* vtab)
{
    return journalStep(vtab, true, [](auto& j, auto&) { j.rollback(); });
}

int savepointTable(sqlite3_vtab* vtab, int level)
{
    return journalStep(vtab, false, [level](auto& j, auto&) { j.savepoint(level); });
}

int releaseTable(sqlite3_vtab* vtab, int level)
{
    return journalStep(vtab, false, [level](auto& j, auto&) { j.release(level); });
}

int rollbackToTable(sqlite3_vtab* vtab, int level)
{
    return journalStep(vtab, false, [level](auto& j, auto&) { j.rollbackTo(level); });
}

const sqlite3_module foreignModule = [] {
    sqlite3_module m {};
    m.iVersion = 2;
    m.xCreate = connectTable;
    m.xConnect = connectTable;
    m.xBestIndex = bestIndex;
    m.xDisconnect = disconnectTable;
    // Removing the table from the database leaves its file as it is.
    m.xDestroy = disconnectTable;
    m.xOpen = openCursor;
    m.xClose = closeCursor;
    m.xFilter = filter;
    m.xNext = next;
    m.xEof = eof;
    m.xColumn = column;
    m.xRowid = rowId;
    m.xUpdate = update;
    m.xBegin = beginTable;
    m.xSync = flushTable;
    m.xCommit = commitTable;
    m.xRollback = rollbackTable;
    m.xSavepoint = savepointTable;
    m.xRelease = releaseTable;
    m.xRollbackTo = rollbackToTable;
    return m;
}();

} // namespace

void registerForeignTableModule(Connection& db)
{
    sqlite3_create_module_v2(db.handle(), foreignModuleName, &foreignModule, new ForeignTableShare,
        [](void* share) { delete static_cast<ForeignTableShare*>(share); });
}

} // namespace kv::engine
