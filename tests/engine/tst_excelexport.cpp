// A table exported to an .xlsx workbook with SELECT … INTO and read back the same way: what
// the workbook cannot hold is in the verification report, everything else comes back as it was.

#include "engine/Engine.h"
#include "engine/isam/VerificationReport.h"
#include "testutils/TempDir.h"

#include <QtTest>

using namespace kv::engine;

class TestExcelExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hinUndZurueck()
    {
        kv::test::TempDir dir;
        const QString mappe = dir.file(QStringLiteral("aus.xlsx"));
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        db->execute(QStringLiteral(
            "CREATE TABLE Kunden (Nr LONG, Name TEXT(50), Notiz MEMO, Zeit DATETIME, Betrag "
            "CURRENCY)"));
        {
            const QVector<QVariantList> zeilen = {
                { 1, QStringLiteral("Müller & <Söhne>"), QStringLiteral("Zeile 1\r\nZeile 2"),
                    QDateTime(QDate(1899, 12, 30), QTime(7, 45)), 12.34 },
                { 2, QStringLiteral("Glocke\a"), QStringLiteral("ab").repeated(40000),
                    QDateTime(QDate(2024, 2, 29), QTime()), QVariant() },
                { 3, QVariant(), QVariant(), QVariant(), -0.5 },
            };
            auto rs = db->openRecordset(QStringLiteral("Kunden"));
            for (const QVariantList& z : zeilen) {
                rs->addNew();
                for (int i = 0; i < z.size(); ++i)
                    rs->setValue(i, z[i]);
                rs->update();
            }
        }

        isam::VerificationReport bericht;
        db->setVerificationReport(&bericht);
        db->execute(
            QStringLiteral("SELECT * INTO Aus IN '%1' 'Excel 8.0;' FROM Kunden").arg(mappe));
        db->setVerificationReport(nullptr);
        QCOMPARE(db->recordsAffected(), 3);
        QCOMPARE(bericht.tables().size(), 1);
        QCOMPARE(bericht.tables()[0].written, 3);
        // The bell cannot stand in XML; 80,000 characters do not fit a cell.
        QCOMPARE(bericht.entries().size(), 2);
        const isam::ValueIssue& glocke = bericht.entries()[0].issue;
        QCOMPARE(glocke.kind, isam::IssueKind::CharactersMissing);
        QCOMPARE(glocke.row, 3);
        QCOMPARE(glocke.fieldName, QStringLiteral("Name"));
        QCOMPARE(glocke.target.toString(), QStringLiteral("Glocke"));
        const isam::ValueIssue& lang = bericht.entries()[1].issue;
        QCOMPARE(lang.kind, isam::IssueKind::TextCut);
        QCOMPARE(lang.fieldName, QStringLiteral("Notiz"));
        QCOMPARE(lang.target.toString().size(), 32767);

        db->execute(
            QStringLiteral("SELECT * INTO Zurueck FROM Aus IN '%1' 'Excel 8.0;'").arg(mappe));
        auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Zurueck ORDER BY Nr"));
        QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Müller & <Söhne>"));
        QCOMPARE(
            rs->value(QStringLiteral("Notiz")).toString(), QStringLiteral("Zeile 1\r\nZeile 2"));
        // A time alone stays a time of day.
        QCOMPARE(rs->value(QStringLiteral("Zeit")).toDateTime(),
            QDateTime(QDate(1899, 12, 30), QTime(7, 45)));
        QCOMPARE(rs->value(QStringLiteral("Betrag")).toDouble(), 12.34);
        rs->moveNext();
        QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Glocke"));
        QCOMPARE(rs->value(QStringLiteral("Notiz")).toString(),
            QStringLiteral("ab").repeated(16384).left(32767));
        QCOMPARE(rs->value(QStringLiteral("Zeit")).toDateTime().date(), QDate(2024, 2, 29));
        rs->moveNext();
        QVERIFY(rs->value(QStringLiteral("Name")).isNull());
        QCOMPARE(rs->value(QStringLiteral("Betrag")).toDouble(), -0.5);
    }
};

QTEST_GUILESS_MAIN(TestExcelExport)
#include "tst_excelexport.moc"
