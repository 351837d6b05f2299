#include "testutils/Fensterschritt.h"
#include "testutils/TempDir.h"
#include "widgets/QtDialoge.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <functional>

using namespace kv;

namespace {

template <typename Dialog> void beimNaechstenDialog(std::function<void(Dialog*)> schritt)
{
    test::beimNaechstenFenster<Dialog>(std::move(schritt));
}

/// Waits in a file dialog until its list shows the folder's entries, so that what a step selects
/// is not undone by the list arriving later.
void warteAufOrdner(QFileDialog* d, const QString& ordner, int eintraege)
{
    auto* modell = d->findChild<QFileSystemModel*>();
    QVERIFY(modell);
    QTRY_COMPARE(modell->rowCount(modell->index(ordner)), eintraege);
}

QAbstractButton* knopfMitText(QMessageBox* box, const QString& text)
{
    for (QAbstractButton* b : box->buttons()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

QStringList sortiert(QStringList l)
{
    l.sort();
    return l;
}

} // namespace

class TestQtDialoge : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void meldung_data()
    {
        QTest::addColumn<int>("knoepfe");
        QTest::addColumn<int>("standardKnopf");
        QTest::addColumn<QStringList>("texte");
        QTest::addColumn<QString>("standardText");
        QTest::addColumn<QString>("klick"); // empty: press Escape
        QTest::addColumn<int>("antwort");

        const QString ok = QStringLiteral("OK"), abbr = QStringLiteral("Abbrechen"),
                      ja = QStringLiteral("&Ja"), nein = QStringLiteral("&Nein");
        QTest::newRow("OK") << int(Knoepfe::Ok) << 1 << QStringList { ok } << ok << ok
                            << int(Antwort::Ok);
        QTest::newRow("OK Escape")
            << int(Knoepfe::Ok) << 1 << QStringList { ok } << ok << QString() << int(Antwort::Ok);
        QTest::newRow("OK/Abbrechen, Abbrechen vorgewählt")
            << int(Knoepfe::OkAbbrechen) << 2 << QStringList { ok, abbr } << abbr << ok
            << int(Antwort::Ok);
        QTest::newRow("OK/Abbrechen Escape")
            << int(Knoepfe::OkAbbrechen) << 1 << QStringList { ok, abbr } << ok << QString()
            << int(Antwort::Abbrechen);
        QTest::newRow("Ja/Nein, Nein vorgewählt")
            << int(Knoepfe::JaNein) << 2 << QStringList { ja, nein } << nein << ja
            << int(Antwort::Ja);
        QTest::newRow("Ja/Nein Escape") << int(Knoepfe::JaNein) << 1 << QStringList { ja, nein }
                                        << ja << QString() << int(Antwort::Nein);
        QTest::newRow("Ja/Nein/Abbrechen")
            << int(Knoepfe::JaNeinAbbrechen) << 3 << QStringList { ja, nein, abbr } << abbr << nein
            << int(Antwort::Nein);
        QTest::newRow("Ja/Nein/Abbrechen Escape")
            << int(Knoepfe::JaNeinAbbrechen) << 1 << QStringList { ja, nein, abbr } << ja
            << QString() << int(Antwort::Abbrechen);
        QTest::newRow("Vorwahl außerhalb") << int(Knoepfe::JaNein) << 7 << QStringList { ja, nein }
                                           << ja << nein << int(Antwort::Nein);
    }

    void meldung()
    {
        QFETCH(int, knoepfe);
        QFETCH(int, standardKnopf);
        QFETCH(QStringList, texte);
        QFETCH(QString, standardText);
        QFETCH(QString, klick);
        QFETCH(int, antwort);

        QStringList gezeigteTexte;
        QString gezeigterStandard, titel, text;
        QMessageBox::Icon symbol = QMessageBox::NoIcon;
        beimNaechstenDialog<QMessageBox>([&](QMessageBox* box) {
            for (QAbstractButton* b : box->buttons())
                gezeigteTexte.append(b->text());
            gezeigterStandard = box->defaultButton() ? box->defaultButton()->text() : QString();
            titel = box->windowTitle();
            text = box->text();
            symbol = box->icon();
            if (klick.isEmpty())
                QTest::keyClick(box, Qt::Key_Escape);
            else if (QAbstractButton* b = knopfMitText(box, klick))
                b->click();
            else
                box->reject();
        });

        QtDialoge dialoge;
        const Antwort a = dialoge.meldung(
            Meldung { QStringLiteral("Erste Zeile\nZweite Zeile"), QStringLiteral("Index löschen"),
                static_cast<Knoepfe>(knoepfe), Symbol::Frage, standardKnopf });
        QCOMPARE(sortiert(gezeigteTexte), sortiert(texte));
        QCOMPARE(gezeigterStandard, standardText);
        QCOMPARE(titel, QStringLiteral("Index löschen"));
        QCOMPARE(text, QStringLiteral("Erste Zeile\nZweite Zeile"));
        QCOMPARE(symbol, QMessageBox::Question);
        QCOMPARE(int(a), antwort);
    }

    void meldungOhneTitel()
    {
        QString titel;
        beimNaechstenDialog<QMessageBox>([&](QMessageBox* box) {
            titel = box->windowTitle();
            box->accept();
        });
        Meldung m;
        m.text = QStringLiteral("Hallo");
        QtDialoge(QStringLiteral("Kelvado")).meldung(m);
        QCOMPARE(titel, QStringLiteral("Kelvado"));
    }

    void eingabe()
    {
        QStringList knopfTexte;
        QString vorgabe;
        beimNaechstenDialog<QInputDialog>([&](QInputDialog* d) {
            for (QAbstractButton* b : d->findChild<QDialogButtonBox*>()->buttons())
                knopfTexte.append(b->text());
            vorgabe = d->textValue();
            d->setTextValue(QStringLiteral("geheim"));
            d->accept();
        });
        QtDialoge dialoge;
        QCOMPARE(dialoge.eingabe(QStringLiteral("Passwort:"), QStringLiteral("Passworteingabe"),
                     QStringLiteral("vor")),
            std::optional<QString>(QStringLiteral("geheim")));
        QCOMPARE(sortiert(knopfTexte), QStringList({ "Abbrechen", "OK" }));
        QCOMPARE(vorgabe, QStringLiteral("vor"));

        beimNaechstenDialog<QInputDialog>([](QInputDialog* d) { d->reject(); });
        QCOMPARE(dialoge.eingabe(QStringLiteral("Passwort:"), QString(), QString()), std::nullopt);
    }

    void namensfilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("erwartet");
        QTest::newRow("leer") << QString() << QStringList();
        QTest::newRow("zwei Einträge")
            << QStringLiteral("Access-Datenbanken (*.mdb)|*.mdb;*.MDB|Alle Dateien (*.*)|*.*")
            << QStringList { QStringLiteral("Access-Datenbanken (*.mdb) (*.mdb *.MDB)"),
                   QStringLiteral("Alle Dateien (*.*) (*)") };
        QTest::newRow("Blanks und leere Muster")
            << QStringLiteral(" Text | *.txt ; ;*.asc |") << QStringList { "Text (*.txt *.asc)" };
        QTest::newRow("Text ohne Muster") << QStringLiteral("dBASE IV|*.dbf|Rest")
                                          << QStringList { "dBASE IV (*.dbf)", "Rest (*)" };
    }

