#include "Programmumgebung.h"
#include "base/Programmverzeichnis.h"
#include "shell/Befehlstabelle.h"
#include "shell/Datenbankbefehle.h"
#include "shell/Einstellungen.h"
#include "shell/Leistenlayout.h"
#include "shell/Tastenbelegung.h"
#include "shell/ui/Befehlsauswahl.h"
#include "shell/ui/frmAnpassen.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmTastatur.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kv;

namespace {

QKeySequence taste(const char* text)
{
    return QKeySequence::fromString(QString::fromUtf8(text), QKeySequence::PortableText);
}

// The keys of a command as "Ctrl+N, F9".
QString tastenText(const Tastenbelegung& b, const QString& befehl)
{
    QStringList t;
    for (const QKeySequence& k : b.tasten(befehl))
        t.append(k.toString(QKeySequence::PortableText));
    return t.join(QStringLiteral(", "));
}

class Befehlsprotokoll : public Datenbankbefehle {
public:
    explicit Befehlsprotokoll(QStringList& p)
        : m_p(p)
    { }
    void schliessen() override { m_p.append(QStringLiteral("schliessen")); }
    void neu() override { m_p.append(QStringLiteral("neu")); }
    void transaktionBeginnen() override { m_p.append(QStringLiteral("beginnen")); }

private:
    QStringList& m_p;
};

void waehleBefehl(Befehlsauswahl* auswahl, int kategorie, const QString& text)
{
    auswahl->kategorien()->setCurrentRow(kategorie);
    const QList<QListWidgetItem*> gefunden = auswahl->befehle()->findItems(text, Qt::MatchExactly);
    QVERIFY2(!gefunden.isEmpty(), qPrintable(text));
    auswahl->befehle()->setCurrentItem(gefunden.constFirst());
}

} // namespace

class TestTastenbelegung : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void vorgaben();
    void sperren_data();
    void sperren();
    void zuweisenUndEntfernen();
    void beschaedigt_data();
    void beschaedigt();
    void dialog();
    void ueberNeustart();

private:
    std::unique_ptr<test::Programmumgebung> m_umgebung;
};

void TestTastenbelegung::init()
{
    m_umgebung = std::make_unique<test::Programmumgebung>();
}

void TestTastenbelegung::cleanup()
{
    QVERIFY(m_umgebung->dialoge.leer());
    m_umgebung.reset();
}

void TestTastenbelegung::vorgaben()
{
    const Tastenbelegung b;
    QCOMPARE(tastenText(b, QStringLiteral("dateineu")), QStringLiteral("Ctrl+N"));
    QCOMPARE(tastenText(b, QStringLiteral("miÜberlappend")), QStringLiteral("Shift+F5"));
    QCOMPARE(b.inhaber(taste("F12")), QStringLiteral("bearbeitendatenzentrale"));
    QCOMPARE(b.inhaber(taste("Ctrl+K")), QString());
    QVERIFY(Tastenbelegung::belegbar(QStringLiteral("transaktionbeginnen")));
    for (const char* nicht : { "Historie01", "Historie", "Hilfstext", "mpTextaus", "gibtsnicht" })
        QVERIFY2(!Tastenbelegung::belegbar(QString::fromUtf8(nicht)), nicht);
    // The designed keys themselves are assignable.
    for (const Befehl& befehl : Befehlstabelle()) {
        for (const QKeySequence& k : b.tasten(befehl.name))
            QCOMPARE(Tastenbelegung::sperre(k).grund, Tastensperre::Grund::Keine);
    }
}

void TestTastenbelegung::sperren_data()
{
    QTest::addColumn<QString>("taste");
    QTest::addColumn<int>("grund");
    QTest::addColumn<QString>("menue");
    using G = Tastensperre::Grund;

    QTest::newRow("Strg+K") << "Ctrl+K" << int(G::Keine) << "";
    QTest::newRow("F11 allein") << "F11" << int(G::Keine) << "";
    QTest::newRow("Umschalt+F11") << "Shift+F11" << int(G::Keine) << "";
    QTest::newRow("Strg+Alt+B") << "Ctrl+Alt+B" << int(G::Keine) << "";
    QTest::newRow("Buchstabe") << "A" << int(G::OhneStrgAlt) << "";
    QTest::newRow("Umschalt+Buchstabe") << "Shift+A" << int(G::OhneStrgAlt) << "";
    QTest::newRow("Eingabe") << "Return" << int(G::OhneStrgAlt) << "";
    QTest::newRow("F3 der Suche") << "F3" << int(G::Arbeitsfenster) << "";
    QTest::newRow("Alt+K der Masken") << "Alt+K" << int(G::Arbeitsfenster) << "";
    QTest::newRow("Kopieren") << "Ctrl+C" << int(G::Arbeitsfenster) << "";
    QTest::newRow("Menü Bearbeiten") << "Alt+B" << int(G::Menue) << "Bearbeiten";
    QTest::newRow("Menü Fenster") << "Alt+F" << int(G::Menue) << "Fenster";
    QTest::newRow("leer") << "" << int(G::Leer) << "";
}

