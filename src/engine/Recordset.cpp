#include "engine/Recordset.h"

#include "engine/Catalog.h"
#include "engine/Database.h"
#include "engine/DialectStatement.h"
#include "engine/Fehlerliste.h"
#include "engine/Keyset.h"
#include "engine/RowCache.h"
#include "engine/RuleTriggers.h"
#include "engine/Savepoint.h"
#include "engine/SqlTokens.h"
#include "engine/TableDef.h"
#include "engine/sql/Dialect.h"

#include <QSet>
#include <QtEndian>
#include <atomic>

namespace kv::engine {

namespace {
QString q(const QString& name)
{
    return Catalog::quote(name);
}

EngineError keinAktueller()
{
    return EngineError(err::NoCurrentRecord, QStringLiteral("Kein aktueller Datensatz."));
}

// Temporary copy of a result that is no keyset over a base table; dropped with the last clone.
struct Kopie {
    Database* db;
    QString name;
    ~Kopie()
    {
        try {
            if (db->isOpen())
                db->connection().exec(QStringLiteral("DROP TABLE IF EXISTS temp.") + q(name));
        } catch (const EngineError&) {
            // A closing database takes its temporary tables along.
        }
    }
};
} // namespace

struct RecordsetShared {
    std::shared_ptr<Kopie> kopie;
};

Recordset::~Recordset() = default;

std::unique_ptr<Recordset> Recordset::open(
    Database& db, const QString& source, int type, const QList<Parameter>& parameters)
{
    std::unique_ptr<Recordset> rs(new Recordset);
    rs->m_db = &db;
    rs->m_verbindung = &db.connection();
    rs->m_source = source;
    rs->m_type = type == dbOpenTable ? dbOpenDynaset : type;
    rs->m_parameters = parameters;
    rs->oeffne();
    return rs;
}

void Recordset::oeffne()
{
    sqlite3* h = m_db->connection().handle();
    DialectStatement ds(h, m_source, {}, m_parameters);
    ds.bind(m_parameters);
    m_parameterNames = ds.parameters();
    Statement& original = ds.statement();
    if (original.columnCount() == 0)
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Die Anweisung liefert keine Datensätze: %1").arg(m_source));

    const SimpleSelect teile = splitSimpleSelect(ds.sql());
    QString tabelle; // qualified base table for keys and rows
    if (teile.simple && (teile.schema.isEmpty() || teile.schema == QLatin1String("main"))) {
        const QString qualifiziert = m_db->catalog().qualifiedTable(teile.table);
        const bool verknuepft = !qualifiziert.startsWith(QLatin1String("\"main\"."));
        Statement art(h,
            QStringLiteral(
                "SELECT count(*) FROM main.sqlite_master WHERE type = 'table' AND name = "
                "?1 COLLATE NOCASE"));
        art.bind(1, QVariant(teile.table));
        art.step();
        if (verknuepft || art.int64(0) > 0)
            tabelle = qualifiziert;
    }
    bool keyset = false;
    m_ganzeTabelle.clear();
    if (!tabelle.isEmpty()) {
        m_qualifier = teile.qualifier;
        m_fromItem = tabelle + QStringLiteral(" AS ") + m_qualifier;
        m_selectList = teile.selectList;
        m_keySql = QStringLiteral("SELECT ") + m_qualifier + QStringLiteral(".rowid FROM ")
            + m_fromItem + (teile.rest.isEmpty() ? QString() : QLatin1Char(' ') + teile.rest);
        try {
            Statement probe(h, m_keySql);
            keyset = true;
            if (teile.rest.trimmed().isEmpty())
                m_ganzeTabelle = tabelle;
        } catch (const EngineError&) {
            keyset = false; // e.g. ORDER BY on a column alias: take a copy instead
        }
    }
    if (keyset) {
        m_baseTable = tabelle;
        m_updatable = m_type != dbOpenSnapshot && m_db->updatable();
    } else {
        static std::atomic<int> zaehler { 0 };
        m_snapshotTable = QStringLiteral("kvsnap_%1").arg(++zaehler);
        Statement kopie(h,
            QStringLiteral("CREATE TEMP TABLE ") + q(m_snapshotTable) + QStringLiteral(" AS ")
                + ds.sql());
        DialectStatement::bind(kopie, m_parameterNames, m_parameters);
        kopie.step();
        m_shared = std::make_shared<RecordsetShared>();
        m_shared->kopie = std::shared_ptr<Kopie>(new Kopie { m_db, m_snapshotTable });
        m_qualifier = q(m_snapshotTable);
        m_fromItem = QStringLiteral("temp.") + m_qualifier + QStringLiteral(" AS ") + m_qualifier;
        m_selectList = QStringLiteral("*");
        m_keySql = QStringLiteral("SELECT rowid FROM temp.") + m_qualifier
            + QStringLiteral(" ORDER BY rowid");
        m_updatable = false;
        m_type = dbOpenSnapshot;
    }
    m_rowSql = QStringLiteral("SELECT ") + m_selectList + QStringLiteral(", ") + m_qualifier
        + QStringLiteral(".rowid AS kv_rowid FROM ") + m_fromItem;

    // Fields: names and origins from the statement as written, types from the catalog.
    const int n = original.columnCount();
    m_fields.clear();
    m_spalten.clear();
    std::vector<int> typen;
    const QString basisName = teile.table;
    for (int i = 0; i < n; ++i) {
        auto f = std::make_unique<Field>(original.columnName(i));
        f->m_recordset = this;
        f->m_column = i;
        const QString herkunft = original.columnTable(i);
        const QString spalte = original.columnOrigin(i);
        const QString schema = original.columnDatabase(i);
        const Field* katalog = nullptr;
        if (!herkunft.isEmpty()) {
            for (TableDef* t : m_db->tableDefs().items()) {
                const bool passt = schema == QLatin1String("main")
                    ? t->name().compare(herkunft, Qt::CaseInsensitive) == 0
                    : (t->isAttached()
                        && t->sourceTableName().compare(herkunft, Qt::CaseInsensitive) == 0);
                if (passt) {
                    katalog = t->fields().find(spalte);
                    f->m_sourceTable = t->name();
                    break;
                }
            }
            if (f->m_sourceTable.isEmpty())
                f->m_sourceTable = herkunft;
            f->m_sourceField = spalte;
        }
        if (katalog) {
            f->m_type = katalog->type();
            f->m_size = katalog->size();
            f->m_attributes = katalog->attributes();
            f->m_defaultValue = katalog->defaultValue();
            f->m_required = katalog->required();
            f->m_allowZeroLength = katalog->allowZeroLength();
            f->m_validationRule = katalog->validationRule();
            f->m_validationText = katalog->validationText();
        } else if (!original.columnDeclType(i).isEmpty()) {
            datatype::fromDeclaredType(original.columnDeclType(i), f->m_type, f->m_size);
        } else {
            f->m_type = 0; // decided by the first value
        }
        f->m_ordinalPosition = i;
        const bool ausBasis = m_updatable && !herkunft.isEmpty()
            && (herkunft.compare(basisName, Qt::CaseInsensitive) == 0
                || tabelle.endsWith(QLatin1Char('.') + q(herkunft)))
            && !f->isAutoIncrement();
        f->m_dataUpdatable = ausBasis;
        if (f->isAutoIncrement() && m_updatable)
            f->m_attributes |= 0;
        m_spalten.push_back(Spalte { f->m_name, spalte, ausBasis });
        typen.push_back(f->m_type);
        m_fields.push_back(std::move(f));
    }
    m_cache = std::make_unique<RowCache>(h, m_rowSql, typen, m_parameterNames, m_parameters);
    ladeSchluessel();
    // Calculated columns take their type from the first value.
    bool offen = false;
    for (const auto& f : m_fields)
        offen = offen || f->m_type == 0;
    if (offen) {
        if (!m_keys->empty()) {
            if (m_cache->present(*m_keys, 0)) {
                for (size_t i = 0; i < m_fields.size(); ++i) {
                    Field& f = *m_fields[i];
                    if (f.m_type != 0)
                        continue;
                    switch (m_cache->value(*m_keys, 0, static_cast<int>(i)).typeId()) {
                    case QMetaType::LongLong:
                        f.m_type = dbLong;
                        break;
                    case QMetaType::Double:
                        f.m_type = dbDouble;
                        break;
                    case QMetaType::QByteArray:
                        f.m_type = dbLongBinary;
                        break;
                    default:
                        f.m_type = dbText;
                        f.m_size = 255;
                        break;
                    }
                    f.m_size = f.m_size ? f.m_size : datatype::defaultSize(f.m_type);
                }
            }
        }
        for (const auto& f : m_fields)
            if (f->m_type == 0) {
                f->m_type = dbText;
                f->m_size = 255;
            }
    }
    m_pos = m_keys->empty() ? -1 : 0;
}

void Recordset::ladeSchluessel()
{
    sqlite3* h = m_db->connection().handle();
    if (!m_ganzeTabelle.isEmpty()) {
        m_keys = std::make_shared<Keyset>(h, m_ganzeTabelle, m_qualifier);
    } else {
        std::vector<qint64> keys;
        Statement st(h, m_keySql);
        if (m_snapshotTable.isEmpty())
            DialectStatement::bind(st, m_parameterNames, m_parameters);
        while (st.step())
            keys.push_back(st.int64(0));
        m_keys = std::make_shared<Keyset>(std::move(keys));
    }
    m_cache->clear();
}

namespace {
[[noreturn, gnu::cold]] void geschlossen()
{
    throw EngineError(err::ObjectInvalid,
        QStringLiteral("Die Datensatzgruppe ist geschlossen; das Objekt ist ungültig."));
}
} // namespace

inline void Recordset::pruefeOffen() const
{
    if (!m_verbindung || !m_verbindung->isOpen()) [[unlikely]]
        geschlossen();
}

qint64 Recordset::recordCount() const
{
    pruefeOffen();
    return m_keys->size();
}

bool Recordset::eof() const
{
    pruefeOffen();
    if (m_aufGeloeschtem)
        return false;
    return !m_keys->has(m_pos < 0 ? 0 : m_pos);
}

bool Recordset::bof() const
{
    pruefeOffen();
    if (m_aufGeloeschtem)
        return false;
    return m_keys->empty() || m_pos < 0;
}

void Recordset::pruefeAktuell() const
{
    pruefeOffen();
    if (m_aufGeloeschtem)
        throw EngineError(err::RecordDeleted, QStringLiteral("Der Datensatz ist gelöscht."));
    if (m_pos < 0 || !m_keys->has(m_pos))
        throw keinAktueller();
}

void Recordset::vorBewegung()
{
    pruefeOffen();
    // Moving away drops an unsaved AddNew/Edit, as the old engine did.
    m_editMode = dbEditNone;
    m_puffer.clear();
}

void Recordset::setzePosition(qint64 position)
{
    m_aufGeloeschtem = false;
    if (position < 0)
        m_pos = -1;
    else if (m_keys->has(position))
        m_pos = position;
    else
        m_pos = m_keys->loaded(); // after the last key, which is now known
}

void Recordset::moveFirst()
{
    vorBewegung();
    if (m_keys->empty())
        throw keinAktueller();
    setzePosition(0);
}

void Recordset::moveLast()
{
    vorBewegung();
    if (m_keys->empty())
        throw keinAktueller();
    setzePosition(m_keys->size() - 1);
}

void Recordset::moveNext()
{
    vorBewegung();
    if (m_aufGeloeschtem) {
        setzePosition(m_pos); // already on the record after the deleted one
        return;
    }
    if (eof())
        throw keinAktueller();
    setzePosition(m_pos + 1);
}

void Recordset::movePrevious()
{
    vorBewegung();
    if (m_aufGeloeschtem) {
        setzePosition(m_pos - 1);
        return;
    }
    if (bof())
        throw keinAktueller();
    setzePosition(m_pos - 1);
}

void Recordset::move(qint64 rows, const QByteArray& start)
{
    vorBewegung();
    if (!start.isEmpty())
        setBookmark(start);
    if (rows == 0) {
        pruefeAktuell();
        return;
    }
    if (m_aufGeloeschtem && rows > 0)
        --rows;
    else if (m_pos < 0 || !m_keys->has(m_pos))
        throw keinAktueller();
    setzePosition(m_pos + rows);
}

QByteArray Recordset::bookmark() const
{
    pruefeAktuell();
    QByteArray b(8, Qt::Uninitialized);
    qToLittleEndian<qint64>(m_keys->at(m_pos), b.data());
    return b;
}

void Recordset::setBookmark(const QByteArray& bookmark)
{
    pruefeOffen();
    if (bookmark.size() != 8)
        throw EngineError(err::InvalidBookmark, QStringLiteral("Ungültiges Lesezeichen."));
    const qint64 key = qFromLittleEndian<qint64>(bookmark.constData());
    // The current position is the usual guess.
    const qint64 index = m_keys->indexOf(key, m_pos);
    if (index < 0)
        throw EngineError(err::InvalidBookmark, QStringLiteral("Ungültiges Lesezeichen."));
    vorBewegung();
    setzePosition(index);
}

qint64 Recordset::absolutePosition() const
{
    pruefeOffen();
    if (m_aufGeloeschtem || m_pos < 0 || !m_keys->has(m_pos))
        return -1;
    return m_pos;
}

void Recordset::setAbsolutePosition(qint64 position)
{
    pruefeOffen();
    if (!m_keys->has(position))
        throw EngineError(err::InvalidArgument,
            QStringLiteral("Ungültiges Argument: Position %1 liegt außerhalb der Datensätze.")
                .arg(position));
    vorBewegung();
    setzePosition(position);
}

Field& Recordset::field(int index)
{
    if (index < 0 || index >= fieldCount())
        throw EngineError::itemNotFound(QString::number(index));
    return *m_fields[static_cast<size_t>(index)];
}

Field& Recordset::field(const QString& name)
{
    for (const auto& f : m_fields)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return *f;
    // "[T].[F]" and "T.F" name a field by its origin.
    const QString ohne = QString(name).remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    for (const auto& f : m_fields)
        if (QString(f->sourceTable() + QLatin1Char('.') + f->sourceField())
                .compare(ohne, Qt::CaseInsensitive)
            == 0)
            return *f;
    throw EngineError::itemNotFound(name);
}

QList<Field*> Recordset::fields()
{
    QList<Field*> liste;
    for (const auto& f : m_fields)
        liste << f.get();
    return liste;
}

void Recordset::pruefeZeile() const
{
    pruefeAktuell();
    if (!m_cache->present(*m_keys, m_pos))
        throw EngineError(err::RecordDeleted, QStringLiteral("Der Datensatz ist gelöscht."));
}

QVariantList Recordset::aktuelleZeile() const
{
    pruefeZeile();
    return m_cache->values(*m_keys, m_pos);
}

QVariant Recordset::value(int index) const
{
    pruefeOffen();
    if (index < 0 || index >= fieldCount())
        throw EngineError::itemNotFound(QString::number(index));
    if (m_editMode != dbEditNone)
        return m_puffer.value(index);
    const RowCache::Cell* zeile = nullptr;
    if (m_aufGeloeschtem || m_pos < 0 || !m_keys->has(m_pos)
        || !(zeile = m_cache->row(*m_keys, m_pos))) [[unlikely]]
        pruefeZeile(); // throws the fitting error
    return m_cache->value(zeile, index);
}

QVariant Recordset::value(const QString& name) const
{
    return value(const_cast<Recordset*>(this)->field(name).m_column);
}

void Recordset::setValue(const QString& name, const QVariant& value)
{
    setValue(field(name).m_column, value);
}

void Recordset::setValue(int index, const QVariant& wert)
{
    pruefeOffen();
    Field& f = field(index);
    if (m_editMode == dbEditNone)
        throw EngineError(err::NoEdit,
            QStringLiteral("Aktualisieren oder Abbrechen ohne Hinzufügen oder Bearbeiten."));
    if (!f.m_dataUpdatable)
        throw EngineError(err::FieldNotUpdatable,
            QStringLiteral("Das Feld '%1' kann nicht aktualisiert werden.").arg(f.name()));
    const QVariant gespeichert = datatype::toStorage(wert, f.type());
    m_puffer[index] = datatype::fromStorage(gespeichert, f.type());
    m_geaendert[static_cast<size_t>(index)] = true;
}

QVariant Recordset::vorgabe(const Field& feld) const
{
    if (feld.defaultValue().trimmed().isEmpty())
        return QVariant();
    try {
        const QVariant roh = m_db->connection().scalar(
            QStringLiteral("SELECT ") + RuleTriggers::expression(feld.defaultValue()));
        return datatype::fromStorage(datatype::toStorage(roh, feld.type()), feld.type());
    } catch (const EngineError&) {
        return QVariant(); // the database applies what it can when the row is written
    }
}

void Recordset::addNew()
{
    pruefeOffen();
    if (!m_updatable)
        throw EngineError(err::NotSupported,
            QStringLiteral("Die Datensatzgruppe kann nicht aktualisiert werden."));
    m_puffer.clear();
    m_geaendert.assign(m_fields.size(), false);
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const Field& f = *m_fields[i];
        QVariant wert;
        if (f.isAutoIncrement() && !f.m_sourceField.isEmpty()) {
            // The next counter value, visible before Update as in the old engine.
            const QString tab = m_baseTable;
            const QString name = tab.section(QLatin1Char('.'), -1);
            const QString schema = tab.section(QLatin1Char('.'), 0, 0);
            const QString tabName
                = SqlTokens::unquote(name).replace(QLatin1String("'"), QLatin1String("''"));
            Connection& c = m_db->connection();
            qint64 seq = c.scalar(QStringLiteral("SELECT coalesce(max(rowid), 0) FROM %1").arg(tab))
                             .toLongLong();
            // Looked up by name in SQLite's schema, not by scanning it: a large database has
            // thousands of entries.
            if (c.scalar(QStringLiteral("SELECT count(*) FROM pragma_table_info('sqlite_sequence', "
                                        "'%1')")
                             .arg(SqlTokens::unquote(schema).replace(
                                 QLatin1String("'"), QLatin1String("''"))))
                    .toInt()
                > 0)
                seq = std::max(seq,
                    c.scalar(QStringLiteral("SELECT seq FROM %1.sqlite_sequence WHERE name = '%2'")
                                 .arg(schema, tabName))
                        .toLongLong());
            wert = QVariant(static_cast<int>(seq + 1));
            m_geaendert[i] = true;
        } else if (f.m_dataUpdatable) {
            wert = vorgabe(f);
            m_geaendert[i] = wert.isValid();
        }
        m_puffer.append(wert);
    }
    m_editMode = dbEditAdd;
}

