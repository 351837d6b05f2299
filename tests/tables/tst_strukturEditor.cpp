#include "base/Pfade.h"
#include "tables/Definitionstext.h"
#include "tables/StrukturtextBearbeitung.h"
#include "tables/ui/TabellenStrukturEditor.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <unistd.h>

using namespace kv;

class TestStrukturEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void starttext_data();
    void starttext();
    void speichertUnveraendertUnterNeuemNamen_data();
    void speichertUnveraendertUnterNeuemNamen();
    void vorhandeneDateiBleibtIhreDatei();
    void fremdeDateiWirdNurNachFrageErsetzt();
    void ungueltigerNameWirdAbgelehnt();
    void fehlerBeimOeffnen_data();
    void fehlerBeimOeffnen();
    void schliessenFragt_data();
    void schliessenFragt();
    void jaMitMisslungenemSpeichernBleibtOffen();
    void fenster();
    void oeffnenMitSchriftUndDatenbankDesAufrufers();
};

namespace {
QByteArray inhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

void anlegen(const QString& pfad, const QByteArray& bytes)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

const QString Schliessfrage
    = QStringLiteral("Möchten Sie die Änderungen in der Strukturdatei speichern?");
} // namespace

void TestStrukturEditor::starttext_data()
{
    QTest::addColumn<bool>("maske");
    QTest::addColumn<QString>("text");
    QTest::newRow("Tabellenansicht")
        << false
        << "KV-Tabelle: Standardtabelle Kunden Alt\r\nTabellenTitel: Kunden Alt\r\n"
           "VideoleisteAnzeige: 1\r\nFunktionsleisteAnzeige: 2\r\n"
           "SQL: SELECT * From [Kunden Alt]\r\n";
    QTest::newRow("Maske") << true
                           << "KV-Maske: Standardmaske Kunden Alt\r\nVirtuell: 1\r\n"
                              "Bedienelemente: Oben\r\nFeldbeschriftung: 0;-500;7\r\n"
                              "VideoleisteAnzeige: 1\r\nFunktionsleisteAnzeige: 1\r\n"
                              "SQL: SELECT * From [Kunden Alt]\r\n";
}

void TestStrukturEditor::starttext()
{
    QFETCH(bool, maske);
    QFETCH(QString, text);
    const StrukturtextBearbeitung b(
        maske, QStringLiteral("Kunden Alt"), QString(), QString(), QStringLiteral("/x/A.mdb"));
    QCOMPARE(b.text(), text);
    QCOMPARE(b.name(), QString());
    QVERIFY(!b.geaendert());
    QCOMPARE(b.titel(),
        maske ? QStringLiteral("Maskenstruktur bearbeiten")
              : QStringLiteral("Tabellenstruktur bearbeiten"));
    // A given text is taken as it is.
    const StrukturtextBearbeitung mitText(
        maske, QStringLiteral("Kunden"), QStringLiteral("SQL: x"), QString(), QString());
    QCOMPARE(mitText.text(), QStringLiteral("SQL: x"));
}

void TestStrukturEditor::speichertUnveraendertUnterNeuemNamen_data()
{
    QTest::addColumn<bool>("maske");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("datei");
    QTest::newRow("ohne Namen") << false << ""
                                << "Adressen_KELVAD_OhneNamen0002.TSK";
    QTest::newRow("Blanks um den Namen") << false << "  Kunden "
                                         << "Adressen_KELVAD_Kunden.TSK";
    QTest::newRow("Maske mit Endung") << true << "Bäcker.msk"
                                      << "Adressen_KELVAD_Bäcker.msk";
    QTest::newRow("Maske ohne Namen") << true << ""
                                      << "Adressen_KELVAD_OhneNamen0001.MSK";
}