void TestTastenbelegung::sperren()
{
    QFETCH(QString, taste);
    QFETCH(int, grund);
    QFETCH(QString, menue);
    const Tastensperre s
        = Tastenbelegung::sperre(QKeySequence::fromString(taste, QKeySequence::PortableText));
    QCOMPARE(int(s.grund), grund);
    QCOMPARE(s.menue, menue);
    Tastenbelegung b;
    QCOMPARE(b.zuweisen(QStringLiteral("dateischließen"),
                 QKeySequence::fromString(taste, QKeySequence::PortableText)),
        grund == int(Tastensperre::Grund::Keine));
}

void TestTastenbelegung::zuweisenUndEntfernen()
{
    Tastenbelegung b;
    QVERIFY(b.zuweisen(QStringLiteral("dateischließen"), taste("Ctrl+K")));
    QCOMPARE(b.inhaber(taste("Ctrl+K")), QStringLiteral("dateischließen"));
    // Only the first key press of a sequence counts.
    QVERIFY(b.zuweisen(QStringLiteral("dateischließen"), taste("Ctrl+L, Ctrl+M")));
    QCOMPARE(tastenText(b, QStringLiteral("dateischließen")), QStringLiteral("Ctrl+K, Ctrl+L"));

    // Moving a key takes it from its holder.
    QVERIFY(b.zuweisen(QStringLiteral("Ende"), taste("Ctrl+N")));
    QCOMPARE(tastenText(b, QStringLiteral("dateineu")), QString());
    QCOMPARE(tastenText(b, QStringLiteral("Ende")), QStringLiteral("Ctrl+Q, Ctrl+N"));
    QVERIFY(!b.zuweisen(QStringLiteral("Historie01"), taste("Ctrl+J")));
    QVERIFY(!b.entfernen(QStringLiteral("Ende"), taste("Ctrl+J")));

    // Back to the designed state by hand: no change is left.
    QVERIFY(b.zuweisen(QStringLiteral("dateineu"), taste("Ctrl+N")));
    QVERIFY(b.entfernen(QStringLiteral("dateischließen"), taste("Ctrl+K")));
    QVERIFY(b.entfernen(QStringLiteral("dateischließen"), taste("Ctrl+L")));
    QVERIFY(!b.geaendert());
    QVERIFY(b.alsJson().isEmpty());

    QVERIFY(b.entfernen(QStringLiteral("Hilfethemen"), taste("F1")));
    QVERIFY(b.zuweisen(QStringLiteral("transaktionbeginnen"), taste("Ctrl+T")));
    const Tastenbelegung gelesen = Tastenbelegung::ausJson(b.alsJson());
    QCOMPARE(gelesen, b);
    QCOMPARE(tastenText(gelesen, QStringLiteral("Hilfethemen")), QString());
    b.zuruecksetzen();
    QCOMPARE(b, Tastenbelegung());
}

void TestTastenbelegung::beschaedigt_data()
{
    QTest::addColumn<QByteArray>("tasten");
    // "command=keys" after reading.
    QTest::addColumn<QStringList>("erwartet");

    QTest::newRow("heil") << QByteArray(R"({"Ende":["Ctrl+N"],"dateineu":[]})")
                          << QStringList { "Ende=Ctrl+N", "dateineu=" };
    QTest::newRow("unbekannter Befehl")
        << QByteArray(R"({"gibtsnicht":["Ctrl+K"],"dateischließen":["Ctrl+K"]})")
        << QStringList { "dateischließen=Ctrl+K" };
    QTest::newRow("keine Liste") << QByteArray(R"({"dateineu":"Ctrl+K","Ende":["F11"]})")
                                 << QStringList { "dateineu=Ctrl+N", "Ende=F11" };
    QTest::newRow("unlesbare Taste")
        << QByteArray(R"({"dateineu":["Strg+Gibtsnicht"]})") << QStringList { "dateineu=Ctrl+N" };
    QTest::newRow("Zahl statt Text")
        << QByteArray(R"({"dateineu":[5]})") << QStringList { "dateineu=Ctrl+N" };
    QTest::newRow("gesperrte Taste") << QByteArray(R"({"dateineu":["F3"],"Ende":["A"]})")
                                     << QStringList { "dateineu=Ctrl+N", "Ende=Ctrl+Q" };
    QTest::newRow("Taste doppelt in einem Eintrag")
        << QByteArray(R"({"dateineu":["Ctrl+K","Ctrl+K"]})") << QStringList { "dateineu=Ctrl+N" };
    QTest::newRow("zwei Befehle eine Taste")
        << QByteArray(R"({"dateineu":["Ctrl+K"],"Ende":["Ctrl+K"],"Infoüber":["Ctrl+I"]})")
        << QStringList { "dateineu=Ctrl+N", "Ende=Ctrl+Q", "Infoüber=Ctrl+I" };
    QTest::newRow("Taste eines anderen ohne Freigabe")
        << QByteArray(R"({"Ende":["Ctrl+N"]})") << QStringList { "Ende=Ctrl+Q", "dateineu=Ctrl+N" };
    QTest::newRow("kein Objekt") << QByteArray(R"(["dateineu"])")
                                 << QStringList { "dateineu=Ctrl+N" };
}

