#pragma once

#include "masks/Elementeinstellungen.h"

#include <memory>

namespace kv {

namespace engine {
class Database;
class QueryDef;
class Recordset;
} // namespace engine

/// The rows a table element shows for the current main record: its statement, " WHERE ", the
/// sub-table field, " = " and the main record's value, then " ORDER BY " and the sort order when
/// there is one. The value is bound as a parameter, so a text with quotes selects the rows that
/// carry exactly that text; an empty value selects none.
class Untertabellenabfrage {
public:
    Untertabellenabfrage(engine::Database& db, const TabellenelementEinstellungen& e);

    /// The statement with the parameter in place of the value.
    const QString& anweisung() const { return m_anweisung; }
    /// Opens the rows for the main record's value. Throws engine::EngineError.
    std::unique_ptr<engine::Recordset> oeffne(const QVariant& hauptwert);

    /// Name of the parameter that takes the main record's value.
    static const QString& parametername();

private:
    engine::Database& m_db;
    QString m_anweisung;
    engine::QueryDef* m_abfrage = nullptr;
};

} // namespace kv
