#include "engine/Sqlite.h"

#include "engine/sql/Dialect.h"

#include <QDateTime>
#include <utility>

namespace kv::engine {

namespace {
// Our triggers raise "KVnnnn|German text"; the number survives into the engine error.
bool eigeneMeldung(const QString& meldung, int& nummer, QString& text)
{
    if (!meldung.startsWith(QLatin1String("KV")))
        return false;
    const qsizetype strich = meldung.indexOf(QLatin1Char('|'));
    if (strich < 3)
        return false;
    bool ok = false;
    const int n = meldung.mid(2, strich - 2).toInt(&ok);
    if (!ok)
        return false;
    nummer = n;
    text = meldung.mid(strich + 1);
    return true;
}
} // namespace

EngineError sqliteError(sqlite3* db, int rc, const QString& context)
{
    const QString meldung
        = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    int nummer = err::Generic;
    QString text;
    if (eigeneMeldung(meldung, nummer, text))
        return EngineError(nummer, text);
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        nummer = err::FileLocked;
        text
            = QStringLiteral("Die Datenbank ist von einem anderen Benutzer oder Prozess gesperrt.");
        break;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        nummer = err::NotADatabase;
        text = QStringLiteral("Die Datei ist keine Datenbank oder ist beschädigt.");
        break;
    case SQLITE_CANTOPEN:
        nummer = err::FileNotFound;
        text = QStringLiteral("Die Datei konnte nicht geöffnet werden.");
        break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        nummer = err::ReadOnly;
        text = QStringLiteral("Die Datenbank ist schreibgeschützt.");
        break;
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
            nummer = err::DuplicateKey;
            text = QStringLiteral("Die Änderungen wurden nicht durchgeführt, weil sie im Index, "
                                  "Primärschlüssel oder in der Beziehung doppelte Werte "
                                  "erzeugen würden.");
        } else if (rc == SQLITE_CONSTRAINT_NOTNULL) {
            nummer = err::Required;
            text = QStringLiteral("Das Feld darf keinen Nullwert enthalten.");
        }
        break;
    case SQLITE_ERROR:
        if (meldung.contains(QLatin1String("syntax error"))
            || meldung.contains(QLatin1String("incomplete input")))
            nummer = err::SyntaxError;
        else if (meldung.startsWith(QLatin1String("no such table")))
            nummer = err::NoSuchTable;
        break;
    default:
        break;
    }
    // SQLite's own words stay in the description so that the cause can be found.
    if (text.isEmpty())
        text = QStringLiteral("Fehler in der Datenbank-Engine (%1).").arg(meldung);
    else
        text += QStringLiteral(" (%1)").arg(meldung);
    if (!context.isEmpty())
        text = context + QLatin1String(": ") + text;
    return EngineError(nummer, text);
}

Statement::Statement(sqlite3* db, const QString& sql)
    : m_db(db)
{
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
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The extended code is what tells a unique violation from other constraint failures.
    const int erweitert = sqlite3_extended_errcode(m_db);
    sqlite3_reset(m_stmt);
    throw sqliteError(m_db, erweitert);
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

Connection::~Connection()
{
    close();
}

void Connection::open(const QString& path, int flags)
{
    close();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(
        path.toUtf8().constData(), &db, flags | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        EngineError fehler = sqliteError(db, rc);
        sqlite3_close_v2(db);
        throw fehler;
    }
    sqlite3_extended_result_codes(db, 1);
    m_db = db;
    sql::registerFunctions(m_db);
}

void Connection::close()
{
    m_statements.clear(); // finalized before their connection
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Connection::exec(const QString& sql)
{
    char* fehlertext = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &fehlertext);
    sqlite3_free(fehlertext);
    if (rc != SQLITE_OK)
        throw sqliteError(m_db, sqlite3_extended_errcode(m_db));
}

QVariant Connection::scalar(const QString& sql)
{
    const std::shared_ptr<Statement> st = cached(sql);
    const QVariant wert = st->step() ? st->value(0) : QVariant();
    st->reset();
    return wert;
}

std::shared_ptr<Statement> Connection::cached(const QString& sql)
{
    auto it = m_statements.find(sql);
    if (it != m_statements.end() && it->second.use_count() > 1)
        return std::make_shared<Statement>(m_db, sql); // in use further up: a statement of its own
    if (it == m_statements.end()) {
        // Texts with literals in them come once; a full cache starts afresh (statements still
        // held live on with their holders).
        if (m_statements.size() >= 256)
            m_statements.clear();
        it = m_statements.emplace(sql, std::make_shared<Statement>(m_db, sql)).first;
    }
    std::shared_ptr<Statement> st = it->second;
    st->reset();
    st->clearBindings();
    return st;
}

qint64 Connection::changes() const
{
    return sqlite3_changes64(m_db);
}

qint64 Connection::lastInsertRowid() const
{
    return sqlite3_last_insert_rowid(m_db);
}

} // namespace kv::engine

namespace kv::engine {

bool Connection::isReadOnly() const
{
    return sqlite3_db_readonly(m_db, "main") == 1;
}

bool Connection::inTransaction() const
{
    return sqlite3_get_autocommit(m_db) == 0;
}

} // namespace kv::engine
