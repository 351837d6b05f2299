#include "engine/sqlite/Statement.h"

#include "engine/sqlite/ProgressScope.h"
#include "engine/sqlite/SqliteError.h"

#include <QDateTime>
#include <utility>

namespace kv::engine {

Statement::Statement(sqlite3* db, const QString& sql)
    : m_db(db)
{
    ProgressScope::refuse(db);
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v3(
        db, utf8.constData(), static_cast<int>(utf8.size()), 0, &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw sqliteError(db, sqlite3_extended_errcode(db));
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement&& o) noexcept
    : m_db(std::exchange(o.m_db, nullptr))
    , m_stmt(std::exchange(o.m_stmt, nullptr))
{ }

Statement& Statement::operator=(Statement&& o) noexcept
{
    if (this != &o) {
        sqlite3_finalize(m_stmt);
        m_db = std::exchange(o.m_db, nullptr);
        m_stmt = std::exchange(o.m_stmt, nullptr);
    }
    return *this;
}

bool Statement::step()
{
    ProgressScope::refuse(m_db);
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The extended code is what tells a unique violation from other constraint failures.
    const int extended = sqlite3_extended_errcode(m_db);
    sqlite3_reset(m_stmt);
    throw sqliteError(m_db, extended);
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
}

void Statement::clearBindings()
{
    sqlite3_clear_bindings(m_stmt);
}

void Statement::bind(int index, const QVariant& value)
{
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(m_stmt, index, value.toBool() ? -1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::UChar:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = value.toByteArray();
            rc = sqlite3_bind_blob64(m_stmt, index, b.constData(),
                static_cast<sqlite3_uint64>(b.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QDateTime:
            rc = sqlite3_bind_text(m_stmt, index,
                value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8(), -1,
                SQLITE_TRANSIENT);
            break;
        case QMetaType::QDate:
            rc = sqlite3_bind_text(m_stmt, index,
                value.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00")).toUtf8(), -1,
                SQLITE_TRANSIENT);
            break;
        default: {
            const QByteArray t = value.toString().toUtf8();
            rc = sqlite3_bind_text64(m_stmt, index, t.constData(),
                static_cast<sqlite3_uint64>(t.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        throw sqliteError(m_db, rc);
}

void Statement::bind(int index, qint64 value)
{
    const int rc = sqlite3_bind_int64(m_stmt, index, value);
    if (rc != SQLITE_OK)
        throw sqliteError(m_db, rc);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(m_stmt, column)));
    }
    default:
        return QVariant();
    }
}

qint64 Statement::int64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

namespace {
QString utf8OrEmpty(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}
} // namespace

QString Statement::columnDatabase(int column) const
{
    return utf8OrEmpty(sqlite3_column_database_name(m_stmt, column));
}

QString Statement::columnTable(int column) const
{
    return utf8OrEmpty(sqlite3_column_table_name(m_stmt, column));
}

QString Statement::columnOrigin(int column) const
{
    return utf8OrEmpty(sqlite3_column_origin_name(m_stmt, column));
}

QString Statement::columnDeclType(int column) const
{
    return utf8OrEmpty(sqlite3_column_decltype(m_stmt, column));
}

int Statement::parameterCount() const
{
    return sqlite3_bind_parameter_count(m_stmt);
}

QString Statement::parameterName(int index) const
{
    const QString name = utf8OrEmpty(sqlite3_bind_parameter_name(m_stmt, index));
    return name.isEmpty() ? name : name.mid(1);
}

bool Statement::hasPlaceholder(int index) const
{
    return sqlite3_bind_parameter_name(m_stmt, index) != nullptr;
}

int Statement::parameterIndex(const char* name) const
{
    return sqlite3_bind_parameter_index(m_stmt, name);
}

bool Statement::isReadOnly() const
{
    return sqlite3_stmt_readonly(m_stmt) != 0;
}

} // namespace kv::engine
