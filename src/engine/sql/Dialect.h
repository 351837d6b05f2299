#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <optional>

struct sqlite3;

namespace kv::engine {
class Connection;
enum class OpenMode;
} // namespace kv::engine

namespace kv::engine::sql {

/// What a statement does; the engine picks its way of running it by this.
enum class StatementKind {
    Select,
    Crosstab, ///< TRANSFORM … PIVOT, already expanded to one column per pivot value
    Union,
    Append, ///< INSERT INTO
    Update,
    Delete,
    MakeTable, ///< SELECT … INTO; sql is CREATE TABLE … AS, selectSql fills an own table
    CreateTable,
    AlterTable,
    AlterColumn, ///< ALTER TABLE … ALTER COLUMN: the engine replaces the field (sql does nothing)
    CreateIndex,
    Drop,
};

/// A database file named with IN '<file>' ['<connect>']. The engine attaches it under alias
/// before running sql; a non-empty connect (a foreign format) is the engine's to refuse or serve.
struct ExternalReference {
    QString alias; ///< schema name used in sql, "kvext1", "kvext2", …
    QString path;
    QString connect;
};

/// How a statement uses a table named with IN: read it, change its rows, or make it new.
enum class ExternalAccess { Read, Write, Create };

/// A parameter declared with PARAMETERS name type.
struct DeclaredParameter {
    QString name;
    QString typeName; ///< as written, e.g. "Text", "DateTime", "Long"
};

/// A SELECT that reads one table (no join, subquery or stored query in FROM) and gives one row
/// per row of it (no DISTINCT, GROUP BY, HAVING, UNION or aggregate in its list), taken
/// apart so that the engine can build a keyset over it without reading SQL again. table is
/// empty when the statement is not such a SELECT.
struct SingleTableSelect {
    QString table; ///< unquoted
    QString schema; ///< the external alias of IN '<file>', empty for the database's own tables
    QString qualifier; ///< the alias, else the table name (unquoted)
    QString list; ///< the select list
    QString where; ///< the condition without WHERE; empty when there is none
    QString rest; ///< "WHERE … ORDER BY … LIMIT …" as far as present (TOP becomes LIMIT)
    QString order; ///< " ORDER BY …" of rest; empty when there is none
    bool limited = false; ///< rest ends with a LIMIT (TOP)
};

/// Result of turning one desktop-dialect statement into SQLite SQL.
struct Translation {
    QString sql;
    /// Parameter names in the order of their placeholders ?1, ?2, … in sql; a name used twice
    /// keeps its number.
    QStringList parameters;
    StatementKind kind = StatementKind::Select;
    /// Target table of INSERT, UPDATE, DELETE, SELECT … INTO and DDL (unquoted); targetSchema
    /// is its external alias or empty.
    QString target;
    QString targetSchema;
    /// Make-table and append: the SELECT that yields the new rows (the same placeholders as sql).
    QString selectSql;
    /// INSERT INTO … SELECT without a column list: the dialect fills the target's columns by the
    /// SELECT's column names (case-insensitive), which only the schema can tell; sql fills them
    /// by position.
    bool appendByName = false;
    QList<ExternalReference> externals;
    QList<DeclaredParameter> declared;
    /// ALTER TABLE ADD: a column declared COUNTER/AUTOINCREMENT, which SQLite cannot add in
    /// place (in CREATE TABLE it becomes SQLite's own INTEGER PRIMARY KEY AUTOINCREMENT).
    QStringList autoIncrementColumns;
    /// ALTER TABLE … ALTER COLUMN: the field (unquoted) and its new declared type.
    QString column;
    QString columnType;
    /// CREATE INDEX … WITH PRIMARY / DISALLOW NULL / IGNORE NULL, upper case.
    QStringList indexOptions;
    /// CREATE INDEX and DROP INDEX: the index (unquoted); target is its table where named.
    QString index;
    /// Select: the shape a keyset can be built over, when it has it.
    SingleTableSelect singleTable;
};

/// Gives the schema of a table named with IN (see TranslateContext::externalSchema).
using ExternalSchema
    = std::function<QString(const ExternalReference& ref, const QString& table, ExternalAccess)>;

/// Services the engine lends the rewriter.
struct TranslateContext {
    /// Runs a translated SELECT (its parameters named as in Translation::parameters, numbered
    /// placeholders that sql does not use need no value) and returns its first column; needed for
    /// the pivot values of a crosstab without IN list.
    /// declared: the PARAMETERS declarations read so far, whose types the values take.
    std::function<QVariantList(const QString& sql, const QStringList& parameters,
        const QList<DeclaredParameter>& declared)>
        firstColumn;
    /// The SQL text of a stored query of that name, used as a table; nullopt when none.
    std::function<std::optional<QString>(const QString& name)> storedQuery;
    /// The schema under which the engine has made table of the referenced file reachable;
    /// without it references are named kvext1, kvext2, … and left to the caller.
    ExternalSchema externalSchema;
};

/// The single entry point every statement text passes through before SQLite sees it.
/// parameterNames: names that are to be treated as parameters (declared with PARAMETERS or
/// found unresolved by the engine, case-insensitive); they become numbered placeholders.
/// Throws EngineError (err::SyntaxError, German description with position) on text the
/// dialect cannot read.
///
/// Declared column types of DDL (the engine's type codes survive in them):
/// TEXT(n)/VARCHAR(n)/CHAR(n) → VARCHAR(n) COLLATE KVDE (TEXT without size: 255),
/// MEMO/LONGTEXT → LONGTEXT COLLATE KVDE, LONG/INTEGER/INT → INTEGER, SHORT/SMALLINT → SMALLINT,
/// BYTE/TINYINT → TINYINT, CURRENCY/MONEY → CURRENCY, SINGLE/REAL → REAL,
/// DOUBLE/FLOAT/NUMBER → DOUBLE, DATETIME/DATE/TIME → DATETIME, YESNO/BIT/LOGICAL → YESNO,
/// COUNTER/AUTOINCREMENT → INTEGER PRIMARY KEY AUTOINCREMENT (see autoIncrementColumns),
/// LONGBINARY/OLEOBJECT → LONGBINARY, BINARY(n) → BINARY(n), GUID → GUID.
///
/// Values: dates are ISO text "yyyy-MM-dd HH:mm:ss" (time-only values on 1899-12-30), True -1.
/// + and - on operands not known to be numbers go through kv_add/kv_sub, which do date
/// arithmetic in days when one operand is ISO date text (decided per value at run time).
/// Name LIKE 'abc*' on a plain column becomes a range in the KVDE collation plus kv_like, so an
/// index on the column serves it.
///
/// Comparisons and logical operators stay SQLite's own in conditions (WHERE, ON, HAVING, IIf),
/// so indexes serve them; where their value is observed (select list, SET, VALUES, ORDER BY,
/// GROUP BY, operands and function arguments) they become the dialect's -1/0.
///
/// TOP n [PERCENT] with ORDER BY includes the rows tied with the last one: a LIMIT subquery
/// takes the first n rows in the key order and counts the n-th row's equals among all rows (one
/// more pass over the rows unless an index on the key serves both); PERCENT ranks all rows.
/// Without ORDER BY, TOP is a plain LIMIT.
///
/// Known differences: INSERT INTO t SELECT without a column list fills columns by position here
/// (the engine matches names, see Translation::appendByName); ALTER COLUMN and ADD/DROP
/// CONSTRAINT are refused (err::InvalidOperation); Not, And and Or work on truth values, not
/// bitwise on numbers.
Translation translate(const QString& dialectSql, const QStringList& parameterNames = {});
Translation translate(
    const QString& dialectSql, const QStringList& parameterNames, const TranslateContext& context);

/// A field-level expression of the catalog: a default value ("Date()", "=0", "\"Bonn\"") or,
/// with fieldName set, a validation rule written with the field implied (">0 And <100",
/// "Like \"A*\"", "Is Not Null") → a SQLite expression.
Translation translateExpression(const QString& expression, const QString& fieldName = {});

/// Registers the collation, LIKE and the function library on a connection. Call once per
/// connection right after it is opened.
void registerFunctions(sqlite3* db);

/// Opens connection on the file and registers the dialect on it: every connection of the engine
/// is opened so, since text columns are declared with the dialect's collation.
void openConnection(Connection& connection, const QString& path, OpenMode mode);

/// Name of the German, case-insensitive collation that text columns are declared with.
inline constexpr const char* CollationName = "KVDE";

} // namespace kv::engine::sql
