#include "engine/sql/Dialect.h"

#include "engine/sql/Collation.h"
#include "engine/sql/FunctionLibrary.h"
#include "engine/sql/Translator.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqliteApi.h"

namespace kv::engine::sql {

Translation translate(const QString& dialectSql, const QStringList& parameterNames)
{
    return translate(dialectSql, parameterNames, TranslateContext());
}

Translation translate(
    const QString& dialectSql, const QStringList& parameterNames, const TranslateContext& context)
{
    return Translator(dialectSql, parameterNames, context).statement();
}

Translation translateExpression(const QString& expression, const QString& fieldName)
{
    const TranslateContext none;
    return Translator(expression, {}, none).expression(fieldName);
}

void registerFunctions(sqlite3* db)
{
    // Double quotes are strings in the dialect and identifiers after translation; a misspelt
    // identifier must fail instead of turning into a string.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    registerCollation(db);
    registerTextFunctions(db);
    registerNumberFunctions(db);
    registerDateFunctions(db);
    registerAggregates(db);
    registerDisplayFunctions(db);
    registerFinancialFunctions(db);
}

void openConnection(Connection& connection, const QString& path, OpenMode mode)
{
    connection.open(path, mode);
    registerFunctions(connection.handle());
}

} // namespace kv::engine::sql
