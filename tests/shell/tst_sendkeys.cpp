#include "shell/DeutscheTastatur.h"
#include "shell/SendKeys.h"
#include "shell/modSendKeys.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

using namespace kv;

namespace {

// "d17 d65:A u65:A u17": down/up, key code, and what the key types (":#n" when not printable).
QString beschreibe(const std::vector<KeyEvent>& ereignisse)
{
    QStringList teile;
    for (const KeyEvent& e : ereignisse) {
        QString t
            = (e.runter ? QStringLiteral("d") : QStringLiteral("u")) + QString::number(e.code);
        if (e.zeichen.isPrint())
            t += QStringLiteral(":") + e.zeichen;
        else if (!e.zeichen.isNull())
            t += QStringLiteral(":#") + QString::number(e.zeichen.unicode());
        teile.append(t);
    }
    return teile.join(QLatin1Char(' '));
}

} // namespace

class TestSendKeys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("erwartet");

        QTest::newRow("Strg+F7") << "^{F7}"
                                 << "d17 d118 u118 u17";
        QTest::newRow("Alt+F4") << "%{F4}"
                                << "d18 d115 u115 u18";
        QTest::newRow("alle Umschalter") << "+^%{DEL}"
                                         << "d16 d17 d18 d46 u46 u18 u17 u16";
        QTest::newRow("TAB 3") << "{TAB 3}"
                               << "d9:#9 u9:#9 d9:#9 u9:#9 d9:#9 u9:#9";
        QTest::newRow("TAB 0") << "{TAB 0}"
                               << "";
        QTest::newRow("LEFT 3 klein") << "{left 3}"
                                      << "d37 u37 d37 u37 d37 u37";
        QTest::newRow("Blanks in Klammern") << "{ STRG }"
                                            << "d17 u17";
        QTest::newRow("deutscher Name") << "{UMSCHALT}"
                                        << "d16 u16";
        QTest::newRow("+a einmal Shift") << "+a"
                                         << "d16 d65:A u65:A u16";
        QTest::newRow("+A einmal Shift") << "+A"
                                         << "d16 d65:A u65:A u16";
        QTest::newRow("Zeichen") << "a1"
                                 << "d65:a u65:a d49:1 u49:1";
        QTest::newRow("Strg+a tippt nichts") << "^a"
                                             << "d17 d65 u65 u17";
        QTest::newRow("+1 ist !") << "+1"
                                  << "d16 d49:! u49:! u16";
        QTest::newRow("Umschalter gelten einmal") << "+ab"
                                                  << "d16 d65:A u65:A u16 d66:b u66:b";
        QTest::newRow("Tilde ist Enter") << "~"
                                         << "d13:#13 u13:#13";
        QTest::newRow("Tilde in Klammern") << "{~}"
                                           << "d17 d18 d187:~ u187:~ u18 u17";
        QTest::newRow("Tilde mit Anzahl") << "{~ 2}"
                                          << "d13:#13 u13:#13 d13:#13 u13:#13";
        QTest::newRow("Plus mit Anzahl") << "{+ 2}"
                                         << "d187:+ u187:+ d187:+ u187:+";
        QTest::newRow("offene Klammer") << "{{}"
                                        << "d17 d18 d55:{ u55:{ u18 u17";
        QTest::newRow("schließende Klammer") << "{}}a"
                                             << "d17 d18 d48:} u48:} u18 u17 d65:a u65:a";
        QTest::newRow("eckige Klammer") << "{[}"
                                        << "d17 d18 d56:[ u56:[ u18 u17";
        QTest::newRow("Prozent") << "{%}"
                                 << "d16 d53:% u53:% u16";
        QTest::newRow("leere Gruppe") << "{}a"
                                      << "d65:a u65:a";
        QTest::newRow("PRTSC") << "{PRTSC}"
                               << "d44 u44";
        QTest::newRow("PRTSC mit Anzahl") << "{PRTSC 1}"
                                          << "d42 u42";
        QTest::newRow("BREAK mit Anzahl") << "{BREAK 2}"
                                          << "d19 u19 d19 u19";
        QTest::newRow("F16") << "{F16}"
                             << "d127 u127";
        QTest::newRow("F17 unbekannt") << "{F17}a"
                                       << "d65:a u65:a";
        QTest::newRow("unbekannter Name") << "^{NIX}x"
                                          << "d88:x u88:x";
        QTest::newRow("Anzahl kein Zahl") << "{TAB x}a"
                                          << "d65:a u65:a";
        QTest::newRow("Anzahl zu groß") << "{TAB 100000}a"
                                        << "d65:a u65:a";
        QTest::newRow("Klammer ohne Ende") << "ab{TAB"
                                           << "d65:a u65:a d66:b u66:b";
        QTest::newRow("einzelne }") << "a}"
                                    << "d65:a u65:a d17 d18 d48:} u48:} u18 u17";
        QTest::newRow("Umlaute") << QStringLiteral("äÖß")
                                 << "d222:ä u222:ä d16 d192:Ö u192:Ö u16 d219:ß u219:ß";
        QTest::newRow("@ und €") << QStringLiteral("@€")
                                 << "d17 d18 d81:@ u81:@ u18 u17 d17 d18 d69:€ u69:€ u18 u17";
        QTest::newRow("unbekanntes Zeichen") << QStringLiteral("✓a") << "d65:a u65:a";
        QTest::newRow("Umschalter am Ende") << "a^"
                                            << "d65:a u65:a";
    }

    void parse()
    {
        QFETCH(QString, keys);
        QFETCH(QString, erwartet);
        QCOMPARE(beschreibe(SendKeys::parse(keys)), erwartet);
    }

    void deutscheTastatur()
    {
        // character, code, modifiers
        const struct {
            char16_t zeichen;
            int code;
            int umschaltung;
        } belegung[] = {
            { u'a', 'A', 0 },
            { u'Z', 'Z', 1 },
            { u'7', '7', 0 },
            { u'!', '1', 1 },
            { u'"', '2', 1 },
            { u'§', '3', 1 },
            { u'$', '4', 1 },
            { u'%', '5', 1 },
            { u'&', '6', 1 },
            { u'/', '7', 1 },
            { u'(', '8', 1 },
            { u')', '9', 1 },
            { u'=', '0', 1 },
            { u'?', 0xDB, 1 },
            { u'ß', 0xDB, 0 },
            { u'ü', 0xBA, 0 },
            { u'ö', 0xC0, 0 },
            { u'ä', 0xDE, 0 },
            { u'+', 0xBB, 0 },
            { u'*', 0xBB, 1 },
            { u'#', 0xBF, 0 },
            { u'\'', 0xBF, 1 },
            { u',', 0xBC, 0 },
            { u';', 0xBC, 1 },
            { u'.', 0xBE, 0 },
            { u':', 0xBE, 1 },
            { u'-', 0xBD, 0 },
            { u'_', 0xBD, 1 },
            { u'<', 0xE2, 0 },
            { u'>', 0xE2, 1 },
            { u'@', 'Q', 6 },
            { u'€', 'E', 6 },
            { u'{', '7', 6 },
            { u'[', '8', 6 },
            { u']', '9', 6 },
            { u'}', '0', 6 },
            { u'\\', 0xDB, 6 },
            { u'~', 0xBB, 6 },
            { u'|', 0xE2, 6 },
            { u' ', 0x20, 0 },
        };
        for (const auto& b : belegung) {
            const QChar z(b.zeichen);
            const auto t = DeutscheTastatur::taste(z);
            QVERIFY2(t, qPrintable(QString(z)));
            QCOMPARE(t->code, b.code);
            QCOMPARE(t->umschaltung, b.umschaltung);
            QCOMPARE(DeutscheTastatur::zeichen(b.code, b.umschaltung), z);
        }
        QVERIFY(!DeutscheTastatur::taste(QChar(0x263A)));
        QVERIFY(DeutscheTastatur::zeichen('A', StrgTaste).isNull());
    }

    void inEinEingabefeld_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("Rücktaste") << "Hallo{BS}{BS}"
                                   << "Hal";
        QTest::newRow("Umschalter und Sonderzeichen") << "+hallo a@b.de"
                                                      << "Hallo a@b.de";
        QTest::newRow("Umlaute") << QStringLiteral("+äöü+ß ß") << QStringLiteral("Äöü? ß");
        QTest::newRow("Klammern") << "{{}x{}}"
                                  << "{x}";
        QTest::newRow("Cursor") << "abc{HOME}{DEL}{END}{LEFT 1}X"
                                << "bXc";
        QTest::newRow("Strg+A markiert alles") << "alt^aneu"
                                               << "neu";
    }

    void inEinEingabefeld()
    {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QLineEdit feld;
        modSendKeys::send(keys, &feld);
        QCOMPARE(feld.text(), text);
    }

    void anDenFokusUndKurzbefehle()
    {
        QWidget fenster;
        auto* erstes = new QLineEdit(&fenster);
        auto* zweites = new QLineEdit(&fenster);
        auto* layout = new QVBoxLayout(&fenster);
        layout->addWidget(erstes);
        layout->addWidget(zweites);
        auto* aktion = new QAction(&fenster);
        aktion->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F7));
        fenster.addAction(aktion);
        int ausgeloest = 0;
        connect(aktion, &QAction::triggered, this, [&] { ++ausgeloest; });

        fenster.show();
        QApplication::setActiveWindow(&fenster);
        QVERIFY(QTest::qWaitForWindowActive(&fenster));
        erstes->setFocus();
        QCOMPARE(QGuiApplication::focusObject(), erstes);

        modSendKeys::send(QStringLiteral("ab"));
        TabSenden();
        QCOMPARE(QGuiApplication::focusObject(), zweites);
        modSendKeys::send(QStringLiteral("c^{F7}d"));
        QCOMPARE(ausgeloest, 1);
        QCOMPARE(erstes->text(), QStringLiteral("ab"));
        QCOMPARE(zweites->text(), QStringLiteral("cd"));
        modSendKeys::send(QStringLiteral("+{TAB}"));
        QCOMPARE(QGuiApplication::focusObject(), erstes);
    }
};

QTEST_MAIN(TestSendKeys)
#include "tst_sendkeys.moc"
