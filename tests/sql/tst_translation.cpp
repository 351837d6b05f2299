// What translate() reports besides the SQL text, field-level expressions, index use and
// external references.

#include "engine/core/EngineError.h"
#include "engine/sql/Collation.h"
#include "engine/sql/Dialect.h"
#include "testutils/SqliteFile.h"
#include "testutils/TempDir.h"

#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QTest>
#include <sqlite3.h>

using namespace kv::engine;
using namespace kv::engine::sql;

namespace {

QString scalar(sqlite3* db, const QString& sql)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        return QStringLiteral("ERROR: ") + QString::fromUtf8(sqlite3_errmsg(db));
    QStringList rows;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        QStringList cols;
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            cols << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
        rows << cols.join(QLatin1Char('|'));
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        return QStringLiteral("ERROR: ") + QString::fromUtf8(sqlite3_errmsg(db));
    return rows.join(QLatin1Char('\n'));
}

void exec(sqlite3* db, const QString& dialect)
{
    char* error = nullptr;
    const QByteArray sql = translate(dialect).sql.toUtf8();
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error);
        sqlite3_free(error);
        QFAIL(qPrintable(message));
    }
}

} // namespace

class TstTranslation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statementKinds_data();
    void statementKinds();
    void singleTableSelect_data();
    void singleTableSelect();
    void makeTableAndExternalReference();
    void connectPrefixIsReported();
    void likePrefixUsesIndex();
    void collationIndexIsCaseInsensitive();
    void collationFastPathAgreesWithIcu();
    void validationRules_data();
    void validationRules();
    void defaultValues();
    void comparisonsAreStoredAsTrueMinusOne();
    void literalsSurvive_data();
    void literalsSurvive();
    void errors_data();
    void errors();
    void garbageNeverCrashes();
    void storedQueriesOfOtherSoftware_data();
    void storedQueriesOfOtherSoftware();
};

void TstTranslation::statementKinds_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("index");
    QTest::newRow("select") << "SELECT * FROM T" << int(StatementKind::Select) << ""
                            << "";
    QTest::newRow("union") << "SELECT a FROM T UNION SELECT b FROM U" << int(StatementKind::Union)
                           << ""
                           << "";
    QTest::newRow("insert") << "INSERT INTO [Ziel] SELECT * FROM [Quelle]"
                            << int(StatementKind::Append) << "Ziel"
                            << "";
    QTest::newRow("update") << "UPDATE [T] SET A = 'x', B = 5 WHERE r" << int(StatementKind::Update)
                            << "T"
                            << "";
    QTest::newRow("delete") << "DELETE * FROM [T]" << int(StatementKind::Delete) << "T"
                            << "";
    QTest::newRow("make-table") << "SELECT * INTO [Neu] FROM [T]" << int(StatementKind::MakeTable)
                                << "Neu"
                                << "";
    QTest::newRow("crosstab") << "TRANSFORM Sum(x) SELECT a FROM T GROUP BY a PIVOT b IN (1, 2)"
                              << int(StatementKind::Crosstab) << ""
                              << "";
    QTest::newRow("create table") << "CREATE TABLE [A b] ([x] TEXT)"
                                  << int(StatementKind::CreateTable) << "A b"
                                  << "";
    QTest::newRow("create index") << "CREATE INDEX [i x] ON [T] (x)"
                                  << int(StatementKind::CreateIndex) << "T"
                                  << "i x";
    QTest::newRow("alter") << "ALTER TABLE T ADD x COUNTER" << int(StatementKind::AlterTable) << "T"
                           << "";
    QTest::newRow("drop index") << "DROP INDEX i ON T" << int(StatementKind::Drop) << "T"
                                << "i";
    QTest::newRow("drop index without table") << "DROP INDEX i" << int(StatementKind::Drop) << ""
                                              << "i";
    QTest::newRow("drop table") << "DROP TABLE [T]" << int(StatementKind::Drop) << "T"
                                << "";
}

void TstTranslation::statementKinds()
{
    QFETCH(QString, sql);
    QFETCH(int, kind);
    QFETCH(QString, target);
    QFETCH(QString, index);
    const Translation t = translate(sql);
    QCOMPARE(int(t.kind), kind);
    QCOMPARE(t.target, target);
    QCOMPARE(t.index, index);
}

