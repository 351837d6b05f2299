#include "beispiel/Beispieldaten.h"
#include "beispiel/Beispieldatenbank.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "testutils/Fehlernummer.h"
#include "testutils/TempDir.h"

#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QtTest>

using namespace kv::engine;
using kv::test::fehlerNummer;

class TestBeispieldatenbank : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void tabellenUndZeilen_data();
    void tabellenUndZeilen();
    void beziehungenWerdenDurchgesetzt();
    void jedeGespeicherteAbfrageLaeuft();
    void bilderSindPng();
    void inhaltIstJedesMalGleich();
    void vorhandeneDateiBleibtUnberuehrt();
    void kommandozeileErzeugtDatei();
    void kommandozeileMeldetFehler();

private:
    /// The shared file copied for a test that changes data.
    QString kopie(const kv::test::TempDir& dir) const;

    kv::test::TempDir m_dir;
    QString m_pfad;
};

QString TestBeispieldatenbank::kopie(const kv::test::TempDir& dir) const
{
    const QString pfad = dir.file(kv::BeispielDateiname);
    if (!QFile::copy(m_pfad, pfad))
        qFatal("Kopie der Beispieldatenbank misslungen");
    return pfad;
}

void TestBeispieldatenbank::initTestCase()
{
    m_pfad = kv::erzeugeBeispieldatenbank(m_dir.file(QStringLiteral("neu/ordner")));
    QCOMPARE(m_pfad, m_dir.file(QStringLiteral("neu/ordner/Beispiel.mdb")));
    QVERIFY(QFile::exists(m_pfad));
}

void TestBeispieldatenbank::tabellenUndZeilen_data()
{
    QTest::addColumn<QString>("tabelle");
    QTest::addColumn<int>("mindestens");
    QTest::addColumn<int>("hoechstens");
    QTest::newRow("Orte") << "Orte" << 40 << 60;
    QTest::newRow("Kunden") << "Kunden" << 3000 << 3000;
    QTest::newRow("Artikel") << "Artikel" << 40 << 200;
    QTest::newRow("Rechnungen") << "Rechnungen" << 1500 << 1500;
    QTest::newRow("Rechnungspositionen") << "Rechnungspositionen" << 1500 << 9000;
}

void TestBeispieldatenbank::tabellenUndZeilen()
{
    QFETCH(QString, tabelle);
    QFETCH(int, mindestens);
    QFETCH(int, hoechstens);
    Workspace ws;
    auto db = ws.openDatabase(m_pfad);
    int sichtbar = 0;
    for (TableDef* t : db->tableDefs().items())
        if (!t->isSystem())
            ++sichtbar;
    QCOMPARE(sichtbar, 5);
    TableDef& t = db->tableDefs().item(tabelle);
    QVERIFY2(t.recordCount() >= mindestens && t.recordCount() <= hoechstens,
        qPrintable(QString::number(t.recordCount())));
    // Every table has its counter key as primary key.
    bool primaer = false;
    for (Index* i : t.indexes().items())
        primaer = primaer || i->primary();
    QVERIFY(primaer);
    QVERIFY(t.fields().item(0).isAutoIncrement());
}

void TestBeispieldatenbank::beziehungenWerdenDurchgesetzt()
{
    kv::test::TempDir dir;
    const QString pfad = kopie(dir);
    Workspace ws;
    auto db = ws.openDatabase(pfad);
    QCOMPARE(db->relations().count(), 4);
    for (Relation* r : db->relations().items())
        QVERIFY(r->enforced());

    auto anzahl = [&](const QString& sql) { return db->openRecordset(sql)->value(0).toInt(); };
    const int positionen
        = anzahl(QStringLiteral("SELECT Count(*) FROM Rechnungspositionen WHERE RechnungsNr = 1"));
    QVERIFY(positionen > 0);
    const int alle = anzahl(QStringLiteral("SELECT Count(*) FROM Rechnungspositionen"));

    // An item of a missing invoice and a customer with invoices are refused.
    QCOMPARE(fehlerNummer([&] {
        db->execute(QStringLiteral("INSERT INTO Rechnungspositionen (RechnungsNr, ArtikelNr, "
                                   "Menge) VALUES (999999, 1, 1)"));
    }),
        err::IntegrityChild);
    const int kunde
        = anzahl(QStringLiteral("SELECT KundenNr FROM Rechnungen WHERE RechnungsNr = 1"));
    QCOMPARE(fehlerNummer([&] {
        db->execute(QStringLiteral("DELETE FROM Kunden WHERE KundenNr = %1").arg(kunde));
    }),
        err::IntegrityParent);

    // Deleting an invoice takes its items along.
    db->execute(QStringLiteral("DELETE FROM Rechnungen WHERE RechnungsNr = 1"));
    QCOMPARE(anzahl(QStringLiteral("SELECT Count(*) FROM Rechnungspositionen WHERE "
                                   "RechnungsNr = 1")),
        0);
    QCOMPARE(anzahl(QStringLiteral("SELECT Count(*) FROM Rechnungspositionen")), alle - positionen);
}

