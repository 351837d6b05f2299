// The layer check of .ci/run: the program's sources pass, and an include reaching up is named
// with its file and line.

#include "testutils/TempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {
struct Ergebnis {
    int code = -1;
    QStringList zeilen;
};

Ergebnis pruefe(const QString& quellen)
{
    QProcess p;
    p.start(
        QStringLiteral("bash"), { QStringLiteral(KV_SOURCE_DIR "/scripts/check-layers"), quellen });
    if (!p.waitForFinished(120000))
        return {};
    return { p.exitCode(),
        QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts) };
}

void schreibe(const QString& wurzel, const QString& pfad, const QByteArray& inhalt)
{
    const QString datei = wurzel + QLatin1Char('/') + pfad;
    QVERIFY(QDir().mkpath(QFileInfo(datei).path()));
    QFile f(datei);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}
} // namespace

class TestLayers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theProgramKeepsItsLayers();
    void anIncludeReachingUpFails_data();
    void anIncludeReachingUpFails();
};

void TestLayers::theProgramKeepsItsLayers()
{
    const Ergebnis e = pruefe(QStringLiteral(KV_SOURCE_DIR "/src"));
    QCOMPARE(e.zeilen, QStringList { QStringLiteral("layers: ok") });
    QCOMPARE(e.code, 0);
}

void TestLayers::anIncludeReachingUpFails_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QByteArray>("inhalt");
    QTest::addColumn<QString>("meldung"); // empty: passes
    QTest::newRow("dialect includes the object model")
        << "engine/sql/Lexer.cpp"
        << QByteArray("#include \"engine/sql/Lexer.h\"\n\n#include \"engine/Database.h\"\n")
        << "engine/sql/Lexer.cpp:3: includes engine/Database.h from a higher layer";
    QTest::newRow("SQLite layer includes the dialect")
        << "engine/sqlite/Connection.cpp" << QByteArray("#  include \"engine/sql/Dialect.h\"\n")
        << "engine/sqlite/Connection.cpp:1: includes engine/sql/Dialect.h from a higher layer";
    QTest::newRow("cursor includes the catalog")
        << "engine/cursor/RowCache.cpp" << QByteArray("#include \"engine/catalog/Catalog.h\"\n")
        << "";
    QTest::newRow("core includes the SQLite layer")
        << "engine/core/DataType.cpp" << QByteArray("#include \"engine/sqlite/Connection.h\"\n")
        << "engine/core/DataType.cpp:1: includes engine/sqlite/Connection.h from a higher layer";
    QTest::newRow("engine includes tables")
        << "engine/Database.cpp" << QByteArray("#include \"tables/Feldtypen.h\"\n")
        << "engine/Database.cpp:1: includes tables/Feldtypen.h from a higher layer";
    QTest::newRow("object model includes the table model")
        << "engine/Recordset.cpp" << QByteArray("#include \"engine/model/RecordsetModel.h\"\n")
        << "engine/Recordset.cpp:1: includes engine/model/RecordsetModel.h from a higher layer";
    QTest::newRow("table model includes the object model and base")
        << "engine/model/RecordsetModel.cpp"
        << QByteArray("#include \"engine/Recordset.h\"\n#include \"base/Format.h\"\n") << "";
    QTest::newRow("table window includes the shell")
        << "tables/ui/Editor.cpp" << QByteArray("#include \"shell/Prozesswerte.h\"\n")
        << "tables/ui/Editor.cpp:1: includes shell/Prozesswerte.h from a higher layer";
    QTest::newRow("widgets include a window")
        << "widgets/Leiste.cpp" << QByteArray("#include \"tables/ui/Editor.h\"\n")
        << "widgets/Leiste.cpp:1: includes tables/ui/Editor.h from a higher layer";
    QTest::newRow("shell includes tables and widgets")
        << "shell/Zentrale.cpp"
        << QByteArray("#include \"tables/Feldtypen.h\"\n#include \"widgets/Leiste.h\"\n") << "";
    QTest::newRow("an engine folder in no layer")
        << "engine/neu/Modell.h" << QByteArray("#pragma once\n")
        << "engine/neu/Modell.h: its folder belongs to no layer; place it in scripts/check-layers";
}

void TestLayers::anIncludeReachingUpFails()
{
    QFETCH(QString, datei);
    QFETCH(QByteArray, inhalt);
    QFETCH(QString, meldung);
    kv::test::TempDir dir;
    schreibe(dir.path(), QStringLiteral("base/Text.h"), "#pragma once\n");
    schreibe(dir.path(), datei, inhalt);
    const Ergebnis e = pruefe(dir.path());
    if (meldung.isEmpty()) {
        QCOMPARE(e.zeilen, QStringList { QStringLiteral("layers: ok") });
        QCOMPARE(e.code, 0);
        return;
    }
    QCOMPARE(e.zeilen.value(0), meldung);
    QCOMPARE(e.zeilen.last(), QStringLiteral("layers: 1 problem(s) found"));
    QCOMPARE(e.code, 1);
}

QTEST_GUILESS_MAIN(TestLayers)
#include "tst_layers.moc"
