// Dialect statements of the windows run on real data: tests/sql/corpus.txt and functions.txt.

#include "engine/EngineError.h"
#include "engine/sql/Dialect.h"
#include "testutils/TempDir.h"

#include <QFile>
#include <QLocale>
#include <QMap>
#include <QTest>
#include <sqlite3.h>

using namespace kv::engine;
using namespace kv::engine::sql;

namespace {

struct Case {
    QString title;
    QString data;
    QString sql;
    QList<QPair<QString, QString>> params;
    QString translated;
    bool hasRows = false;
    QStringList rows;
    QString error;
    int count = -1;
};

struct Corpus {
    QMap<QString, QStringList> setups;
    QMap<QString, QMap<QString, QString>> queries; // setup → stored query name → SQL
    QList<Case> cases;
};

Corpus readCorpus(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("corpus missing: %s", qPrintable(path));
    Corpus c;
    QString setup;
    Case* current = nullptr;
    bool inRows = false;
    for (QString line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (inRows) {
            if (line.isEmpty()) {
                inRows = false;
                continue;
            }
            current->rows.append(line);
            continue;
        }
        if (line.startsWith(QLatin1Char('#')) || line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("=== setup "))) {
            setup = line.mid(10).trimmed();
            current = nullptr;
        } else if (line.startsWith(QLatin1String("== "))) {
            setup.clear();
            c.cases.append(Case());
            current = &c.cases.last();
            current->title = line.mid(3).trimmed();
        } else if (!setup.isEmpty()) {
            if (line.startsWith(QLatin1String("query "))) {
                const qsizetype eq = line.indexOf(QLatin1Char('='));
                c.queries[setup].insert(line.mid(6, eq - 6).trimmed(), line.mid(eq + 1).trimmed());
            } else {
                c.setups[setup].append(line);
            }
        } else if (current) {
            const qsizetype colon = line.indexOf(QLatin1Char(':'));
            const QString key = line.left(colon);
            const QString value = line.mid(colon + 1).mid(1);
            if (key == QLatin1String("data"))
                current->data = value;
            else if (key == QLatin1String("sql"))
                current->sql = value;
            else if (key == QLatin1String("translated"))
                current->translated = value;
            else if (key == QLatin1String("error"))
                current->error = value;
            else if (key == QLatin1String("count"))
                current->count = value.toInt();
            else if (key == QLatin1String("param")) {
                const qsizetype eq = value.indexOf(QLatin1Char('='));
                current->params.append({ value.left(eq), value.mid(eq + 1) });
            } else if (key == QLatin1String("rows")) {
                current->hasRows = true;
                inRows = true;
            } else
                qFatal("corpus: unknown line %s", qPrintable(line));
        }
    }
    return c;
}

class Db {
public:
    explicit Db(const QString& path)
    {
        QCOMPARE_EQ(sqlite3_open(path.toUtf8().constData(), &m_db), SQLITE_OK);
        registerFunctions(m_db);
        sqlite3_exec(
            m_db, "PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY", nullptr, nullptr, nullptr);
    }
    ~Db() { sqlite3_close_v2(m_db); }
    sqlite3* handle() const { return m_db; }

    /// Runs a translated statement; rows as "a|b" lines. Throws EngineError(1, message) on
    /// SQLite errors.
    QStringList run(
        const Translation& t, const QMap<QString, QString>& values = {}, int* changes = nullptr)
    {
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sql = t.sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
            throw EngineError(1, QString::fromUtf8(sqlite3_errmsg(m_db)));
        for (int i = 0; i < t.parameters.size(); ++i) {
            if (i + 1 > sqlite3_bind_parameter_count(stmt))
                break;
            const QString v = values.value(t.parameters[i]);
            if (v == QLatin1String("#NULL")) {
                sqlite3_bind_null(stmt, i + 1);
            } else {
                const QByteArray b = v.toUtf8();
                sqlite3_bind_text(stmt, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            }
        }
        QStringList rows;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            QStringList cols;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                if (sqlite3_column_type(stmt, c) == SQLITE_NULL)
                    cols.append(QStringLiteral("NULL"));
                else
                    cols.append(QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(stmt, c))));
            }
            rows.append(cols.join(QLatin1Char('|')));
        }
        if (rc != SQLITE_DONE) {
            const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
            sqlite3_finalize(stmt);
            throw EngineError(1, message);
        }
        sqlite3_finalize(stmt);
        if (changes)
            *changes = sqlite3_changes(m_db);
        return rows;
    }

    QVariantList firstColumn(const QString& sql, const QStringList& parameters)
    {
        Translation t;
        t.sql = sql;
        t.parameters = parameters;
        QVariantList values;
        for (const QString& row : run(t))
            values.append(row == QLatin1String("NULL") ? QVariant() : QVariant(row));
        return values;
    }