void Recordset::edit()
{
    pruefeOffen();
    if (!m_updatable)
        throw EngineError(err::NotSupported,
            QStringLiteral("Die Datensatzgruppe kann nicht aktualisiert werden."));
    m_puffer = aktuelleZeile();
    m_geaendert.assign(m_fields.size(), false);
    m_editKey = m_keys->at(m_pos);
    m_editMode = dbEditInProgress;
}

void Recordset::cancelUpdate()
{
    pruefeOffen();
    if (m_editMode == dbEditNone)
        throw EngineError(err::NoEdit,
            QStringLiteral("Aktualisieren oder Abbrechen ohne Hinzufügen oder Bearbeiten."));
    m_editMode = dbEditNone;
    m_puffer.clear();
}

namespace {
// A clone shares the keys until it changes them.
void eigeneSchluessel(std::shared_ptr<Keyset>& keys)
{
    if (keys.use_count() > 1)
        keys = keys->copy();
}
} // namespace

void Recordset::update()
{
    merkeFehler([&] {
        pruefeOffen();
        if (m_editMode == dbEditNone)
            throw EngineError(err::NoEdit,
                QStringLiteral("Aktualisieren oder Abbrechen ohne Hinzufügen oder Bearbeiten."));
        Connection& c = m_db->connection();
        QStringList spalten;
        QList<QVariant> werte;
        for (size_t i = 0; i < m_fields.size(); ++i) {
            if (!m_geaendert[i] || m_spalten[i].sourceField.isEmpty())
                continue;
            if (!m_fields[i]->m_dataUpdatable && !m_fields[i]->isAutoIncrement())
                continue;
            spalten << q(m_spalten[i].sourceField);
            werte << datatype::toStorage(m_puffer[static_cast<int>(i)], m_fields[i]->type());
        }
        Savepoint sp(c);
        qint64 key = m_editKey;
        if (m_editMode == dbEditAdd) {
            // A half-read set would read the new row again.
            m_keys->readAll();
            QString sql = QStringLiteral("INSERT INTO ") + m_baseTable;
            if (spalten.isEmpty()) {
                sql += QStringLiteral(" DEFAULT VALUES");
            } else {
                QStringList platz;
                for (int i = 1; i <= spalten.size(); ++i)
                    platz << QStringLiteral("?%1").arg(i);
                sql += QStringLiteral(" (") + spalten.join(QStringLiteral(", "))
                    + QStringLiteral(") VALUES (") + platz.join(QStringLiteral(", "))
                    + QLatin1Char(')');
            }
            // Prepared once for a run of AddNew: the rules' triggers make preparing dear.
            const std::shared_ptr<Statement> st = c.cached(sql);
            for (int i = 0; i < werte.size(); ++i)
                st->bind(i + 1, werte[i]);
            st->step();
            key = c.lastInsertRowid();
        } else if (!spalten.isEmpty()) {
            QStringList setzen;
            for (int i = 0; i < spalten.size(); ++i)
                setzen << spalten[i] + QStringLiteral(" = ?%1").arg(i + 1);
            const std::shared_ptr<Statement> st = c.cached(QStringLiteral("UPDATE ") + m_baseTable
                + QStringLiteral(" SET ") + setzen.join(QStringLiteral(", "))
                + QStringLiteral(" WHERE rowid = ?%1").arg(spalten.size() + 1));
            for (int i = 0; i < werte.size(); ++i)
                st->bind(i + 1, werte[i]);
            st->bind(static_cast<int>(werte.size()) + 1, key);
            st->step();
        }
        sp.release();
        if (m_editMode == dbEditAdd) {
            // New records join the end of the set.
            eigeneSchluessel(m_keys);
            m_keys->append(key);
            m_cache->forgetFrom(m_keys->loaded() - 1);
        } else {
            m_cache->refreshRow(*m_keys, m_pos);
        }
        QByteArray b(8, Qt::Uninitialized);
        qToLittleEndian<qint64>(key, b.data());
        m_lastModified = b;
        m_editMode = dbEditNone;
        m_puffer.clear();
    });
}