void TestBeispieldatenbank::jedeGespeicherteAbfrageLaeuft()
{
    kv::test::TempDir dir;
    const QString pfad = kopie(dir);
    Workspace ws;
    auto db = ws.openDatabase(pfad);
    // The one parameter query asks for a customer; this one has invoices.
    const QVariant kunde
        = db->openRecordset(QStringLiteral("SELECT KundenNr FROM Rechnungen WHERE RechnungsNr = 1"))
              ->value(0);
    QCOMPARE(fehlerNummer([&] { db->openRecordset(QStringLiteral("Rechnungen eines Kunden")); }),
        err::TooFewParameters);
    QMap<int, int> typen;
    for (QueryDef* q : db->queryDefs().items()) {
        ++typen[q->type()];
        if (q->type() == dbQUpdate) {
            const double vorher = db->openRecordset(QStringLiteral("SELECT Sum(Preis) FROM "
                                                                   "Artikel"))
                                      ->value(0)
                                      .toDouble();
            QVERIFY(q->execute() > 0);
            const double nachher = db->openRecordset(QStringLiteral("SELECT Sum(Preis) FROM "
                                                                    "Artikel"))
                                       ->value(0)
                                       .toDouble();
            QVERIFY2(nachher > vorher * 1.02 && nachher < vorher * 1.04, qPrintable(q->name()));
            continue;
        }
        std::unique_ptr<Recordset> rs;
        try {
            for (Parameter& p : q->parameters())
                q->setParameter(p.name, kunde);
            rs = q->openRecordset();
        } catch (const EngineError& e) {
            QFAIL(qPrintable(q->name() + QStringLiteral(": ") + e.description()));
        }
        QVERIFY2(rs->recordCount() > 0, qPrintable(q->name()));
        QVERIFY2(rs->fieldCount() >= 2, qPrintable(q->name()));
    }
    const QMap<int, int> erwartet { { dbQSelect, 2 }, { dbQCrosstab, 1 }, { dbQSetOperation, 1 },
        { dbQUpdate, 1 } };
    QCOMPARE(typen, erwartet);

    // The crosstab has one column per invoice year besides the article.
    auto kreuz = db->openRecordset(QStringLiteral("Umsatz je Artikel und Jahr"));
    QCOMPARE(kreuz->fieldCount(), 5);
    QCOMPARE(kreuz->field(1).name(), QStringLiteral("2021"));
}

void TestBeispieldatenbank::bilderSindPng()
{
    Workspace ws;
    auto db = ws.openDatabase(m_pfad);
    auto rs = db->openRecordset(QStringLiteral("SELECT Bild FROM Artikel WHERE Bild Is Not Null"));
    QVERIFY(rs->recordCount() >= 3);
    QVERIFY(rs->recordCount() < db->tableDefs().item(QStringLiteral("Artikel")).recordCount());
    for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
        const QVariant wert = rs->value(0);
        QCOMPARE(wert.typeId(), QMetaType::QByteArray);
        const QByteArray png = wert.toByteArray();
        QVERIFY(png.startsWith("\x89PNG\r\n\x1a\n"));
        QImage bild;
        QVERIFY(bild.loadFromData(png, "PNG"));
        QCOMPARE(bild.size(), QSize(48, 48));
    }
}