void TstTranslation::singleTableSelect_data()
{
    // table empty: the statement is no SELECT that reads one table row by row.
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("schema");
    QTest::addColumn<QString>("qualifier");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("rest");
    QTest::newRow("whole table") << "SELECT * FROM [Kunden]"
                                 << "Kunden"
                                 << ""
                                 << "Kunden"
                                 << "*"
                                 << ""
                                 << "";
    QTest::newRow("alias, condition, order")
        << "SELECT Name, k.Ort FROM Kunden AS k WHERE Ort = 'Bonn' ORDER BY Name DESC;"
        << "Kunden"
        << ""
        << "k"
        << "[Name], [k].[Ort]"
        << "[Ort] = 'Bonn'"
        << "WHERE [Ort] = 'Bonn' ORDER BY [Name] DESC";
    QTest::newRow("alias without AS") << "SELECT * FROM [Kunden] [x y]"
                                      << "Kunden"
                                      << ""
                                      << "x y"
                                      << "*"
                                      << ""
                                      << "";
    QTest::newRow("top") << "SELECT TOP 5 * FROM Kunden"
                         << "Kunden"
                         << ""
                         << "Kunden"
                         << "*"
                         << ""
                         << "LIMIT 5";
    QTest::newRow("condition with an aggregate in a subquery")
        << "SELECT ID FROM T WHERE ID > (SELECT Count(*) FROM U)"
        << "T"
        << ""
        << "T"
        << "[ID]"
        << "[ID] > (SELECT count(*) AS [Expr1000] FROM [U])"
        << "WHERE [ID] > (SELECT count(*) AS [Expr1000] FROM [U])";
    QTest::newRow("external file") << "SELECT * FROM Kunden IN 'andere.kvd'"
                                   << "Kunden"
                                   << "kvext1"
                                   << "Kunden"
                                   << "*"
                                   << ""
                                   << "";
    for (const char* other :
        { "SELECT DISTINCT Ort FROM Kunden", "SELECT Ort FROM Kunden GROUP BY Ort",
            "SELECT Count(*) FROM Kunden", "SELECT ID, (SELECT Max(ID) FROM U) AS m FROM T",
            "SELECT * FROM T UNION SELECT * FROM U", "SELECT * FROM T, U",
            "SELECT * FROM T INNER JOIN U ON T.ID = U.ID", "SELECT * FROM (SELECT * FROM T)",
            "(SELECT * FROM T)", "SELECT * INTO Neu FROM T", "SELECT 1",
            "TRANSFORM Sum(x) SELECT a FROM T GROUP BY a PIVOT b IN (1, 2)",
            "DELETE * FROM T WHERE ID = 1" })
        QTest::newRow(other) << other << ""
                             << ""
                             << ""
                             << ""
                             << ""
                             << "";
}

void TstTranslation::singleTableSelect()
{
    QFETCH(QString, sql);
    QFETCH(QString, table);
    QFETCH(QString, schema);
    QFETCH(QString, qualifier);
    QFETCH(QString, list);
    QFETCH(QString, where);
    QFETCH(QString, rest);
    const SingleTableSelect s = translate(sql).singleTable;
    QCOMPARE(s.table, table);
    if (table.isEmpty())
        return;
    QCOMPARE(s.schema, schema);
    QCOMPARE(s.qualifier, qualifier);
    QCOMPARE(s.list, list);
    QCOMPARE(s.where, where);
    QCOMPARE(s.rest, rest);
    // The parts are the statement: nothing of it is left out.
    QVERIFY(translate(sql).sql.endsWith(rest));
    QVERIFY(
        translate(sql).sql.startsWith(QStringLiteral("SELECT ") + list + QStringLiteral(" FROM ")));
}

