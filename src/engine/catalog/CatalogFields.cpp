#include "engine/catalog/Catalog.h"

#include "engine/catalog/CatalogTables.h"
#include "engine/catalog/CatalogText.h"
#include "engine/catalog/RuleTriggers.h"
#include "engine/catalog/SchemaSql.h"
#include "engine/catalog/TableRebuild.h"
#include "engine/core/EngineError.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqlText.h"

#include <QPair>

// The fields of stored tables.

namespace kv::engine {

using namespace catalogtext;

void Catalog::writeFieldRow(const QString& table, const FieldDefinition& f)
{
    Statement st(m_db.handle(),
        QStringLiteral("INSERT OR REPLACE INTO MSysKvFields(TableName, Name, Type, Size, "
                       "Attributes, DefaultValue, Required, AllowZeroLength, ValidationRule, "
                       "ValidationText, OrdinalPosition) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, "
                       "?9, ?10, ?11)"));
    st.bind(1, QVariant(table));
    st.bind(2, QVariant(f.name));
    st.bind(3, qint64(f.type));
    st.bind(4, qint64(f.size));
    st.bind(5, qint64(f.attributes));
    st.bind(6, QVariant(f.defaultValue));
    st.bind(7, qint64(f.required ? 1 : 0));
    st.bind(8, qint64(f.allowZeroLength ? 1 : 0));
    st.bind(9, QVariant(f.validationRule));
    st.bind(10, QVariant(f.validationText));
    st.bind(11, qint64(f.ordinalPosition));
    st.step();
}

void Catalog::writeMissingFieldRows(const QString& table)
{
    // A rebuild keeps only fields with a row; columns made by SQL have none yet.
    for (const FieldDefinition& f : m_reader.fields(table)) {
        Statement st(m_db.handle(),
            QStringLiteral("SELECT count(*) FROM MSysKvFields WHERE TableName = ?1 AND Name = ?2"));
        st.bind(1, QVariant(table));
        st.bind(2, QVariant(f.name));
        st.step();
        if (st.int64(0) == 0)
            writeFieldRow(table, f);
    }
}

void Catalog::checkField(const FieldDefinition& f)
{
    if (f.name.trimmed().isEmpty())
        throw EngineError(err::SyntaxError, QStringLiteral("Ungültiger (leerer) Feldname."));
    if (f.isAutoIncrement() && f.type != dbLong)
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Nur ein Feld vom Typ Long kann ein Automatikwert sein ('%1').")
                .arg(f.name));
    if (f.type == dbText && (f.size < 0 || f.size > 255))
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Die Feldgröße von '%1' muss zwischen 0 und 255 liegen.").arg(f.name));
}

void Catalog::addField(const QString& table, FieldDefinition& field)
{
    checkField(field);
    m_change.run(
        [&] {
            writeMissingFieldRows(table);
            int highest = -1;
            for (const FieldDefinition& f : m_reader.fields(table)) {
                if (sameName(f.name, field.name))
                    throw EngineError(err::NameExists,
                        QStringLiteral("Das Feld '%1' ist bereits vorhanden.").arg(field.name));
                if (field.isAutoIncrement() && f.isAutoIncrement())
                    throw EngineError(err::InvalidOperation,
                        QStringLiteral("Eine Tabelle kann nur ein Feld mit Automatikwert haben."));
                highest = std::max(highest, f.ordinalPosition);
            }
            if (field.ordinalPosition <= 0)
                field.ordinalPosition = highest + 1;
            writeFieldRow(table, field);
            if (field.isAutoIncrement() || !field.defaultValue.trimmed().isEmpty())
                rebuildTable(m_db, m_reader, table);
            else
                m_db.exec(QStringLiteral("ALTER TABLE ") + quoteIdentifier(table)
                    + QStringLiteral(" ADD COLUMN ") + columnDefinition(field));
            touchTable(m_db, table);
        },
        ChangeScope::Tables, { table });
}