void Recordset::remove()
{
    merkeFehler([&] {
        pruefeAktuell();
        if (!m_updatable)
            throw EngineError(err::NotSupported,
                QStringLiteral("Die Datensatzgruppe kann nicht aktualisiert werden."));
        m_editMode = dbEditNone;
        const qint64 key = m_keys->at(m_pos);
        Statement st(m_db->connection().handle(),
            QStringLiteral("DELETE FROM ") + m_baseTable + QStringLiteral(" WHERE rowid = ?1"));
        st.bind(1, key);
        st.step();
        eigeneSchluessel(m_keys);
        m_keys->erase(m_pos);
        m_cache->removeRow(m_pos);
        m_aufGeloeschtem = true;
    });
}

std::unique_ptr<Recordset> Recordset::clone() const
{
    pruefeOffen();
    std::unique_ptr<Recordset> rs(new Recordset);
    rs->m_db = m_db;
    rs->m_verbindung = m_verbindung;
    rs->m_source = m_source;
    rs->m_parameters = m_parameters;
    rs->m_type = m_type;
    rs->m_updatable = m_updatable;
    rs->m_keySql = m_keySql;
    rs->m_rowSql = m_rowSql;
    rs->m_selectList = m_selectList;
    rs->m_fromItem = m_fromItem;
    rs->m_qualifier = m_qualifier;
    rs->m_baseTable = m_baseTable;
    rs->m_snapshotTable = m_snapshotTable;
    rs->m_ganzeTabelle = m_ganzeTabelle;
    rs->m_shared = m_shared;
    rs->m_parameterNames = m_parameterNames;
    rs->m_keys = m_keys;
    std::vector<int> typen;
    for (const auto& f : m_fields) {
        auto kopie = std::make_unique<Field>(*f);
        kopie->m_recordset = rs.get();
        typen.push_back(f->m_type);
        rs->m_fields.push_back(std::move(kopie));
    }
    rs->m_spalten = m_spalten;
    rs->m_cache = std::make_unique<RowCache>(
        m_db->connection().handle(), m_rowSql, typen, m_parameterNames, m_parameters);
    rs->m_pos = -1;
    return rs;
}

