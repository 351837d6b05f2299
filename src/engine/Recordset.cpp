#include "engine/Recordset.h"

#include "engine/Database.h"
#include "engine/ExternalFiles.h"
#include "engine/TableDef.h"
#include "engine/catalog/Catalog.h"
#include "engine/catalog/RuleTriggers.h"
#include "engine/core/StatementErrors.h"
#include "engine/cursor/Keyset.h"
#include "engine/cursor/RecordColumns.h"
#include "engine/cursor/RecordSource.h"
#include "engine/cursor/RowCache.h"
#include "engine/cursor/RowWriter.h"
#include "engine/sql/DialectStatement.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/Savepoint.h"
#include "engine/sqlite/SqlText.h"

#include <QSet>
#include <QtEndian>

namespace kv::engine {

namespace {
EngineError noCurrentRecord()
{
    return EngineError(err::NoCurrentRecord, QStringLiteral("Kein aktueller Datensatz."));
}

EngineError recordDeleted()
{
    return EngineError(err::RecordDeleted, QStringLiteral("Der Datensatz ist gelöscht."));
}

EngineError notUpdatable()
{
    return EngineError(
        err::NotSupported, QStringLiteral("Die Datensatzgruppe kann nicht aktualisiert werden."));
}

EngineError noEdit()
{
    return EngineError(err::NoEdit,
        QStringLiteral("Aktualisieren oder Abbrechen ohne Hinzufügen oder Bearbeiten."));
}

QByteArray bookmarkOf(qint64 key)
{
    QByteArray b(8, Qt::Uninitialized);
    qToLittleEndian<qint64>(key, b.data());
    return b;
}

[[noreturn, gnu::cold]] void closed()
{
    throw EngineError(err::ObjectInvalid,
        QStringLiteral("Die Datensatzgruppe ist geschlossen; das Objekt ist ungültig."));
}

// A clone shares the keys until it changes them.
void ownKeys(std::shared_ptr<Keyset>& keys)
{
    if (keys.use_count() > 1)
        keys = keys->copy();
}
} // namespace

Recordset::~Recordset() = default;

std::unique_ptr<Recordset> Recordset::open(Database& db, const QString& source, int type,
    const QList<Parameter>& parameters, bool keysLater)
{
    std::unique_ptr<Recordset> rs(new Recordset);
    rs->m_db = &db;
    rs->m_connection = &db.connection();
    rs->m_source = source;
    rs->m_type = type == dbOpenTable ? dbOpenDynaset : type;
    rs->m_parameters = parameters;
    rs->m_keysPending = keysLater;
    rs->openSource();
    return rs;
}

// The statement, then where its keys and rows come from, its fields, its keys, and last the
// types of calculated fields, which only the first row tells.
void Recordset::openSource()
{
    Connection& c = m_db->connection();
    auto externals = std::make_shared<ExternalUse>(m_db->externalFiles());
    sql::DialectStatement statement(c.handle(), m_source, {}, m_parameters, externals->resolver());
    m_externals = std::move(externals);
    // Every later statement over the same source binds the values as declared.
    m_parameters = statement.typed(m_parameters);
    statement.bind(m_parameters);
    m_parameterNames = statement.parameters();
    if (statement.statement().columnCount() == 0)
        throw noRecordsError(m_source);
    m_rows = RecordSource::open(c, m_db->catalog(), statement, m_parameters);
    if (m_rows->isCopy()) {
        m_updatable = false;
        m_type = dbOpenSnapshot;
    } else {
        m_updatable = m_type != dbOpenSnapshot && m_db->updatable();
    }
    m_columns = describeColumns(statement.statement(), *m_rows,
        statement.translation().singleTable.table, m_updatable,
        [this](const QString& schema, const QString& table, const QString& column,
            QString& tableName) { return storedField(schema, table, column, tableName); });
    m_cache = makeCache(m_columns);
    m_keysPending = m_keysPending && m_rows->keysReadableElsewhere();
    if (m_keysPending)
        return;
    readKeys();
    completeOpen();
}

void Recordset::completeOpen()
{
    typeCalculatedColumns(m_columns, *m_cache, *m_keys);
    makeFields(m_columns);
    m_columns.clear();
    m_pos = m_keys->empty() ? -1 : 0;
}

std::optional<KeyQuery> Recordset::pendingKeys() const
{
    if (!m_keysPending)
        return std::nullopt;
    return m_rows->keyQuery(m_parameterNames, m_parameters);
}

std::optional<KeyQuery> Recordset::pendingFirstKeys(qint64 rows) const
{
    if (!m_keysPending)
        return std::nullopt;
    return m_rows->firstKeysQuery(rows, m_parameterNames, m_parameters);
}

void Recordset::setFirstKeys(std::vector<qint64> keys)
{
    requireOpen();
    if (!m_keysPending)
        return;
    m_keysPending = false;
    // Shared with the clones, which thus follow, too.
    m_keys = std::make_shared<Keyset>(std::move(keys),
        [rows = m_rows, db = m_db, names = m_parameterNames, parameters = m_parameters] {
            return rows->keyQuery(names, parameters).run(db->connection());
        });
    m_keyShifts = m_keys->shifts();
    m_cache->clear();
    completeOpen();
}

bool Recordset::keysFollow() const
{
    return m_keys && m_keys->following();
}

void Recordset::stopFollowing()
{
    if (m_keys)
        m_keys->stopFollowing();
}

void Recordset::setKeys(std::vector<qint64> keys)
{
    requireOpen();
    if (keysFollow()) {
        m_keys->complete(std::move(keys));
        return;
    }
    if (!m_keysPending)
        return;
    m_keysPending = false;
    m_keys = std::make_shared<Keyset>(std::move(keys));
    m_keyShifts = m_keys->shifts();
    m_cache->clear();
    completeOpen();
}

const FieldDefinition* Recordset::storedField(
    const QString& schema, const QString& table, const QString& column, QString& tableName) const
{
    // Types and rules of fields come from the table definitions the database holds.
    for (TableDef* t : m_db->tableDefs().items()) {
        const bool match = schema == QLatin1String("main")
            ? t->name().compare(table, Qt::CaseInsensitive) == 0
            : (t->isAttached() && t->sourceTableName().compare(table, Qt::CaseInsensitive) == 0);
        if (match) {
            tableName = t->name();
            const Field* f = t->fields().find(column);
            return f ? &f->definition() : nullptr;
        }
    }
    return nullptr;
}

void Recordset::makeFields(const std::vector<RecordColumn>& columns)
{
    m_fields.clear();
    for (size_t i = 0; i < columns.size(); ++i)
        m_fields.push_back(std::make_unique<Field>(*this, static_cast<int>(i), columns[i]));
}

std::unique_ptr<RowCache> Recordset::makeCache(const std::vector<RecordColumn>& columns) const
{
    std::vector<int> types;
    for (const RecordColumn& c : columns)
        types.push_back(c.definition.type);
    return std::make_unique<RowCache>(
        m_db->connection().handle(), m_rows->rowSql(), types, m_parameterNames, m_parameters);
}

void Recordset::readKeys()
{
    m_keys = m_rows->readKeys(m_db->connection(), m_parameterNames, m_parameters);
    m_keyShifts = m_keys->shifts();
    m_cache->clear();
}

ErrorList* Recordset::errorList() const
{
    return m_db ? m_db->errorList() : nullptr;
}

inline void Recordset::requireOpen() const
{
    if (!m_connection || !m_connection->isOpen()) [[unlikely]]
        closed();
}

qint64 Recordset::recordCount() const
{
    requireOpen();
    return m_keys->count();
}

qint64 Recordset::knownRecordCount() const
{
    requireOpen();
    return m_keys->loaded();
}

bool Recordset::recordCountKnown() const
{
    requireOpen();
    return m_keys->countKnown();
}

void Recordset::noteRecordCount(qint64 records)
{
    requireOpen();
    m_keys->noteCount(records);
}

bool Recordset::eof() const
{
    requireOpen();
    if (m_onDeleted)
        return false;
    return !m_keys->has(m_pos < 0 ? 0 : m_pos);
}

bool Recordset::bof() const
{
    requireOpen();
    if (m_onDeleted)
        return false;
    return m_keys->empty() || m_pos < 0;
}

void Recordset::requireCurrent() const
{
    requireOpen();
    if (m_onDeleted)
        throw recordDeleted();
    if (m_pos < 0 || !m_keys->has(m_pos))
        throw noCurrentRecord();
}

void Recordset::beforeMove()
{
    requireOpen();
    // Moving away drops an unsaved AddNew/Edit, as the old engine did.
    m_editMode = dbEditNone;
    m_buffer.clear();
}

void Recordset::setPosition(qint64 position)
{
    m_onDeleted = false;
    if (position < 0)
        m_pos = -1;
    else if (m_keys->has(position))
        m_pos = position;
    else
        m_pos = m_keys->loaded(); // after the last key, which is now known
    if (m_keys->shifts() != m_keyShifts) [[unlikely]] {
        // Pages hold rows by position; reading on found the keys in other places.
        m_keyShifts = m_keys->shifts();
        m_cache->clear();
    }
}

void Recordset::moveFirst()
{
    beforeMove();
    if (m_keys->empty())
        throw noCurrentRecord();
    setPosition(0);
}

void Recordset::moveLast()
{
    beforeMove();
    if (m_keys->empty())
        throw noCurrentRecord();
    // Reading the last keys may prove the count wrong (another program wrote meanwhile).
    qint64 last = -1;
    do {
        last = m_keys->count() - 1;
        setPosition(last);
    } while (m_keys->count() - 1 != last);
}

void Recordset::moveNext()
{
    beforeMove();
    if (m_onDeleted) {
        setPosition(m_pos); // already on the record after the deleted one
        return;
    }
    if (eof())
        throw noCurrentRecord();
    setPosition(m_pos + 1);
}

void Recordset::movePrevious()
{
    beforeMove();
    if (m_onDeleted) {
        setPosition(m_pos - 1);
        return;
    }
    if (bof())
        throw noCurrentRecord();
    setPosition(m_pos - 1);
}

void Recordset::move(qint64 rows, const QByteArray& start)
{
    beforeMove();
    if (!start.isEmpty())
        setBookmark(start);
    if (rows == 0) {
        requireCurrent();
        return;
    }
    if (m_onDeleted && rows > 0)
        --rows;
    else if (m_pos < 0 || !m_keys->has(m_pos))
        throw noCurrentRecord();
    setPosition(m_pos + rows);
}

QByteArray Recordset::bookmark() const
{
    requireCurrent();
    return bookmarkOf(m_keys->at(m_pos));
}

void Recordset::setBookmark(const QByteArray& bookmark)
{
    requireOpen();
    if (bookmark.size() != 8)
        throw EngineError(err::InvalidBookmark, QStringLiteral("Ungültiges Lesezeichen."));
    const qint64 key = qFromLittleEndian<qint64>(bookmark.constData());
    // The current position is the usual guess.
    const qint64 index = m_keys->indexOf(key, m_pos);
    if (index < 0)
        throw EngineError(err::InvalidBookmark, QStringLiteral("Ungültiges Lesezeichen."));
    beforeMove();
    setPosition(index);
}

qint64 Recordset::absolutePosition() const
{
    requireOpen();
    if (m_onDeleted || m_pos < 0 || !m_keys->has(m_pos))
        return -1;
    return m_pos;
}

void Recordset::setAbsolutePosition(qint64 position)
{
    requireOpen();
    if (!m_keys->has(position))
        throw EngineError(err::InvalidArgument,
            QStringLiteral("Ungültiges Argument: Position %1 liegt außerhalb der Datensätze.")
                .arg(position));
    beforeMove();
    setPosition(position);
}

Field& Recordset::field(int index)
{
    if (index < 0 || index >= fieldCount())
        throw EngineError::itemNotFound(QString::number(index));
    return *m_fields[static_cast<size_t>(index)];
}

int Recordset::indexOf(const QString& name) const
{
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i]->name().compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    // "[T].[F]" and "T.F" name a field by its origin.
    const QString plain = QString(name).remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const Field& f = *m_fields[i];
        if (QString(f.sourceTable() + QLatin1Char('.') + f.sourceField())
                .compare(plain, Qt::CaseInsensitive)
            == 0)
            return static_cast<int>(i);
    }
    throw EngineError::itemNotFound(name);
}