    void namensfilter()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, erwartet);
        QCOMPARE(QtDialoge::namensfilter(filter), erwartet);
    }

    void dateiOeffnen()
    {
        test::TempDir dir;
        for (const char* name : { "a.mdb", "b.txt" }) {
            QFile f(dir.file(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        DateiDialogOptionen o;
        o.titel = QStringLiteral("Datenbank öffnen");
        o.filter = QStringLiteral("Texte|*.txt|Access|*.mdb;*.MDB");
        o.filterIndex = 2;
        o.startVerzeichnis = dir.path();
        o.dateiname = QStringLiteral("a.mdb");
        o.schreibgeschuetztAnzeigen = true;

        QString titel, vorgewaehlterFilter;
        QStringList filter;
        bool kastenDa = false;
        beimNaechstenDialog<QFileDialog>([&](QFileDialog* d) {
            titel = d->windowTitle();
            filter = d->nameFilters();
            vorgewaehlterFilter = d->selectedNameFilter();
            const auto kaesten = d->findChildren<QCheckBox*>();
            for (QCheckBox* k : kaesten) {
                if (k->text() == QtDialoge::schreibgeschuetztText()) {
                    kastenDa = k->isVisible();
                    k->setChecked(true);
                }
            }
            // A failed step must not leave the dialog open.
            const auto zu = qScopeGuard([d] {
                if (d->isVisible())
                    d->reject();
            });
            // Only the preselected filter's file shows once the folder is read.
            warteAufOrdner(d, dir.path(), 1);
            d->selectNameFilter(filter.value(0));
            d->selectFile(dir.file(QStringLiteral("b.txt")));
            QTRY_COMPARE(d->selectedFiles(), QStringList { dir.file(QStringLiteral("b.txt")) });
            static_cast<QDialog*>(d)->accept(); // QFileDialog hides it
        });
        const DateiDialogErgebnis e = QtDialoge().dateiDialog(o);
        QCOMPARE(titel, QStringLiteral("Datenbank öffnen"));
        QCOMPARE(filter, QStringList({ "Texte (*.txt)", "Access (*.mdb *.MDB)" }));
        // Qt reports the chosen filter without the pattern group it hides.
        QCOMPARE(vorgewaehlterFilter, QStringLiteral("Access"));
        QVERIFY(kastenDa);
        QVERIFY(!e.abgebrochen);
        QCOMPARE(e.pfad, dir.file(QStringLiteral("b.txt")));
        QCOMPARE(e.filterIndex, 1);
        QVERIFY(e.schreibgeschuetzt);
    }

    void ueberschreibfrage_data()
    {
        QTest::addColumn<bool>("fragen");
        QTest::newRow("fragt") << true;
        QTest::newRow("fragt nicht") << false;
    }

    void ueberschreibfrage()
    {
        // A caller that answers an existing file itself turns the dialog's question off.
        QFETCH(bool, fragen);
        DateiDialogOptionen o;
        o.speichern = true;
        o.ueberschreibenFragen = fragen;
        bool fragtSelbst = !fragen;
        beimNaechstenDialog<QFileDialog>([&](QFileDialog* d) {
            fragtSelbst = !d->testOption(QFileDialog::DontConfirmOverwrite);
            d->reject();
        });
        QVERIFY(QtDialoge().dateiDialog(o).abgebrochen);
        QCOMPARE(fragtSelbst, fragen);
    }

    void ordnerWaehlen()
    {
        test::TempDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Ziel")));
        QFile f(dir.file(QStringLiteral("datei.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        DateiDialogOptionen o;
        o.ordner = true;
        o.titel = QStringLiteral("Zielverzeichnis");
        o.startVerzeichnis = dir.path();
        o.filter = QStringLiteral("Texte|*.txt");
        o.schreibgeschuetztAnzeigen = true; // not for folders
        bool nurOrdner = false, kastenDa = true;
        beimNaechstenDialog<QFileDialog>([&](QFileDialog* d) {
            const auto zu = qScopeGuard([d] {
                if (d->isVisible())
                    d->reject();
            });
            nurOrdner = d->fileMode() == QFileDialog::Directory
                && d->testOption(QFileDialog::ShowDirsOnly);
            kastenDa = d->findChild<QCheckBox*>() != nullptr;
            warteAufOrdner(d, dir.path(), 1);
            // The user goes into the folder and chooses it.
            d->setDirectory(dir.file(QStringLiteral("Ziel")));
            QTRY_COMPARE(d->selectedFiles(), QStringList { dir.file(QStringLiteral("Ziel")) });
            static_cast<QDialog*>(d)->accept();
        });
        const DateiDialogErgebnis e = QtDialoge().dateiDialog(o);
        QVERIFY(nurOrdner);
        QVERIFY(!kastenDa);
        QVERIFY(!e.abgebrochen);
        QCOMPARE(e.pfad, dir.file(QStringLiteral("Ziel")));
    }

    void dateiSpeichernAbgebrochen()
    {
        DateiDialogOptionen o;
        o.speichern = true;
        o.filter = QStringLiteral("Texte|*.txt");
        o.filterIndex = 1;
        o.schreibgeschuetzt = false;
        o.schreibgeschuetztAnzeigen = true; // ignored for saving
        bool kastenDa = true;
        beimNaechstenDialog<QFileDialog>([&](QFileDialog* d) {
            kastenDa = d->findChild<QCheckBox*>() != nullptr
                && d->findChild<QCheckBox*>()->text() == QtDialoge::schreibgeschuetztText();
            d->reject();
        });
        const DateiDialogErgebnis e = QtDialoge().dateiDialog(o);
        QVERIFY(!kastenDa);
        QVERIFY(e.abgebrochen);
        QCOMPARE(e.filterIndex, 1);
    }
};

QTEST_MAIN(TestQtDialoge)
#include "tst_qtdialoge.moc"