void Recordset::find(const QString& criteria, qint64 start, int richtung)
{
    merkeFehler([&] {
        pruefeOffen();
        // The condition in SQLite terms: translated inside a statement of its own.
        const QString praefix = QStringLiteral("SELECT * FROM kv_suche WHERE ");
        const QString uebersetzt = sql::translate(praefix + criteria).sql;
        const qsizetype wo = uebersetzt.indexOf(QLatin1String(" WHERE "), 0, Qt::CaseInsensitive);
        if (wo < 0)
            throw EngineError(err::SyntaxError,
                QStringLiteral("Syntaxfehler im Suchkriterium '%1'.").arg(criteria));
        const QString bedingung = uebersetzt.mid(wo + 7);
        Statement st(m_db->connection().handle(),
            QStringLiteral("SELECT ") + m_qualifier + QStringLiteral(".rowid FROM ") + m_fromItem
                + QStringLiteral(" WHERE (") + bedingung + QLatin1Char(')'));
        if (st.parameterCount() > 0)
            throw EngineError(err::TooFewParameters,
                QStringLiteral("Zu wenige Parameter. Erwartet: %1.").arg(st.parameterCount()));
        QSet<qint64> treffer;
        while (st.step())
            treffer.insert(st.int64(0));
        m_noMatch = true;
        Keyset& keys = *m_keys;
        for (qint64 i = start; keys.has(i); i += richtung) {
            if (treffer.contains(keys.at(i))) {
                vorBewegung();
                setzePosition(i);
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
    find(criteria, m_keys->size() - 1, -1);
}

void Recordset::findNext(const QString& criteria)
{
    find(criteria, m_aufGeloeschtem ? m_pos : m_pos + 1, 1);
}

void Recordset::findPrevious(const QString& criteria)
{
    find(criteria, m_pos - 1, -1);
}

QList<QVariantList> Recordset::getRows(qint64 rows)
{
    pruefeOffen();
    QList<QVariantList> liste;
    while (rows-- > 0 && !eof()) {
        liste.append(aktuelleZeile());
        setzePosition(m_pos + 1);
    }
    return liste;
}

void Recordset::requery()
{
    pruefeOffen();
    vorBewegung();
    if (!m_snapshotTable.isEmpty()) {
        // A copy is taken anew; clones keep the old one.
        oeffne();
        return;
    }
    ladeSchluessel();
    m_aufGeloeschtem = false;
    m_pos = m_keys->empty() ? -1 : 0;
}

void Recordset::close()
{
    m_cache.reset();
    m_shared.reset();
    m_db = nullptr;
    m_verbindung = nullptr;
}

} // namespace kv::engine
