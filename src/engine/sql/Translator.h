#pragma once

#include "engine/sql/Dialect.h"
#include "engine/sql/FunctionCatalog.h"
#include "engine/sql/Lexer.h"

#include <QHash>

namespace kv::engine::sql {

/// Recursive-descent rewriter from dialect tokens to SQLite SQL. Statements are handled in
/// Translator.cpp, expressions in TranslatorExpressions.cpp, DDL in TranslatorDdl.cpp.
class Translator {
public:
    Translator(
        const QString& text, const QStringList& parameterNames, const TranslateContext& context);

    Translation statement();
    /// A field-level expression; fieldName non-empty makes comparisons without left operand
    /// compare that field.
    Translation expression(const QString& fieldName);

    /// SQLite's operator precedence, loosest first; an operand is parenthesised when its own
    /// operator binds looser than the one it is put under.
    enum Precedence {
        OrLevel = 20,
        AndLevel = 30,
        NotLevel = 40,
        EqualityLevel = 45, // = <> IS IN LIKE BETWEEN
        ComparisonLevel = 50, // < <= > >=
        AdditiveLevel = 60,
        MultiplicativeLevel = 70,
        ConcatLevel = 80,
        UnaryLevel = 90,
        Atomic = 100,
    };

    struct Expr {
        Expr() = default;
        Expr(QString s, ValueKind k = ValueKind::Unknown, int p = Atomic, bool c = false)
            : sql(std::move(s))
            , kind(k)
            , prec(p)
            , column(c)
        { }
        QString sql;
        ValueKind kind = ValueKind::Unknown;
        int prec = Atomic;
        bool column = false; ///< a plain column reference
        bool stringLiteral = false;
        QString value; ///< the text of a string literal
        /// SQLite's 1/0 of a comparison or logical operator; the dialect's True is -1, so where
        /// the value is observed (not merely tested) it goes through asValue().
        bool truth = false;
        /// A Currency value (CCur or Currency arithmetic): + - * on it are exact.
        bool currency = false;
    };

private:
    /// One term of an ORDER BY, translated.
    struct OrderKey {
        QString sql;
        bool descending = false;
    };

    /// A plain table in FROM (not a subquery or stored query), as written.
    struct SourceTable {
        QString name; ///< empty when FROM holds anything else
        QString schema;
        QString alias;
    };

    /// The clauses of one SELECT, translated.
    struct SelectParts {
        QString distinct;
        QString list;
        QHash<QString, QString> aliases; ///< lower-case column alias → its expression
        QString from;
        QString where;
        QString groupBy;
        QString having;
        QString top;
        bool percent = false;
        SourceTable single; ///< FROM when it is one plain table
        bool aggregates = false; ///< the list calls an aggregate
        QString core() const;
        /// The LIMIT of TOP; with the ORDER BY's keys it also takes the rows tied with the last.
        QString limit(const QList<OrderKey>& keys = {}) const;
    };

    // tokens
    const Token& peek(int ahead = 0) const;
    const Token& next();
    bool acceptKeyword(QStringView word);
    bool acceptSymbol(QStringView symbol);
    void expectKeyword(QStringView word);
    void expectSymbol(QStringView symbol);
    [[noreturn]] void unexpected(const QString& wanted = QString()) const;
    bool atClauseEnd() const;
    static bool isReserved(const Token& t);

    // statements
    void parameters();
    QString select(bool topLevel);
    SelectParts selectCore(bool topLevel);
    /// Notes the top-level SELECT's shape when it reads one table row by row.
    void singleTable(const SelectParts& parts, const QString& order, const QString& limit);
    QString selectList(QHash<QString, QString>& aliases);
    QString fromList(SourceTable* single = nullptr);
    QString fromItem(SourceTable* table = nullptr);
    /// plainName and schema receive the name as written and keep a stored query from being
    /// read in place; table receives a plain table.
    QString tableReference(
        QString* plainName = nullptr, QString* schema = nullptr, SourceTable* table = nullptr);
    /// Reads IN '<file>' ['<connect>'] after table and returns the schema it is reached under.
    QString externalReference(const QString& table, ExternalAccess access);
    QString orderBy(QList<OrderKey>* keys = nullptr);
    QString insert();
    QString update();
    QString deleteStatement();
    QString crosstab();
    QString nameList();

    // DDL
    struct ColumnSql {
        QString name; ///< quoted
        QString type;
        QString constraints; ///< without PRIMARY KEY
        bool primary = false;
        bool counter = false;
    };
    QString createTable();
    ColumnSql columnDefinition();
    /// primaryKey receives the names list of a PRIMARY KEY constraint, else stays empty.
    QString tableConstraint(QString& primaryKey);
    QString createIndex(bool unique);
    QString alterTable();
    QString drop();

    // expressions
    Expr expr();
    /// Whether + - * on the two operands is Currency arithmetic.
    static bool currencyOperands(const Expr& l, const Expr& r);
    Expr imp();
    Expr eqv();
    Expr xorExpr();
    Expr orExpr();
    Expr andExpr();
    Expr notExpr();
    Expr comparison();
    Expr concat();
    Expr additive();
    Expr modulo();
    Expr intDivision();
    Expr multiplicative();
    Expr unary();
    Expr power();
    Expr primary();
    Expr nameOrParameter();
    Expr functionCall(const Token& name);
    Expr like(const Expr& left, bool negated);
    QList<Expr> arguments();
    static QString wrap(const Expr& e, int level);
    /// A Boolean result of SQLite's comparisons; conditions keep it, values need asValue().
    static Expr condition(QString sql, int level);
    /// e as a value of the dialect: a truth value becomes -1/0.
    static Expr asValue(const Expr& e);
    /// e as an operand of an arithmetic or comparison operator of the given level.
    static QString operand(const Expr& e, int level) { return wrap(asValue(e), level); }
    /// An expression whose value is observed (select list, SET, VALUES, ORDER BY, arguments).
    Expr valueExpr() { return asValue(expr()); }
    QString placeholder(const QString& name);
    QString subquery();

    /// Counts nested expressions; too deep a nesting is refused before the stack runs out.
    class NestingGuard {
    public:
        explicit NestingGuard(Translator& t);
        ~NestingGuard() { --m_t.m_nesting; }
        NestingGuard(const NestingGuard&) = delete;
        NestingGuard& operator=(const NestingGuard&) = delete;

    private:
        Translator& m_t;
    };

    QList<Token> m_tokens;
    int m_nesting = 0;
    int m_pos = 0;
    QHash<QString, QString> m_parameterNames; // lower case → as given
    QHash<QString, int> m_placeholders; // lower case → number
    const TranslateContext& m_context;
    Translation m_result;
    QString m_impliedField;
    int m_aggregates = 0; // calls of aggregates so far
    int m_depth = 0;
    // Crosstab expansion: aggregates wrap their argument in CASE WHEN m_pivotCondition.
    QString m_pivotCondition;
};

} // namespace kv::engine::sql