void TstTranslation::makeTableAndExternalReference()
{
    kv::test::TempDir dir;
    const QString other = dir.file(QStringLiteral("andere.kvd"));
    const kv::test::SqliteFile db(dir.file(QStringLiteral("haupt.kvd")));
    QCOMPARE(db.openResult(), SQLITE_OK);
    registerFunctions(db);
    exec(db, QStringLiteral("CREATE TABLE [Quelle] ([Name] TEXT(20), [Wert] LONG)"));
    exec(db, QStringLiteral("INSERT INTO [Quelle] VALUES ('Bonn', 1)"));
    exec(db, QStringLiteral("INSERT INTO [Quelle] VALUES ('Köln', 2)"));

    // export: SELECT * INTO target IN 'file' FROM source
    const Translation exportTo = translate("SELECT * INTO [Ziel] IN '" + other + "' FROM [Quelle]");
    QCOMPARE(exportTo.kind, StatementKind::MakeTable);
    QCOMPARE(exportTo.externals.size(), 1);
    QCOMPARE(exportTo.externals[0].path, other);
    QCOMPARE(exportTo.externals[0].connect, QString());
    QCOMPARE(exportTo.targetSchema, exportTo.externals[0].alias);
    QCOMPARE(exportTo.selectSql, QStringLiteral("SELECT * FROM [Quelle]"));
    QCOMPARE(exportTo.sql, "CREATE TABLE [kvext1].[Ziel] AS SELECT * FROM [Quelle]");
    QCOMPARE(scalar(db, "ATTACH '" + other + "' AS kvext1"), QString());
    QCOMPARE(scalar(db, exportTo.sql), QString());

    // import back into an existing table: INSERT INTO target SELECT * FROM source IN 'file'
    const Translation importFrom
        = translate("INSERT INTO [Quelle] SELECT * FROM [Ziel] IN '" + other + "'");
    QCOMPARE(importFrom.kind, StatementKind::Append);
    QCOMPARE(importFrom.externals.size(), 1);
    QCOMPARE(importFrom.sql, "INSERT INTO [Quelle] SELECT * FROM [kvext1].[Ziel]");
    QCOMPARE(scalar(db, importFrom.sql), QString());
    QCOMPARE(scalar(db, QStringLiteral("SELECT count(*) FROM Quelle")), QStringLiteral("4"));
}

void TstTranslation::connectPrefixIsReported()
{
    const Translation t = translate(
        QStringLiteral("SELECT * INTO [Kunden] FROM [KUNDEN] IN 'C:\\Daten\\' 'dBASE IV;'"));
    QCOMPARE(t.externals.size(), 1);
    QCOMPARE(t.externals[0].path, QStringLiteral("C:\\Daten\\"));
    QCOMPARE(t.externals[0].connect, QStringLiteral("dBASE IV;"));
    const Translation same = translate(QStringLiteral(
        "SELECT * FROM [A] IN 'x.kvd', [B] IN 'x.kvd', [C] IN '' [Excel 5.0;DATABASE=C:\\m.xls]"));
    QCOMPARE(same.externals.size(), 2);
    QCOMPARE(same.externals[1].path, QStringLiteral("C:\\m.xls"));
    QCOMPARE(same.externals[1].connect, QStringLiteral("Excel 5.0;"));
}

void TstTranslation::likePrefixUsesIndex()
{
    const kv::test::SqliteFile db(QStringLiteral(":memory:"));
    QCOMPARE(db.openResult(), SQLITE_OK);
    registerFunctions(db);
    exec(db, QStringLiteral("CREATE TABLE [K] ([Name] TEXT(50), [Ort] TEXT(50))"));
    exec(db, QStringLiteral("CREATE INDEX [NameIdx] ON [K] ([Name])"));
    for (const char* n : { "Meier", "MEIER", "meister", "Mehl", "Mej", "Müller", "Ämter" })
        exec(db, QStringLiteral("INSERT INTO [K] VALUES ('%1', 'x')").arg(QString::fromUtf8(n)));
    const Translation t = translate(
        QStringLiteral("SELECT [Name] FROM [K] WHERE [Name] LIKE 'Mei*' ORDER BY [Name]"));
    const QString plan = scalar(db, "EXPLAIN QUERY PLAN " + t.sql);
    QVERIFY2(plan.contains(QLatin1String("USING INDEX NameIdx"))
            || plan.contains(QLatin1String("USING COVERING INDEX NameIdx")),
        qPrintable(plan));
    QCOMPARE(scalar(db, t.sql), QStringLiteral("Meier\nMEIER\nmeister"));
    // a prefix that is no letter: no range, same answer as the plain match
    const Translation digits
        = translate(QStringLiteral("SELECT count(*) FROM [K] WHERE [Name] LIKE '1*'"));
    QVERIFY(!digits.sql.contains(QLatin1String(">=")));
}