void TestBeispieldatenbank::inhaltIstJedesMalGleich()
{
    // The same seed gives the same rows; the file itself carries creation times.
    Workspace ws;
    auto db = ws.openDatabase(m_pfad);
    auto zeilen = [](Database& d) {
        QCryptographicHash h(QCryptographicHash::Sha1);
        auto rs = d.openRecordset(QStringLiteral("SELECT * FROM Kunden ORDER BY KundenNr"));
        for (const QVariantList& z : rs->getRows(1000000))
            for (const QVariant& v : z)
                h.addData(QByteArray(v.toString().toUtf8() + '\x1f'));
        return h.result();
    };
    kv::test::TempDir dir;
    auto zweite = ws.openDatabase(kv::erzeugeBeispieldatenbank(dir.path()));
    QCOMPARE(zeilen(*zweite), zeilen(*db));
    auto erster = db->openRecordset(QStringLiteral("SELECT Name, [E-Mail] FROM Kunden WHERE "
                                                   "[E-Mail] Is Not Null ORDER BY KundenNr"));
    QVERIFY(!erster->value(0).toString().isEmpty());
    QVERIFY(erster->value(1).toString().contains(QLatin1Char('@')));
}

void TestBeispieldatenbank::vorhandeneDateiBleibtUnberuehrt()
{
    kv::test::TempDir dir;
    const QString pfad = dir.file(QStringLiteral("Beispiel.mdb"));
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("eigene Daten");
    f.close();
    QCOMPARE(fehlerNummer([&] { kv::erzeugeBeispieldatenbank(dir.path()); }), err::DatabaseExists);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("eigene Daten"));
}

namespace {
QString programm()
{
    return qEnvironmentVariable("KV_BIN_DIR") + QStringLiteral("/kelvado");
}

struct Lauf {
    int code = -1;
    QString fehlerausgabe;
};

Lauf starte(const QStringList& argumente)
{
    kv::test::TempDir einstellungen;
    QProcess p;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("KV_EINSTELLUNGEN"), einstellungen.path());
    p.setProcessEnvironment(umgebung);
    p.start(programm(), argumente);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return { p.exitCode(), QString::fromUtf8(p.readAllStandardError()) };
}
} // namespace

void TestBeispieldatenbank::kommandozeileErzeugtDatei()
{
    kv::test::TempDir dir;
    const QString ordner = dir.file(QStringLiteral("mit Leerzeichen"));
    const Lauf lauf = starte({ QStringLiteral("--beispiel"), ordner });
    QCOMPARE(lauf.code, 0);
    Workspace ws;
    auto db = ws.openDatabase(ordner + QStringLiteral("/Beispiel.mdb"));
    QCOMPARE(db->tableDefs().item(QStringLiteral("Kunden")).recordCount(), 3000);
    // The user table views and masks come along.
    QVERIFY(QFile::exists(ordner + QStringLiteral("/Beispiel_KELVAD_Kundenkartei.MSK")));
    QVERIFY(QFile::exists(ordner + QStringLiteral("/Beispiel_KELVAD_Rechnungspositionen.TSK")));
}

void TestBeispieldatenbank::kommandozeileMeldetFehler()
{
    // An existing file is not overwritten: exit code 1 and the engine's error.
    const Lauf vorhanden
        = starte({ QStringLiteral("--beispiel"), QFileInfo(m_pfad).absolutePath() });
    QCOMPARE(vorhanden.code, 1);
    QVERIFY2(vorhanden.fehlerausgabe.startsWith(
                 QStringLiteral("Die Beispieldatenbank konnte nicht erzeugt werden!\n\nNr: ")
                 + QString::number(err::DatabaseExists) + QStringLiteral("\nBeschreibung: ")),
        qPrintable(vorhanden.fehlerausgabe));
    // A missing or empty folder argument is a usage error: exit code 2 and how to call it.
    const QString aufruf
        = QStringLiteral("Bitte geben Sie den Ordner für die Beispieldatenbank an: "
                         "kelvado --beispiel <Ordner>\n");
    for (const QStringList& argumente : { QStringList { QStringLiteral("--beispiel") },
             QStringList { QStringLiteral("--beispiel"), QString() } }) {
        const Lauf ohneOrdner = starte(argumente);
        QCOMPARE(ohneOrdner.code, 2);
        QCOMPARE(ohneOrdner.fehlerausgabe, aufruf);
    }
}

QTEST_GUILESS_MAIN(TestBeispieldatenbank)
#include "tst_beispieldatenbank.moc"