void TestTastenbelegung::beschaedigt()
{
    QFETCH(QByteArray, tasten);
    QFETCH(QStringList, erwartet);
    // Through the change file: the texts and options beside it are still taken.
    const QByteArray datei = R"({"optionen":{"quickinfo":false},"texte":[)"
                             R"({"leiste":"mtbHauptleiste","werkzeug":"Ende","text":"Aus"},)"
                             R"({"leiste":"","werkzeug":"dateineu","text":"kaputt"}],"tasten":)"
        + tasten + "}";
    Leistenlayout l = Leistenlayout::standard();
    QVERIFY(l.aenderungenLesen(datei));
    QVERIFY(!l.optionen.quickinfo);
    QCOMPARE(l.texte.size(), 1);
    QCOMPARE(l.anzeigetexte(QStringLiteral("mtbHauptleiste"), QStringLiteral("Ende")).text,
        QStringLiteral("Aus"));
    for (const QString& e : erwartet)
        QCOMPARE(e.section(QLatin1Char('='), 0, 0) + QLatin1Char('=')
                + tastenText(l.tasten, e.section(QLatin1Char('='), 0, 0)),
            e);
}

void TestTastenbelegung::dialog()
{
    Tastenbelegung vorher;
    vorher.zuweisen(QStringLiteral("Infoüber"), taste("Ctrl+I"));
    frmTastatur d(vorher);
    QCOMPARE(d.windowTitle(), QStringLiteral("Tastenkombinationen anpassen"));
    waehleBefehl(d.auswahl(), 0, QStringLiteral("Neu"));
    QCOMPARE(d.aktuelle()->item(0)->text(), QStringLiteral("Strg+N"));

    // A free key.
    waehleBefehl(d.auswahl(), 0, QStringLiteral("Schließen"));
    QCOMPARE(d.aktuelle()->count(), 0);
    d.eingabe()->setKeySequence(taste("Ctrl+Shift+K"));
    d.knopf(QStringLiteral("Zuweisen"))->click();
    QCOMPARE(d.aktuelle()->item(0)->text(), QStringLiteral("Strg+Umschalt+K"));
    QVERIFY(d.eingabe()->keySequence().isEmpty());

    // Refused keys are explained and change nothing.
    const QList<QPair<const char*, QString>> gesperrt = {
        { "F3",
            "Die Tastenkombination F3 wird in den Arbeitsfenstern verwendet und kann nicht "
            "zugewiesen werden." },
        { "Alt+B",
            "Die Tastenkombination Alt+B öffnet das Menü \"Bearbeiten\" und kann nicht "
            "zugewiesen werden." },
        { "X", "Die Taste X kann nur zusammen mit Strg oder Alt zugewiesen werden." },
    };
    for (const auto& [t, text] : gesperrt) {
        d.eingabe()->setKeySequence(taste(t));
        d.knopf(QStringLiteral("Zuweisen"))->click();
        QCOMPARE(m_umgebung->dialoge.letzteMeldung().text, text);
        QCOMPARE(m_umgebung->dialoge.letzteMeldung().titel,
            QStringLiteral("Tastenkombinationen anpassen"));
    }
    QCOMPARE(d.aktuelle()->count(), 1);

    // A key of another command moves only after the question.
    d.eingabe()->setKeySequence(taste("Ctrl+I"));
    QCOMPARE(d.inhaberAnzeige()->text(), QStringLiteral("Zurzeit zugewiesen an: Info über..."));
    m_umgebung->dialoge.erwarteAntwort(Antwort::Nein);
    d.knopf(QStringLiteral("Zuweisen"))->click();
    const Meldung frage = m_umgebung->dialoge.letzteMeldung();
    QCOMPARE(frage.text,
        QStringLiteral("Die Tastenkombination Strg+I ist bereits dem Befehl \"Info über...\" "
                       "zugewiesen.\n\nSoll sie stattdessen dem Befehl \"Schließen\" zugewiesen "
                       "werden?"));
    QCOMPARE(frage.knoepfe, Knoepfe::JaNein);
    QCOMPARE(frage.standardKnopf, 2);
    QCOMPARE(d.belegung().inhaber(taste("Ctrl+I")), QStringLiteral("Infoüber"));
    m_umgebung->dialoge.erwarteAntwort(Antwort::Ja);
    d.knopf(QStringLiteral("Zuweisen"))->click();
    QCOMPARE(d.belegung().inhaber(taste("Ctrl+I")), QStringLiteral("dateischließen"));
    QCOMPARE(d.aktuelle()->count(), 2);

    d.aktuelle()->setCurrentRow(0);
    d.knopf(QStringLiteral("Entfernen"))->click();
    QCOMPARE(d.aktuelle()->count(), 1);
    QCOMPARE(d.aktuelle()->item(0)->text(), QStringLiteral("Strg+I"));

    m_umgebung->dialoge.erwarteAntwort(Antwort::Nein);
    d.knopf(QStringLiteral("Alle zurücksetzen"))->click();
    QVERIFY(d.belegung().geaendert());
    m_umgebung->dialoge.erwarteAntwort(Antwort::Ja);
    d.knopf(QStringLiteral("Alle zurücksetzen"))->click();
    QCOMPARE(d.belegung(), Tastenbelegung());
    QCOMPARE(d.aktuelle()->count(), 0);
}