void Catalog::dropField(const QString& table, const QString& name)
{
    m_change.run(
        [&] {
            writeMissingFieldRows(table);
            {
                Statement ix(m_db.handle(),
                    QStringLiteral("SELECT Name, Fields FROM MSysKvIndexes WHERE TableName = ?1"));
                ix.bind(1, QVariant(table));
                while (ix.step())
                    for (const IndexField& f : indexFields(ix.value(1).toString()))
                        if (sameName(f.name, name))
                            throw EngineError(err::FieldInUse,
                                QStringLiteral("Das Feld '%1' ist Teil des Index '%2' und kann "
                                               "nicht gelöscht werden.")
                                    .arg(name, ix.value(0).toString()));
            }
            for (const RelationDefinition& r : m_reader.relations())
                for (const RelationField& f : r.fields)
                    if ((sameName(r.table, table) && sameName(f.name, name))
                        || (sameName(r.foreignTable, table) && sameName(f.foreignName, name)))
                        throw EngineError(err::FieldInUse,
                            QStringLiteral(
                                "Das Feld '%1' ist Teil der Beziehung '%2' und kann nicht "
                                "gelöscht werden.")
                                .arg(name, r.name));
            const std::vector<FieldDefinition> fields = m_reader.fields(table);
            if (fields.size() <= 1)
                throw EngineError(err::NoFields,
                    QStringLiteral("Das letzte Feld der Tabelle '%1' kann nicht gelöscht werden.")
                        .arg(table));
            bool counter = false;
            for (const FieldDefinition& f : fields)
                if (sameName(f.name, name))
                    counter = f.isAutoIncrement();
            Statement st(m_db.handle(),
                QStringLiteral("DELETE FROM MSysKvFields WHERE TableName = ?1 AND Name = ?2"));
            st.bind(1, QVariant(table));
            st.bind(2, QVariant(name));
            st.step();
            if (counter)
                rebuildTable(m_db, m_reader, table); // the rowid alias cannot be dropped in place
            else
                m_db.exec(QStringLiteral("ALTER TABLE ") + quoteIdentifier(table)
                    + QStringLiteral(" DROP COLUMN ") + quoteIdentifier(name));
            touchTable(m_db, table);
        },
        ChangeScope::Tables, { table });
}

namespace {
// The index and relation rows that name a renamed field follow the new name.
void renameFieldInLists(Connection& db, const CatalogReader& reader, const QString& table,
    const QString& oldName, const QString& newName)
{
    Statement ix(
        db.handle(), QStringLiteral("SELECT Name, Fields FROM MSysKvIndexes WHERE TableName = ?1"));
    ix.bind(1, QVariant(table));
    QList<QPair<QString, QString>> indexes;
    while (ix.step()) {
        QList<IndexField> fields = indexFields(ix.value(1).toString());
        for (IndexField& f : fields)
            if (sameName(f.name, oldName))
                f.name = newName;
        indexes.append({ ix.value(0).toString(), indexFieldsText(fields) });
    }
    for (const auto& [name, text] : indexes) {
        Statement up(db.handle(),
            QStringLiteral(
                "UPDATE MSysKvIndexes SET Fields = ?3 WHERE TableName = ?1 AND Name = ?2"));
        up.bind(1, QVariant(table));
        up.bind(2, QVariant(name));
        up.bind(3, QVariant(text));
        up.step();
    }
    for (const RelationDefinition& r : reader.relations()) {
        QList<RelationField> fields = r.fields;
        bool changed = false;
        for (RelationField& f : fields) {
            if (sameName(r.table, table) && sameName(f.name, oldName)) {
                f.name = newName;
                changed = true;
            }
            if (sameName(r.foreignTable, table) && sameName(f.foreignName, oldName)) {
                f.foreignName = newName;
                changed = true;
            }
        }
        if (changed) {
            Statement up(db.handle(),
                QStringLiteral("UPDATE MSysKvRelations SET Fields = ?2 WHERE Name = ?1"));
            up.bind(1, QVariant(r.name));
            up.bind(2, QVariant(relationFieldsText(fields)));
            up.step();
        }
    }
}
} // namespace

