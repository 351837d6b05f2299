#include "IsamTestHelfer.h"
#include "engine/isam/VerificationReport.h"

using namespace kv::engine;
using namespace kv::engine::isam;
using namespace kv::test;

class TestPruefbericht : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void zaehltUndListet()
    {
        VerificationReport r;
        QVERIFY(r.isClean());
        r.countRead(QStringLiteral("Kunden"), 3);
        r.countWritten(QStringLiteral("Kunden"), 2);
        r.refuse(QStringLiteral("Kunden"), 3, QStringLiteral("Doppelter Schlüssel"));
        auto sink = r.sink(QStringLiteral("Artikel"));
        sink({ 7, 1, QStringLiteral("Name"), QStringLiteral("Größe; \"XL\""), QStringLiteral("Gr"),
            IssueKind::TextCut });
        sink({ 8, 2, QStringLiteral("Seit"), tag(2024, 1, 2, 3, 4, 5), tag(2024, 1, 2),
            IssueKind::TimeDropped });
        QVERIFY(!r.isClean());
        QCOMPARE(r.tables().size(), 2);
        QCOMPARE(r.tables()[0].refused, 1);
        QCOMPARE(r.issueCount(), 2);
        QCOMPARE(r.toCsv(),
            QStringLiteral("Tabelle;Gelesen;Geschrieben;Abgewiesen\r\n"
                           "Kunden;3;2;1\r\n"
                           "Artikel;0;0;0\r\n"
                           "\r\n"
                           "Tabelle;Zeile;Feld;Art;Quellwert;Zielwert\r\n"
                           "Artikel;7;Name;Text gekürzt;\"Größe; \"\"XL\"\"\";Gr\r\n"
                           "Artikel;8;Seit;Uhrzeit entfällt;02.01.2024 03:04:05;02.01.2024\r\n"
                           "Kunden;3;;Datensatz abgewiesen;Doppelter Schlüssel;\r\n"));
        QCOMPARE(r.summary(1),
            QStringList({ "Kunden: 3 gelesen, 2 geschrieben, 1 abgewiesen",
                "Artikel: 0 gelesen, 0 geschrieben, 0 abgewiesen",
                "2 Werte kamen nicht unverändert an:",
                "Artikel, Zeile 7, Feld Name: Text gekürzt (Größe; \"XL\" → Gr)", "…" }));
    }

    void wertTexte()
    {
        QCOMPARE(VerificationReport::valueText(QVariant()), QStringLiteral("(Null)"));
        QCOMPARE(VerificationReport::valueText(0.1), QStringLiteral("0.1"));
        QCOMPARE(VerificationReport::valueText(true), QStringLiteral("Wahr"));
        QCOMPARE(VerificationReport::valueText(QByteArray(3, 'x')),
            QStringLiteral("(Binärdaten, 3 Bytes)"));
    }

    void vieleWerteBleibenGezaehlt()
    {
        VerificationReport r;
        for (int i = 0; i < VerificationReport::MaxEntries + 5; ++i)
            r.addIssue(
                QStringLiteral("T"), { i, 0, QStringLiteral("F"), 1, 2, IssueKind::NumberRounded });
        QCOMPARE(r.entries().size(), VerificationReport::MaxEntries);
        QCOMPARE(r.issueCount(), VerificationReport::MaxEntries + 5);
    }

    void passtInsFeld_data()
    {
        QTest::addColumn<int>("typ");
        QTest::addColumn<int>("groesse");
        QTest::addColumn<QVariant>("wert");
        QTest::addColumn<int>("art"); // -1: unverändert
        QTest::addColumn<QVariant>("ergebnis");
        QTest::newRow("text passt") << int(dbText) << 5 << QVariant(QStringLiteral("Meier")) << -1
                                    << QVariant(QStringLiteral("Meier"));
        QTest::newRow("text zu lang")
            << int(dbText) << 4 << QVariant(QStringLiteral("Meier")) << int(IssueKind::TextCut)
            << QVariant(QStringLiteral("Meie"));
        QTest::newRow("byte negativ")
            << int(dbByte) << 1 << QVariant(-1) << int(IssueKind::NumberOutOfRange) << QVariant();
        QTest::newRow("byte 255") << int(dbByte) << 1 << QVariant(255) << -1 << QVariant(255);
        QTest::newRow("integer zu gross") << int(dbInteger) << 2 << QVariant(32768)
                                          << int(IssueKind::NumberOutOfRange) << QVariant();
        QTest::newRow("long bruch")
            << int(dbLong) << 4 << QVariant(2.5) << int(IssueKind::NumberRounded) << QVariant(3LL);
        QTest::newRow("long text") << int(dbLong) << 4 << QVariant(QStringLiteral("abc"))
                                   << int(IssueKind::NumberOutOfRange) << QVariant();
        QTest::newRow("waehrung 4 stellen") << int(dbCurrency) << 8 << QVariant(1.23456)
                                            << int(IssueKind::NumberRounded) << QVariant(1.2346);
        QTest::newRow("datum jahr 99") << int(dbDate) << 8 << QVariant(tag(99, 12, 31))
                                       << int(IssueKind::DateOutOfRange) << QVariant();
        QTest::newRow("datum 9999")
            << int(dbDate) << 8 << QVariant(tag(9999, 12, 31)) << -1 << QVariant(tag(9999, 12, 31));
        QTest::newRow("null") << int(dbByte) << 1 << QVariant() << -1 << QVariant();
    }

    void passtInsFeld()
    {
        QFETCH(int, typ);
        QFETCH(int, groesse);
        QFETCH(QVariant, wert);
        QFETCH(int, art);
        QFETCH(QVariant, ergebnis);
        IsamField f;
        f.type = typ;
        f.size = groesse;
        QVariant passend;
        const auto problem = fitToField(f, wert, &passend);
        QCOMPARE(problem ? int(*problem) : -1, art);
        QCOMPARE(passend, ergebnis);
    }
};

QTEST_GUILESS_MAIN(TestPruefbericht)
#include "tst_pruefbericht.moc"