void TstTranslation::collationIndexIsCaseInsensitive()
{
    const kv::test::SqliteFile db(QStringLiteral(":memory:"));
    QCOMPARE(db.openResult(), SQLITE_OK);
    registerFunctions(db);
    exec(db, QStringLiteral("CREATE TABLE [K] ([Name] TEXT(50))"));
    exec(db, QStringLiteral("CREATE UNIQUE INDEX [U] ON [K] ([Name])"));
    exec(db, QStringLiteral("INSERT INTO [K] VALUES ('Meier')"));
    QVERIFY(scalar(db, translate(QStringLiteral("INSERT INTO [K] VALUES ('MEIER')")).sql)
                .startsWith(QLatin1String("ERROR: UNIQUE")));
    QCOMPARE(
        scalar(db, translate(QStringLiteral("INSERT INTO [K] VALUES ('Méier')")).sql), QString());
}

void TstTranslation::collationFastPathAgreesWithIcu()
{
    // Plain ASCII text is ranked without ICU; the order must be ICU's own.
    const QByteArray alphabet = "aAbBmMzZsS09 -_.,;:!'#*()[]~Ää\xc3\xa9\xc3\x9f\x01";
    QRandomGenerator rng(7);
    QList<QByteArray> texts;
    for (int i = 0; i < 300; ++i) {
        QByteArray t;
        const int n = int(rng.bounded(6));
        for (int k = 0; k < n; ++k)
            t += alphabet[int(rng.bounded(int(alphabet.size())))];
        if (!QString::fromUtf8(t).toUtf8().startsWith(t))
            continue; // a broken UTF-8 sequence
        texts << t;
    }
    for (const QByteArray& a : texts) {
        for (const QByteArray& b : texts) {
            UErrorCode status = U_ZERO_ERROR;
            const int icu = ucol_strcollUTF8(germanCollator(), a.constData(), int(a.size()),
                b.constData(), int(b.size()), &status);
            const int ours
                = compareGerman(a.constData(), int(a.size()), b.constData(), int(b.size()));
            QVERIFY2((icu > 0) == (ours > 0) && (icu < 0) == (ours < 0),
                qPrintable(QString::fromUtf8(a) + " <> " + QString::fromUtf8(b)));
        }
    }
}

void TstTranslation::validationRules_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("holds");
    QTest::newRow("range and") << ">0 And <100"
                               << "50"
                               << "1";
    QTest::newRow("range and fails") << ">0 And <100"
                                     << "100"
                                     << "0";
    QTest::newRow("between") << "Between 1 And 10"
                             << "10"
                             << "1";
    QTest::newRow("like") << "Like \"A*\""
                          << "'anton'"
                          << "1";
    QTest::newRow("not like") << "Not Like \"A*\""
                              << "'anton'"
                              << "0";
    QTest::newRow("in") << "In (\"a\",\"b\")"
                        << "'B'"
                        << "1";
    QTest::newRow("not in") << "Not In (\"a\",\"b\")"
                            << "'c'"
                            << "1";
    QTest::newRow("is not null") << "Is Not Null"
                                 << "NULL"
                                 << "0";
    QTest::newRow("not empty") << "<>\"\""
                               << "''"
                               << "0";
    QTest::newRow("or") << "=1 Or =3"
                        << "3"
                        << "1";
    QTest::newRow("with date") << ">=#1/1/2000#"
                               << "'2009-02-01 00:00:00'"
                               << "1";
    QTest::newRow("explicit field") << "[F] > 5"
                                    << "7"
                                    << "1";
}

void TstTranslation::validationRules()
{
    QFETCH(QString, rule);
    QFETCH(QString, value);
    QFETCH(QString, holds);
    const kv::test::SqliteFile db(QStringLiteral(":memory:"));
    QCOMPARE(db.openResult(), SQLITE_OK);
    registerFunctions(db);
    const Translation t = translateExpression(rule, QStringLiteral("F"));
    QCOMPARE(
        scalar(db, "SELECT " + t.sql + " FROM (SELECT " + value + " COLLATE KVDE AS [F])"), holds);
}

void TstTranslation::defaultValues()
{
    const kv::test::SqliteFile db(QStringLiteral(":memory:"));
    QCOMPARE(db.openResult(), SQLITE_OK);
    registerFunctions(db);
    QCOMPARE(scalar(db, "SELECT " + translateExpression(QStringLiteral("\"Bonn\"")).sql),
        QStringLiteral("Bonn"));
    QCOMPARE(
        scalar(db, "SELECT " + translateExpression(QStringLiteral("=0")).sql), QStringLiteral("0"));
    QCOMPARE(scalar(db, "SELECT " + translateExpression(QStringLiteral("Date()")).sql).right(8),
        QStringLiteral("00:00:00"));
    QCOMPARE(scalar(db, "SELECT length(" + translateExpression(QStringLiteral("Now()")).sql + ")"),
        QStringLiteral("19"));
}