void Catalog::updateField(
    const QString& table, const FieldDefinition& old, const FieldDefinition& changed)
{
    if (old.type != changed.type || old.size != changed.size
        || old.attributes != changed.attributes)
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Typ, Größe und Attribute des gespeicherten Feldes '%1' können nicht "
                           "geändert werden.")
                .arg(old.name));
    m_change.run(
        [&] {
            writeMissingFieldRows(table);
            if (old.name != changed.name) {
                for (const FieldDefinition& f : m_reader.fields(table))
                    if (sameName(f.name, changed.name) && !sameName(old.name, changed.name))
                        throw EngineError(err::NameExists,
                            QStringLiteral("Das Feld '%1' ist bereits vorhanden.")
                                .arg(changed.name));
                m_db.exec(QStringLiteral("ALTER TABLE ") + quoteIdentifier(table)
                    + QStringLiteral(" RENAME COLUMN ") + quoteIdentifier(old.name)
                    + QStringLiteral(" TO ") + quoteIdentifier(changed.name));
                Statement del(m_db.handle(),
                    QStringLiteral("DELETE FROM MSysKvFields WHERE TableName = ?1 AND Name = ?2"));
                del.bind(1, QVariant(table));
                del.bind(2, QVariant(old.name));
                del.step();
                renameFieldInLists(m_db, m_reader, table, old.name, changed.name);
            }
            writeFieldRow(table, changed);
            if (old.defaultValue != changed.defaultValue)
                rebuildTable(m_db, m_reader, table);
            touchTable(m_db, table);
        },
        ChangeScope::Tables, { table });
}

void Catalog::replaceField(const QString& table, const FieldDefinition& changed,
    const QString& source, const std::function<void()>& rowsCopied,
    const std::function<void()>& copied)
{
    checkField(changed);
    m_change.run(
        [&] {
            writeMissingFieldRows(table);
            bool found = false;
            for (const FieldDefinition& f : m_reader.fields(table)) {
                found = found || sameName(f.name, changed.name);
                if (changed.isAutoIncrement() && f.isAutoIncrement()
                    && !sameName(f.name, changed.name))
                    throw EngineError(err::InvalidOperation,
                        QStringLiteral("Eine Tabelle kann nur ein Feld mit Automatikwert haben."));
            }
            if (!found)
                throw EngineError::itemNotFound(changed.name);
            writeFieldRow(table, changed);
            rebuildTable(m_db, m_reader, table, { { changed.name.toLower(), source } }, rowsCopied);
            if (copied)
                copied();
            // The copy ran without the rule triggers; the new values are checked all at once.
            checkStoredValues(table, changed);
            touchTable(m_db, table);
        },
        ChangeScope::Tables, { table });
}

void Catalog::checkStoredValues(const QString& table, const FieldDefinition& field)
{
    bool inRequiredIndex = false;
    for (const IndexDefinition& ix : m_reader.indexes(table))
        for (const IndexField& f : ix.fields)
            inRequiredIndex = inRequiredIndex || (ix.isRequired() && sameName(f.name, field.name));
    for (const RuleTriggers::FieldRule& rule :
        RuleTriggers::fieldRules(table, field, inRequiredIndex, quoteIdentifier(field.name)))
        if (m_db.scalar(QStringLiteral("SELECT 1 FROM %1 WHERE %2 LIMIT 1")
                            .arg(quoteIdentifier(table), rule.violated))
                .isValid())
            throw EngineError(rule.number, rule.text);
    for (const RelationDefinition& r : m_reader.relations()) {
        bool affected = false;
        for (const RelationField& f : r.fields)
            affected = affected || (sameName(r.table, table) && sameName(f.name, field.name))
                || (sameName(r.foreignTable, table) && sameName(f.foreignName, field.name));
        if (affected && r.enforced() && hasOrphans(r))
            throw EngineError(err::IntegrityChild,
                QStringLiteral("Die neuen Werte des Feldes '%1' verletzen die referentielle "
                               "Integrität der Beziehung '%2'.")
                    .arg(field.name, r.name));
    }
}

} // namespace kv::engine