Field& Recordset::field(const QString& name)
{
    return *m_fields[static_cast<size_t>(indexOf(name))];
}

QList<Field*> Recordset::fields()
{
    QList<Field*> list;
    for (const auto& f : m_fields)
        list << f.get();
    return list;
}

void Recordset::requireRow() const
{
    requireCurrent();
    if (!m_cache->present(*m_keys, m_pos))
        throw recordDeleted();
}

QVariantList Recordset::currentRow() const
{
    requireRow();
    return m_cache->values(*m_keys, m_pos);
}

QVariant Recordset::value(int index) const
{
    requireOpen();
    if (index < 0 || index >= fieldCount())
        throw EngineError::itemNotFound(QString::number(index));
    if (m_editMode != dbEditNone)
        return m_buffer.value(index);
    const RowCache::Cell* row = nullptr;
    if (m_onDeleted || m_pos < 0 || !m_keys->has(m_pos) || !(row = m_cache->row(*m_keys, m_pos)))
        [[unlikely]]
        requireRow(); // throws the fitting error
    return m_cache->value(row, index);
}

QVariant Recordset::value(const QString& name) const
{
    return value(indexOf(name));
}

void Recordset::setValue(const QString& name, const QVariant& value)
{
    setValue(indexOf(name), value);
}