private:
    sqlite3* m_db = nullptr;
};

} // namespace

class TstCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void statements_data();
    void statements();
    void functions_data();
    void functions();
};

void TstCorpus::statements_data()
{
    QTest::addColumn<int>("index");
    const Corpus c = readCorpus(QFINDTESTDATA("corpus.txt"));
    for (int i = 0; i < c.cases.size(); ++i)
        QTest::newRow(qPrintable(c.cases[i].title)) << i;
}

void TstCorpus::statements()
{
    QFETCH(int, index);
    static const Corpus corpus = readCorpus(QFINDTESTDATA("corpus.txt"));
    const Case& c = corpus.cases[index];
    kv::test::TempDir dir;
    Db db(dir.file(QStringLiteral("t.db")));
    const QMap<QString, QString> queries = corpus.queries.value(c.data);
    TranslateContext context;
    context.storedQuery = [&](const QString& name) -> std::optional<QString> {
        for (auto it = queries.begin(); it != queries.end(); ++it) {
            if (it.key().compare(name, Qt::CaseInsensitive) == 0)
                return it.value();
        }
        return std::nullopt;
    };
    context.firstColumn
        = [&](const QString& sql, const QStringList& parameters, const QList<DeclaredParameter>&) {
              return db.firstColumn(sql, parameters);
          };
    try {
        for (const QString& s : corpus.setups.value(c.data))
            db.run(translate(s, {}, context));
    } catch (const EngineError& e) {
        QFAIL(qPrintable("setup failed: " + e.description()));
    }

    QMap<QString, QString> values;
    QStringList names;
    for (const auto& [name, value] : c.params) {
        values.insert(name, value);
        names.append(name);
    }
    QString error;
    QStringList rows;
    int changes = -1;
    try {
        const Translation t = translate(c.sql, names, context);
        if (!c.translated.isEmpty())
            QCOMPARE(t.sql, c.translated);
        rows = db.run(t, values, &changes);
    } catch (const EngineError& e) {
        error = QString::number(e.number()) + QLatin1Char(' ') + e.description();
    }
    if (!c.error.isEmpty()) {
        QVERIFY2(error.startsWith(c.error), qPrintable(error));
        return;
    }
    QVERIFY2(error.isEmpty(), qPrintable(error));
    if (c.hasRows)
        QCOMPARE(rows.join(QLatin1Char('\n')), c.rows.join(QLatin1Char('\n')));
    if (c.count >= 0)
        QCOMPARE(changes, c.count);
}

void TstCorpus::functions_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");
    QFile f(QFINDTESTDATA("functions.txt"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('#')) || line.trimmed().isEmpty())
            continue;
        const qsizetype arrow = line.indexOf(QLatin1String(" => "));
        QVERIFY2(arrow > 0, qPrintable(line));
        const QString expression = line.left(arrow);
        QTest::newRow(qPrintable(expression)) << expression << line.mid(arrow + 4);
    }
}

void TstCorpus::functions()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    Db db(QStringLiteral(":memory:"));
    QString actual;
    try {
        const QStringList rows = db.run(translate(QStringLiteral("SELECT ") + expression));
        QCOMPARE(rows.size(), 1);
        actual = rows.first();
    } catch (const EngineError& e) {
        actual = QStringLiteral("ERROR: ") + e.description();
    }
    QCOMPARE(actual, expected);
}

QTEST_GUILESS_MAIN(TstCorpus)
#include "tst_corpus.moc"
