// The verification report of an export: offered from the closing message when values did not
// arrive unchanged, shown in a window of its own, saved as CSV.

#include "engine/Database.h"
#include "engine/Workspace.h"
#include "engine/isam/VerificationReport.h"
#include "tables/Pruefberichtdatei.h"
#include "tables/ui/frmImportTabellen.h"
#include "tables/ui/frmPruefbericht.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

using namespace kv;
using namespace kv::engine;

namespace {

QString zelle(const QTableView* t, int zeile, int spalte)
{
    return t->model()->index(zeile, spalte).data().toString();
}

/// Runs f on the report window once it is open (it runs modal from the closing message).
void beimBericht(const std::function<void(frmPruefbericht&)>& f)
{
    QTimer::singleShot(0, qApp, [f] {
        if (auto* w = qobject_cast<frmPruefbericht*>(QApplication::activeModalWidget())) {
            f(*w);
            w->Schliessknopf()->click();
        } else {
            beimBericht(f);
        }
    });
}

} // namespace

class TestPruefbericht : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // An export whose texts do not fit: the closing message keeps its first lines and asks;
    // the window lists the counts and each changed value; its CSV reads back as shown.
    void exportMitGekuerztenTexten()
    {
        kv::test::TempDir dir;
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        db->execute(QStringLiteral("CREATE TABLE Kunden (Nr LONG, Name TEXT(255))"));
        const QString lang(255, QLatin1Char('x'));
        db->execute(QStringLiteral("INSERT INTO Kunden VALUES (1, '%1')").arg(lang));
        db->execute(QStringLiteral("INSERT INTO Kunden VALUES (2, 'Ωmega; \"A\"')"));
        db->execute(QStringLiteral("INSERT INTO Kunden VALUES (3, 'Müller')"));
        const QString ordner = dir.file(QStringLiteral("dbase"));
        QDir().mkpath(ordner);

        kv::test::ScriptedDialoge dlg;
        frmImportTabellen f(*db, true);
        f.List1()->setCurrentRow(0);
        dlg.erwarteDatei(test::gewaehlt(QDir(ordner).filePath(QStringLiteral("x.dbf")), 2));
        f.dateiWaehlen();
        f.Text1()->setText(QStringLiteral("KUNDEN"));

        // First without the window: the message is all there is.
        dlg.erwarteAntwort(Antwort::Ok);
        dlg.erwarteAntwort(Antwort::Nein);
        f.starten();
        const Meldung ende = dlg.letzteMeldung();
        QCOMPARE(ende.knoepfe, Knoepfe::JaNein);
        const QStringList zeilen = ende.text.split(QLatin1Char('\n'));
        QCOMPARE(zeilen.value(0), QStringLiteral("Es wurden 3 Datensätze hinzugefügt!"));
        QCOMPARE(zeilen.value(2), QStringLiteral("KUNDEN: 3 gelesen, 3 geschrieben, 0 abgewiesen"));
        QCOMPARE(zeilen.value(3), QStringLiteral("2 Werte kamen nicht unverändert an:"));
        QVERIFY(
            zeilen.value(4).startsWith(QStringLiteral("KUNDEN, Zeile 1, Feld Name: Text gekürzt")));
        QCOMPARE(zeilen.last(), QStringLiteral("Möchten Sie den vollständigen Prüfbericht sehen?"));
        QVERIFY(!QApplication::activeModalWidget());

        // Again into a new table, now with the window.
        f.Text1()->setText(QStringLiteral("ZWEITE"));
        const QString csv = dir.file(QStringLiteral("bericht.csv"));
        QString gespeichert;
        int zaehlerZeilen = -1;
        QStringList werte;
        QString fehlerText;
        beimBericht([&](frmPruefbericht& w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Prüfbericht"));
            QCOMPARE(w.Speicherknopf()->text(), QStringLiteral("Als CSV speichern …"));
            zaehlerZeilen = w.Zaehler()->model()->rowCount();
            for (int s = 0; s < 4; ++s)
                werte << zelle(w.Zaehler(), 0, s);
            for (int z = 0; z < w.Werte()->model()->rowCount(); ++z)
                for (int s = 0; s < 6; ++s)
                    werte << zelle(w.Werte(), z, s);
            dlg.erwarteDatei(test::gewaehlt(csv));
            w.Speicherknopf()->click();
            QCOMPARE(dlg.dateiDialoge().last().speichern, true);
            QCOMPARE(dlg.dateiDialoge().last().filter, QStringLiteral("CSV-Dateien (*.csv)|*.csv"));
            // A folder that does not exist: the message names the file, nothing is written.
            dlg.erwarteDatei(test::gewaehlt(dir.file(QStringLiteral("fehlt/bericht.csv"))));
            QVERIFY(!w.alsCsvSpeichern());
            fehlerText = dlg.letzteMeldung().text;
            // Cancelling the file dialog writes nothing either.
            dlg.erwarteDatei(DateiDialogErgebnis {});
            QVERIFY(!w.alsCsvSpeichern());
            gespeichert = QStringLiteral("ja");
        });
        dlg.erwarteAntwort(Antwort::Ok);
        dlg.erwarteAntwort(Antwort::Ja);
        f.starten();
        QCOMPARE(gespeichert, QStringLiteral("ja"));
        QCOMPARE(zaehlerZeilen, 1);
        QCOMPARE(werte.mid(0, 4),
            QStringList({ QStringLiteral("ZWEITE"), QStringLiteral("3"), QStringLiteral("3"),
                QStringLiteral("0") }));
        QCOMPARE(werte.size(), 4 + 2 * 6);
        QCOMPARE(werte.mid(4, 6),
            QStringList({ QStringLiteral("ZWEITE"), QStringLiteral("1"), QStringLiteral("Name"),
                QStringLiteral("Text gekürzt"), lang, lang.left(254) }));
        QCOMPARE(werte.mid(10, 5),
            QStringList({ QStringLiteral("ZWEITE"), QStringLiteral("2"), QStringLiteral("Name"),
                QStringLiteral("Zeichen fehlen in der Codeseite"),
                QStringLiteral("Ωmega; \"A\"") }));
        QCOMPARE(werte.at(15), QStringLiteral("?mega; \"A\""));
        QVERIFY2(fehlerText.startsWith(QStringLiteral("Der Prüfbericht konnte nicht in die Datei '")
                     + QDir::toNativeSeparators(dir.file(QStringLiteral("fehlt/bericht.csv")))
                     + QStringLiteral("' gespeichert werden:")),
            qPrintable(fehlerText));
        QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("fehlt"))));

        // The file: UTF-8 with a byte order mark, exactly the report's CSV, quotes where a
        // value holds a semicolon or a quote.
        QFile gelesen(csv);
        QVERIFY(gelesen.open(QIODevice::ReadOnly));
        const QByteArray inhalt = gelesen.readAll();
        QVERIFY(inhalt.startsWith("\xEF\xBB\xBF"));
        const QString text = QString::fromUtf8(inhalt.mid(3));
        QCOMPARE(text, f.austausch().bericht().toCsv());
        const QStringList csvZeilen = text.split(QStringLiteral("\r\n"));
        QCOMPARE(csvZeilen.value(0), QStringLiteral("Tabelle;Gelesen;Geschrieben;Abgewiesen"));
        QCOMPARE(csvZeilen.value(1), QStringLiteral("ZWEITE;3;3;0"));
        QCOMPARE(csvZeilen.value(5),
            QStringLiteral("ZWEITE;2;Name;Zeichen fehlen in der Codeseite;\"Ωmega; \"\"A\"\"\";"
                           "\"?mega; \"\"A\"\"\""));
        QVERIFY(dlg.leer());
    }

    // Beyond the values kept one by one the counts go on; the window says how many it lists
    // and shows refused records after the values.
    void grosserBericht()
    {
        engine::isam::VerificationReport bericht;
        const int anzahl = engine::isam::VerificationReport::MaxEntries + 1;
        for (int i = 1; i <= anzahl; ++i) {
            engine::isam::ValueIssue v;
            v.row = i;
            v.fieldName = QStringLiteral("Betrag");
            v.source = 1.5 * i;
            v.target = i;
            v.kind = engine::isam::IssueKind::NumberRounded;
            bericht.addIssue(QStringLiteral("Posten"), v);
        }
        bericht.countRead(QStringLiteral("Posten"), anzahl + 1);
        bericht.countWritten(QStringLiteral("Posten"), anzahl);
        bericht.refuse(QStringLiteral("Posten"), anzahl + 1, QStringLiteral("Schlüssel doppelt"));

        kv::test::ScriptedDialoge dlg;
        frmPruefbericht w(bericht);
        w.show();
        const int zeilen = engine::isam::VerificationReport::MaxEntries + 1;
        QCOMPARE(w.Werte()->model()->rowCount(), zeilen);
        QCOMPARE(zelle(w.Werte(), 0, 4), QStringLiteral("1.5"));
        QCOMPARE(zelle(w.Werte(), zeilen - 1, 3), QStringLiteral("Datensatz abgewiesen"));
        QCOMPARE(zelle(w.Werte(), zeilen - 1, 4), QStringLiteral("Schlüssel doppelt"));
        QCOMPARE(zelle(w.Werte(), zeilen - 1, 5), QString());
        QCOMPARE(zelle(w.Zaehler(), 0, 3), QStringLiteral("1"));
        bool hinweis = false;
        for (const QLabel* l : w.findChildren<QLabel*>())
            hinweis = hinweis
                || l->text().contains(QStringLiteral("(die ersten 100000 von 100001 Werten)"));
        QVERIFY(hinweis);
        // Escape closes it like "Schließen".
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
    }

    // Writing over an existing report replaces it whole.
    void ueberschreiben()
    {
        kv::test::TempDir dir;
        const QString pfad = dir.file(QStringLiteral("b.csv"));
        {
            QFile alt(pfad);
            QVERIFY(alt.open(QIODevice::WriteOnly));
            alt.write(QByteArray(10000, 'a'));
        }
        engine::isam::VerificationReport leer;
        QCOMPARE(speicherePruefbericht(leer, pfad), QString());
        QFile neu(pfad);
        QVERIFY(neu.open(QIODevice::ReadOnly));
        QCOMPARE(neu.readAll(),
            QByteArray("\xEF\xBB\xBFTabelle;Gelesen;Geschrieben;Abgewiesen\r\n\r\nTabelle;Zeile;"
                       "Feld;Art;Quellwert;Zielwert\r\n"));
    }
};

QTEST_MAIN(TestPruefbericht)
#include "tst_pruefbericht.moc"