void TestStrukturEditor::speichertUnveraendertUnterNeuemNamen()
{
    QFETCH(bool, maske);
    QFETCH(QString, name);
    QFETCH(QString, datei);
    test::TempDir dir;
    test::ScriptedDialoge dialoge;
    const QString db = dir.file(QStringLiteral("Adressen.mdb"));
    anlegen(dir.file(QStringLiteral("Adressen_KELVAD_OhneNamen0001.TSK")), "KV-Tabelle: alt\r\n");

    StrukturtextBearbeitung b(maske, QStringLiteral("Kunden"), QString(), QString(), db);
    b.setzeName(name);
    // The window's text edit gives lone line feeds; the file gets CR LF and Windows-1252.
    b.setzeText(QStringLiteral("KV-Tabelle: Übersicht €\nSQL:  SELECT *  From [Kunden] \n\n"));
    QVERIFY(b.geaendert());
    QVERIFY(b.speichern());
    QCOMPARE(b.datei(), dir.file(datei));
    QCOMPARE(Dateiname(b.datei()), datei);
    QVERIFY(!b.geaendert());
    QCOMPARE(inhalt(b.datei()),
        QByteArray("KV-Tabelle: \xDC"
                   "bersicht \x80\r\nSQL:  SELECT *  From [Kunden] \r\n\r\n"));
    QVERIFY(dialoge.meldungen().isEmpty());
    QCOMPARE(b.name(), Dateiname(datei).section(QLatin1Char('.'), 0, 0).mid(16));
    // Nothing else was written beside the database.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

void TestStrukturEditor::vorhandeneDateiBleibtIhreDatei()
{
    test::TempDir dir;
    test::ScriptedDialoge dialoge;
    const QString db = dir.file(QStringLiteral("Adressen.mdb"));
    const QString datei = dir.file(QStringLiteral("Adressen_KELVAD_Kunden.tsk"));
    anlegen(datei, "KV-Tabelle: alt\r\n");
    StrukturtextBearbeitung b(
        false, QStringLiteral("Kunden"), QStringLiteral("KV-Tabelle: alt\r\n"), datei, db);
    QCOMPARE(b.name(), QStringLiteral("Kunden"));
    QVERIFY(!b.geaendert());
    b.setzeText(QStringLiteral("KV-Tabelle: neu\n"));
    QVERIFY(b.speichern());
    // Written over itself without a question, not as a second file with an upper-case extension.
    QCOMPARE(b.datei(), datei);
    QCOMPARE(inhalt(datei), QByteArray("KV-Tabelle: neu\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    QVERIFY(dialoge.meldungen().isEmpty());
}

void TestStrukturEditor::fremdeDateiWirdNurNachFrageErsetzt()
{
    test::TempDir dir;
    test::ScriptedDialoge dialoge;
    const QString db = dir.file(QStringLiteral("Adressen.mdb"));
    const QString fremd = dir.file(QStringLiteral("Adressen_KELVAD_Lieferanten.TSK"));
    anlegen(fremd, "KV-Tabelle: Lieferanten\r\n");
    StrukturtextBearbeitung b(
        false, QStringLiteral("Kunden"), QStringLiteral("KV-Tabelle: Kunden"), QString(), db);
    b.setzeName(QStringLiteral("Lieferanten"));

    dialoge.erwarteAntwort(Antwort::Nein);
    QVERIFY(!b.speichern());
    QCOMPARE(inhalt(fremd), QByteArray("KV-Tabelle: Lieferanten\r\n"));
    QVERIFY(b.geaendert());
    const Meldung frage = dialoge.letzteMeldung();
    QCOMPARE(frage.text,
        QStringLiteral("Die Datei\n\n") + fremd
            + QStringLiteral("\n\nist bereits vorhanden. Möchten Sie sie ersetzen?"));
    QCOMPARE(frage.knoepfe, Knoepfe::JaNein);
    QCOMPARE(frage.standardKnopf, 2);

    dialoge.erwarteAntwort(Antwort::Ja);
    QVERIFY(b.speichern());
    QCOMPARE(inhalt(fremd), QByteArray("KV-Tabelle: Kunden"));
    // From now on it is the editor's own file.
    b.setzeText(QStringLiteral("KV-Tabelle: Kunden 2"));
    QVERIFY(b.speichern());
    QCOMPARE(dialoge.meldungen().size(), 2);
}

void TestStrukturEditor::ungueltigerNameWirdAbgelehnt()
{
    test::TempDir dir;
    test::ScriptedDialoge dialoge;
    StrukturtextBearbeitung b(false, QStringLiteral("Kunden"), QString(), QString(),
        dir.file(QStringLiteral("Adressen.mdb")));
    b.setzeName(QStringLiteral("../Kunden"));
    QVERIFY(!b.speichern());
    QVERIFY(dialoge.letzteMeldung().text.startsWith(QStringLiteral("Der Name darf keines")));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TestStrukturEditor::fehlerBeimOeffnen_data()
{
    QTest::addColumn<bool>("schreibgeschuetzt");
    QTest::newRow("Ordner fehlt") << false;
    QTest::newRow("Ordner schreibgeschützt") << true;
}

void TestStrukturEditor::fehlerBeimOeffnen()
{
    QFETCH(bool, schreibgeschuetzt);
    test::TempDir dir;
    test::ScriptedDialoge dialoge;
    QString ordner = dir.file(QStringLiteral("fehlt"));
    if (schreibgeschuetzt) {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        ordner = dir.file(QStringLiteral("nurlesen"));
        QVERIFY(QDir().mkpath(ordner));
        QVERIFY(QFile::setPermissions(ordner, QFile::ReadOwner | QFile::ExeOwner));
    }
    StrukturtextBearbeitung b(true, QStringLiteral("Kunden"), QString(), QString(),
        ordner + QStringLiteral("/Adressen.mdb"));
    b.setzeText(QStringLiteral("KV-Maske: x"));
    QVERIFY(!b.speichern());
    QVERIFY(b.geaendert());
    QCOMPARE(b.datei(), QString());
    const Meldung m = dialoge.letzteMeldung();
    QCOMPARE(m.knoepfe, Knoepfe::Ok);
    const QStringList zeilen = m.text.split(QLatin1Char('\n'));
    QCOMPARE(zeilen.size(), 4);
    QCOMPARE(zeilen[0], QStringLiteral("Fehler beim Öffnen der Strukturdatei!"));
    QCOMPARE(zeilen[1], QString());
    QVERIFY(zeilen[2].startsWith(QStringLiteral("Nr: ")));
    QVERIFY(zeilen[2].mid(4).toInt() > 0);
    QVERIFY(zeilen[3].startsWith(QStringLiteral("Beschreibung: ")));
    QVERIFY(zeilen[3].size() > 14);

    // The designers' form of the same failure.
    const std::optional<QString> maske = schreibeDefinitionstext(
        ordner + QStringLiteral("/Adressen_KELVAD_M.MSK"), QStringLiteral("x"), Maskendatei);
    QVERIFY(maske);
    QVERIFY(maske->startsWith(QStringLiteral("Fehler beim Öffnen der Maskendatei!\n\nNr: ")));
    if (schreibgeschuetzt)
        QFile::setPermissions(ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestStrukturEditor::schliessenFragt_data()
{
    QTest::addColumn<int>("antwort");
    QTest::addColumn<bool>("schliessen");
    QTest::addColumn<bool>("geschrieben");
    QTest::newRow("Ja") << int(Antwort::Ja) << true << true;
    QTest::newRow("Nein") << int(Antwort::Nein) << true << false;
    QTest::newRow("Abbrechen") << int(Antwort::Abbrechen) << false << false;
}

void TestStrukturEditor::schliessenFragt()
{
    QFETCH(int, antwort);
    QFETCH(bool, schliessen);
    QFETCH(bool, geschrieben);
    test::TempDir dir;
    test::ScriptedDialoge dialoge;
    const QString db = dir.file(QStringLiteral("Adressen.mdb"));
    StrukturtextBearbeitung b(false, QStringLiteral("Kunden"), QString(), QString(), db);
    // Nothing changed: no question.
    QVERIFY(b.schliessenErlaubt());
    QVERIFY(dialoge.meldungen().isEmpty());

    b.setzeName(QStringLiteral("Kunden"));
    dialoge.erwarteAntwort(static_cast<Antwort>(antwort));
    QCOMPARE(b.schliessenErlaubt(), schliessen);
    const Meldung frage = dialoge.meldungen().value(0);
    QCOMPARE(frage.text, Schliessfrage);
    QCOMPARE(frage.knoepfe, Knoepfe::JaNeinAbbrechen);
    QCOMPARE(frage.symbol, Symbol::Frage);
    QCOMPARE(dialoge.meldungen().size(), 1);
    const QString datei = dir.file(QStringLiteral("Adressen_KELVAD_Kunden.TSK"));
    QCOMPARE(QFile::exists(datei), geschrieben);
    QCOMPARE(b.geaendert(), !geschrieben);
    if (geschrieben)
        QCOMPARE(inhalt(datei),
            starttextDefinition(Definitionsart::Tabelle, QStringLiteral("Kunden")).toLatin1());
}

void TestStrukturEditor::jaMitMisslungenemSpeichernBleibtOffen()
{
    test::TempDir dir;
    test::ScriptedDialoge dialoge;
    StrukturtextBearbeitung b(false, QStringLiteral("Kunden"), QString(), QString(),
        dir.file(QStringLiteral("fehlt/Adressen.mdb")));
    b.setzeText(QStringLiteral("x"));
    dialoge.erwarteAntwort(Antwort::Ja);
    QVERIFY(!b.schliessenErlaubt());
    QCOMPARE(dialoge.meldungen().size(), 2);
    QVERIFY(dialoge.letzteMeldung().text.startsWith(
        QStringLiteral("Fehler beim Öffnen der Strukturdatei!")));
    QVERIFY(b.geaendert());
}

void TestStrukturEditor::fenster()
{
    test::TempDir dir;
    test::ScriptedDialoge dialoge;
    const QString db = dir.file(QStringLiteral("Adressen.mdb"));
    const QString datei = dir.file(QStringLiteral("Adressen_KELVAD_Kunden.MSK"));
    anlegen(datei, "KV-Maske: Kunden\r\nSQL: SELECT * From [Kunden]\r\n");
    TabellenStrukturEditor editor(true, QStringLiteral("Kunden"),
        QStringLiteral("KV-Maske: Kunden\r\nSQL: SELECT * From [Kunden]\r\n"), datei, db);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.windowTitle(), QStringLiteral("Maskenstruktur bearbeiten"));
    auto* name = editor.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* text = editor.findChild<QPlainTextEdit*>(QStringLiteral("Text2"));
    auto* speichern = editor.findChild<QPushButton*>(QStringLiteral("Speichern"));
    auto* schliessen = editor.findChild<QPushButton*>(QStringLiteral("Schliessen"));
    QVERIFY(name && text && speichern && schliessen);
    QCOMPARE(name->text(), QStringLiteral("Kunden"));
    QCOMPARE(
        text->toPlainText(), QStringLiteral("KV-Maske: Kunden\nSQL: SELECT * From [Kunden]\n"));
    QVERIFY(!editor.bearbeitung().geaendert());

    // Closing unchanged asks nothing.
    text->moveCursor(QTextCursor::End);
    QTest::keyClicks(text, QStringLiteral("EingabeText: 0;Ort;Ort"));
    QVERIFY(editor.bearbeitung().geaendert());

    // Cancel keeps the window open; Escape asks the same question.
    dialoge.erwarteAntwort(Antwort::Abbrechen);
    schliessen->click();
    QVERIFY(editor.isVisible());
    dialoge.erwarteAntwort(Antwort::Abbrechen);
    QTest::keyClick(&editor, Qt::Key_Escape);
    QVERIFY(editor.isVisible());
    QCOMPARE(dialoge.texte(), QStringList({ Schliessfrage, Schliessfrage }));

    speichern->click();
    QVERIFY(!editor.isVisible());
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QCOMPARE(inhalt(datei),
        QByteArray("KV-Maske: Kunden\r\nSQL: SELECT * From [Kunden]\r\nEingabeText: 0;Ort;Ort"));
    QCOMPARE(dialoge.meldungen().size(), 2);

    // A new table view: the start text, and the name that saving gave it.
    TabellenStrukturEditor neu(false, QStringLiteral("Orte"), QString(), QString(), db);
    neu.show();
    auto* neuName = neu.findChild<QLineEdit*>(QStringLiteral("Text1"));
    QCOMPARE(neu.windowTitle(), QStringLiteral("Tabellenstruktur bearbeiten"));
    QVERIFY(neu.findChild<QPlainTextEdit*>(QStringLiteral("Text2"))
                ->toPlainText()
                .startsWith(QStringLiteral("KV-Tabelle: Standardtabelle Orte\n")));
    QCOMPARE(neuName->text(), QString());
    neu.findChild<QPushButton*>(QStringLiteral("Speichern"))->click();
    QCOMPARE(neuName->text(), QStringLiteral("OhneNamen0001"));
    QVERIFY(QFile::exists(dir.file(QStringLiteral("Adressen_KELVAD_OhneNamen0001.TSK"))));
}

void TestStrukturEditor::oeffnenMitSchriftUndDatenbankDesAufrufers()
{
    // The caller (the main window) passes the program's font and the open database; the
    // editor writes a new definition beside that database.
    test::TempDir dir;
    test::ScriptedDialoge dialoge;
    const QString db = dir.file(QStringLiteral("Adressen.mdb"));
    QFont schrift(QStringLiteral("Serif"), 17);
    schrift.setItalic(true);
    QFont gezeigt;
    QString titel;
    QTimer::singleShot(0, this, [&] {
        TabellenStrukturEditor* editor = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* e = qobject_cast<TabellenStrukturEditor*>(w); e && e->isVisible())
                editor = e;
        if (!editor)
            return; // the check of the title below fails
        gezeigt = editor->font();
        titel = editor->windowTitle();
        editor->findChild<QPushButton*>(QStringLiteral("Speichern"))->click();
    });
    TabellenStrukturEditor::oeffne(
        false, QStringLiteral("Orte"), QString(), QString(), db, schrift, nullptr);
    QCOMPARE(titel, QStringLiteral("Tabellenstruktur bearbeiten"));
    QCOMPARE(gezeigt, schrift);
    QVERIFY(QFile::exists(dir.file(QStringLiteral("Adressen_KELVAD_OhneNamen0001.TSK"))));
    QVERIFY(dialoge.meldungen().isEmpty());
}

QTEST_MAIN(TestStrukturEditor)
#include "tst_strukturEditor.moc"