void Recordset::setValue(int index, const QVariant& value)
{
    requireOpen();
    const Field& f = field(index);
    if (m_editMode == dbEditNone)
        throw noEdit();
    if (!f.dataUpdatable())
        throw EngineError(err::FieldNotUpdatable,
            QStringLiteral("Das Feld '%1' kann nicht aktualisiert werden.").arg(f.name()));
    const QVariant stored = datatype::toStorage(value, f.type());
    m_buffer[index] = datatype::fromStorage(stored, f.type());
    m_changed[static_cast<size_t>(index)] = true;
}

QVariant Recordset::defaultOf(const Field& field) const
{
    if (field.defaultValue().trimmed().isEmpty())
        return QVariant();
    try {
        const QVariant raw = m_db->connection().scalar(
            QStringLiteral("SELECT ") + RuleTriggers::expression(field.defaultValue()));
        return datatype::fromStorage(datatype::toStorage(raw, field.type()), field.type());
    } catch (const EngineError&) {
        return QVariant(); // the database applies what it can when the row is written
    }
}

void Recordset::addNew()
{
    requireOpen();
    if (!m_updatable)
        throw notUpdatable();
    m_buffer.clear();
    m_changed.assign(m_fields.size(), false);
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const Field& f = *m_fields[i];
        QVariant value;
        if (f.isAutoIncrement() && !f.sourceField().isEmpty()) {
            // The next counter value, visible before Update as in the old engine.
            value
                = QVariant(static_cast<int>(RowWriter(m_db->connection(), *m_rows).nextCounter()));
            m_changed[i] = true;
        } else if (f.dataUpdatable()) {
            value = defaultOf(f);
            m_changed[i] = value.isValid();
        }
        m_buffer.append(value);
    }
    m_editMode = dbEditAdd;
}