void TstTranslation::comparisonsAreStoredAsTrueMinusOne()
{
    const kv::test::SqliteFile db(QStringLiteral(":memory:"));
    QCOMPARE(db.openResult(), SQLITE_OK);
    registerFunctions(db);
    exec(db, QStringLiteral("CREATE TABLE [T] ([N] LONG, [B] YESNO, [C] YESNO)"));
    exec(db, QStringLiteral("INSERT INTO [T] VALUES (1, 2 > 1, 1 = 2)"));
    exec(db, QStringLiteral("INSERT INTO [T] VALUES (5, Null, True)"));
    exec(db, QStringLiteral("UPDATE [T] SET [C] = [N] > 3 Or [B], [B] = Not ([N] = 1)"));
    QCOMPARE(scalar(db, QStringLiteral("SELECT N, B, C FROM T ORDER BY N")),
        QStringLiteral("1|0|-1\n5|-1|-1"));
}

void TstTranslation::literalsSurvive_data()
{
    QTest::addColumn<QString>("literal");
    QTest::newRow("star hash amp") << "a*b#c&d";
    QTest::newRow("quotes") << "O'Neil sagt \"hallo\"";
    QTest::newRow("bracket") << "[x] ]y[";
    QTest::newRow("keywords") << "x Order By y WHERE z";
    QTest::newRow("date and dollar") << "#1/2/2009# Left$(";
    QTest::newRow("comment starts") << "-- /* */";
    QTest::newRow("umlauts") << "Ärger ß";
}

void TstTranslation::literalsSurvive()
{
    QFETCH(QString, literal);
    const kv::test::SqliteFile db(QStringLiteral(":memory:"));
    QCOMPARE(db.openResult(), SQLITE_OK);
    registerFunctions(db);
    QString doubled = literal;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    QString single = literal;
    single.replace(QLatin1Char('\''), QLatin1String("''"));
    QCOMPARE(scalar(db, translate("SELECT \"" + doubled + "\"").sql), literal);
    QCOMPARE(scalar(db,
                 translate("SELECT '" + single + "' AS ["
                     + QString(literal).remove(QLatin1Char(']')) + "]")
                     .sql),
        literal);
}

void TstTranslation::errors_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("message");
    QTest::newRow("bracket open") << "SELECT [Name FROM T"
                                  << "Syntaxfehler in der Abfrage bei Position 8: Name in eckigen "
                                     "Klammern nicht abgeschlossen.";
    QTest::newRow("date open")
        << "SELECT * FROM T WHERE D = #1/2/2009"
        << "Syntaxfehler in der Abfrage bei Position 27: Datum nicht abgeschlossen.";
    QTest::newRow("missing from item")
        << "SELECT * FROM WHERE x = 1"
        << "Syntaxfehler in der Abfrage bei Position 15: unerwartetes WHERE. "
           "Erwartet: ein Tabellenname.";
    QTest::newRow("argument count")
        << "SELECT Left(a) FROM T"
        << "Syntaxfehler in der Abfrage bei Position 8: falsche Anzahl von "
           "Argumenten für die Funktion 'Left'.";
    QTest::newRow("unknown statement")
        << "MERGE INTO T"
        << "Syntaxfehler in der Abfrage bei Position 1: unerwartetes MERGE. "
           "Erwartet: SELECT, INSERT, UPDATE, DELETE, TRANSFORM, CREATE, ALTER oder DROP.";
    QTest::newRow("nul character")
        << QStringLiteral("DELETE FROM [T]") + QChar(0) + " WHERE x = 1"
        << "Syntaxfehler in der Abfrage bei Position 16: unerwartetes Nullzeichen.";
    QTest::newRow("deep nesting")
        << "SELECT " + QString(300, QLatin1Char('(')) + "1" + QString(300, QLatin1Char(')'))
        << "Syntaxfehler in der Abfrage bei Position 74: der Ausdruck ist zu tief verschachtelt.";
    QTest::newRow("minus chain")
        << "SELECT " + QString(1000, QLatin1Char('-')) + "1"
        << "Syntaxfehler in der Abfrage bei Position 205: der Ausdruck ist zu tief verschachtelt.";
    QTest::newRow("odd character")
        << "SELECT a FROM T WHERE a = ?"
        << "Syntaxfehler in der Abfrage bei Position 27: unerwartetes Zeichen '?'.";
    QTest::newRow("unknown type")
        << "CREATE TABLE T (a WIDGET)"
        << "Syntaxfehler in der Abfrage bei Position 19: unbekannter Datentyp 'WIDGET'.";
    QTest::newRow("crosstab without values")
        << "TRANSFORM Sum(x) SELECT a FROM T GROUP BY a PIVOT b"
        << "Syntaxfehler in der Abfrage bei Position 52: die Spaltenwerte der "
           "Kreuztabelle können nicht ermittelt werden.";
}