void TestTastenbelegung::ueberNeustart()
{
    QStringList protokoll;
    {
        frmMain f;
        f.setzeDatenbankbefehle(std::make_unique<Befehlsprotokoll>(protokoll));
        f.show();
        QTimer::singleShot(0, this, [] {
            auto* anpassen = qobject_cast<frmAnpassen*>(QApplication::activeModalWidget());
            QVERIFY(anpassen);
            QTimer::singleShot(0, anpassen, [] {
                auto* t = qobject_cast<frmTastatur*>(QApplication::activeModalWidget());
                QVERIFY(t);
                waehleBefehl(t->auswahl(), 0, QStringLiteral("Schließen"));
                t->eingabe()->setKeySequence(taste("Ctrl+K"));
                t->knopf(QStringLiteral("Zuweisen"))->click();
                waehleBefehl(t->auswahl(), 0, QStringLiteral("Neu"));
                t->aktuelle()->setCurrentRow(0);
                t->knopf(QStringLiteral("Entfernen"))->click();
                // A command on the tool bar only.
                waehleBefehl(t->auswahl(), 5, QStringLiteral("Transaktion"));
                t->eingabe()->setKeySequence(taste("Ctrl+T"));
                t->knopf(QStringLiteral("Zuweisen"))->click();
                t->knopf(QStringLiteral("Schließen"))->click();
            });
            anpassen->knopf(QStringLiteral("Tastatur..."))->click();
            anpassen->knopf(QStringLiteral("Schließen"))->click();
        });
        f.ActiveBar21_ToolClick(QStringLiteral("ansichtmenüanpassen"));
        QCOMPARE(f.menueWerkzeug(QStringLiteral("dateischließen"))->shortcut(), taste("Ctrl+K"));
        QVERIFY(f.menueWerkzeug(QStringLiteral("dateineu"))->shortcut().isEmpty());

        // The keys work at once, also for the command that has no menu entry.
        f.SetzeBefehlsstatus(true);
        QApplication::setActiveWindow(&f);
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QTest::keyClick(&f, Qt::Key_K, Qt::ControlModifier);
        QTest::keyClick(&f, Qt::Key_N, Qt::ControlModifier);
        QTest::keyClick(&f, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(protokoll, (QStringList { "schliessen", "beginnen" }));
        f.close();
    }
    protokoll.clear();
    frmMain f;
    f.setzeDatenbankbefehle(std::make_unique<Befehlsprotokoll>(protokoll));
    QCOMPARE(f.menueWerkzeug(QStringLiteral("dateischließen"))->shortcut(), taste("Ctrl+K"));
    QVERIFY(f.menueWerkzeug(QStringLiteral("dateineu"))->shortcut().isEmpty());
    QCOMPARE(f.menueWerkzeug(QStringLiteral("Ende"))->shortcut(), taste("Ctrl+Q"));
    // Without a database the command's key does nothing, as its menu entry.
    f.show();
    QApplication::setActiveWindow(&f);
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(&f, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(protokoll.isEmpty());
    f.SetzeBefehlsstatus(true);
    QTest::keyClick(&f, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(protokoll, QStringList { "beginnen" });
    f.close();
}

QTEST_MAIN(TestTastenbelegung)
#include "tst_tastenbelegung.moc"