void Recordset::edit()
{
    requireOpen();
    if (!m_updatable)
        throw notUpdatable();
    m_buffer = currentRow();
    m_changed.assign(m_fields.size(), false);
    m_editKey = m_keys->at(m_pos);
    m_editMode = dbEditInProgress;
}

void Recordset::cancelUpdate()
{
    requireOpen();
    if (m_editMode == dbEditNone)
        throw noEdit();
    m_editMode = dbEditNone;
    m_buffer.clear();
}

void Recordset::update()
{
    recordErrors(errorList(), [&] {
        requireOpen();
        if (m_editMode == dbEditNone)
            throw noEdit();
        QStringList columns;
        QList<QVariant> values;
        for (size_t i = 0; i < m_fields.size(); ++i) {
            const Field& f = *m_fields[i];
            if (!m_changed[i] || f.sourceField().isEmpty())
                continue;
            if (!f.dataUpdatable() && !f.isAutoIncrement())
                continue;
            columns << quoteIdentifier(f.sourceField());
            values << datatype::toStorage(m_buffer[static_cast<int>(i)], f.type());
        }
        Connection& c = m_db->connection();
        RowWriter writer(c, *m_rows);
        Savepoint sp(c);
        qint64 key = m_editKey;
        if (m_editMode == dbEditAdd) {
            // A half-read set must not read the new row again.
            m_keys->beforeInsert();
            key = writer.insert(columns, values);
        } else if (!columns.isEmpty()) {
            writer.update(key, columns, values);
        }
        sp.release();
        if (m_editMode == dbEditAdd) {
            // New records join the end of the set.
            ownKeys(m_keys);
            m_keys->append(key);
            m_cache->forgetFrom(m_keys->loaded() - 1);
        } else {
            m_cache->refreshRow(*m_keys, m_pos);
        }
        m_lastModified = bookmarkOf(key);
        m_editMode = dbEditNone;
        m_buffer.clear();
    });
}