void TstTranslation::errors()
{
    QFETCH(QString, sql);
    QFETCH(QString, message);
    try {
        translate(sql);
        QFAIL("no error");
    } catch (const EngineError& e) {
        QCOMPARE(e.number(), kv::engine::err::SyntaxError);
        QCOMPARE(e.description(), message);
    }
}

void TstTranslation::garbageNeverCrashes()
{
    // Every prefix of a long statement is either translated or refused with an engine error.
    const QString sql = QStringLiteral(
        "PARAMETERS [p] Text; TRANSFORM Sum([a]) SELECT [b], IIf(x > #1/2/2009#, 'a''b', \"c\") "
        "FROM ([T] AS t INNER JOIN U ON t.k = U.k) LEFT JOIN V ON V.k = t.k WHERE [c] Like '*x*' "
        "And Not d Between 1 And 2 Or e In (SELECT f FROM G) GROUP BY [b] HAVING Count(*) > 1 "
        "PIVOT [e] IN ('a', 'b');");
    for (int n = 0; n <= sql.size(); ++n) {
        try {
            translate(sql.left(n), { QStringLiteral("x") });
        } catch (const EngineError& e) {
            QCOMPARE(e.number(), kv::engine::err::SyntaxError);
        }
    }
}

void TstTranslation::storedQueriesOfOtherSoftware_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("kind");
    QFile f(QFINDTESTDATA("jet_queries.txt"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QMap<QString, StatementKind> kinds { { "Select", StatementKind::Select },
        { "Delete", StatementKind::Delete }, { "Append", StatementKind::Append },
        { "Update", StatementKind::Update }, { "MakeTable", StatementKind::MakeTable },
        { "Crosstab", StatementKind::Crosstab }, { "Union", StatementKind::Union },
        { "AlterTable", StatementKind::AlterTable },
        { "CreateTable", StatementKind::CreateTable } };
    QString name;
    QString sql;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("== "))) {
            name = line.mid(3);
            sql.clear();
        } else if (!name.isEmpty() && line.isEmpty()) {
            QTest::newRow(qPrintable(name)) << sql << int(kinds.value(name));
            name.clear();
        } else if (!name.isEmpty()) {
            sql += (sql.isEmpty() ? QString() : QStringLiteral("\r\n")) + line;
        }
    }
    QVERIFY(name.isEmpty());
}

void TstTranslation::storedQueriesOfOtherSoftware()
{
    QFETCH(QString, sql);
    QFETCH(int, kind);
    const kv::test::SqliteFile db(QStringLiteral(":memory:"));
    QCOMPARE(db.openResult(), SQLITE_OK);
    registerFunctions(db);
    const int tables = kind == int(StatementKind::MakeTable) ? 3 : 4;
    for (int i = 1; i <= tables; ++i)
        exec(db,
            QStringLiteral("CREATE TABLE Table%1 (col1 TEXT, col2 TEXT, col3 TEXT, col5 TEXT)")
                .arg(i));
    TranslateContext context;
    context.firstColumn = [](const QString&, const QStringList&, const QList<DeclaredParameter>&) {
        return QVariantList { QStringLiteral("10"), QStringLiteral("11") };
    };
    const Translation t = translate(sql, {}, context);
    QCOMPARE(int(t.kind), kind);
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v2(db, t.sql.toUtf8().constData(), -1, &st, nullptr);
    sqlite3_finalize(st);
    // A name SQLite does not know is the engine's cue to ask for a parameter; the crosstab has
    // an aggregate in its WHERE clause, which the dialect refuses as well.
    const QString message = QString::fromUtf8(sqlite3_errmsg(db));
    QVERIFY2(rc == SQLITE_OK || message.startsWith(QLatin1String("no such column"))
            || message.startsWith(QLatin1String("misuse of aggregate")),
        qPrintable(message + "\n" + t.sql));
}

QTEST_GUILESS_MAIN(TstTranslation)
#include "tst_translation.moc"