void Recordset::remove()
{
    recordErrors(errorList(), [&] {
        requireCurrent();
        if (!m_updatable)
            throw notUpdatable();
        m_editMode = dbEditNone;
        RowWriter(m_db->connection(), *m_rows).remove(m_keys->at(m_pos));
        ownKeys(m_keys);
        m_keys->erase(m_pos);
        m_cache->removeRow(m_pos);
        m_onDeleted = true;
    });
}

std::unique_ptr<Recordset> Recordset::clone() const
{
    requireOpen();
    std::unique_ptr<Recordset> rs(new Recordset);
    rs->m_db = m_db;
    rs->m_connection = m_connection;
    rs->m_source = m_source;
    rs->m_parameters = m_parameters;
    rs->m_parameterNames = m_parameterNames;
    rs->m_type = m_type;
    rs->m_updatable = m_updatable;
    rs->m_externals = m_externals;
    rs->m_rows = m_rows;
    rs->m_keys = m_keys;
    std::vector<RecordColumn> columns;
    for (const auto& f : m_fields)
        columns.push_back(RecordColumn {
            f->definition(), f->sourceTable(), f->sourceField(), f->dataUpdatable() });
    rs->makeFields(columns);
    rs->m_cache = rs->makeCache(columns);
    rs->m_keyShifts = m_keys->shifts();
    rs->m_pos = -1;
    return rs;
}

void Recordset::find(const QString& criteria, qint64 start, int direction)
{
    recordErrors(errorList(), [&] {
        requireOpen();
        // The condition in SQLite terms: translated as the WHERE of a statement of its own.
        const sql::SingleTableSelect s
            = sql::translate(QStringLiteral("SELECT * FROM kv_suche WHERE ") + criteria)
                  .singleTable;
        if (s.where.isEmpty() || s.rest != QStringLiteral("WHERE ") + s.where)
            throw EngineError(err::SyntaxError,
                QStringLiteral("Syntaxfehler im Suchkriterium '%1'.").arg(criteria));
        Statement st(m_db->connection().handle(),
            QStringLiteral("SELECT ") + m_rows->qualifier() + QStringLiteral(".rowid FROM ")
                + m_rows->fromItem() + QStringLiteral(" WHERE (") + s.where + QLatin1Char(')'));
        if (st.parameterCount() > 0)
            throw EngineError(err::TooFewParameters,
                QStringLiteral("Zu wenige Parameter. Erwartet: %1.").arg(st.parameterCount()));
        QSet<qint64> matches;
        while (st.step())
            matches.insert(st.int64(0));
        m_noMatch = true;
        Keyset& keys = *m_keys;
        for (qint64 i = start; keys.has(i); i += direction) {
            if (matches.contains(keys.at(i))) {
                beforeMove();
                setPosition(i);
                m_noMatch = false;
                return;
            }
        }
    });
}

void Recordset::findFirst(const QString& criteria)
{
    find(criteria, 0, 1);
}

void Recordset::findLast(const QString& criteria)
{
    find(criteria, m_keys->count() - 1, -1);
}

void Recordset::findNext(const QString& criteria)
{
    find(criteria, m_onDeleted ? m_pos : m_pos + 1, 1);
}

void Recordset::findPrevious(const QString& criteria)
{
    find(criteria, m_pos - 1, -1);
}

QList<QVariantList> Recordset::getRows(qint64 rows)
{
    requireOpen();
    QList<QVariantList> list;
    while (rows-- > 0 && !eof()) {
        list.append(currentRow());
        setPosition(m_pos + 1);
    }
    return list;
}

void Recordset::requery()
{
    requireOpen();
    beforeMove();
    if (m_rows->isCopy()) {
        // A copy is taken anew; clones keep the old one.
        openSource();
        return;
    }
    readKeys();
    if (m_keysPending) {
        m_keysPending = false;
        completeOpen();
        return;
    }
    m_onDeleted = false;
    m_pos = m_keys->empty() ? -1 : 0;
}

void Recordset::close()
{
    m_cache.reset();
    m_rows.reset();
    m_db = nullptr;
    m_connection = nullptr;
}

} // namespace kv::engine
