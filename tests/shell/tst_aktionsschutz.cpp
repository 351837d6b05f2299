#include "shell/Aktionsschutz.h"
#include "shell/Einstellungen.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QTest>

using namespace kv;

class TestAktionsschutz : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ungeschuetztAmAnfang();
    void verwuerfeln();
    void ladenNimmtGanzeSlots_data();
    void ladenNimmtGanzeSlots();
    void pruefen_data();
    void pruefen();
    void ungeschuetztFragtNicht();
    void speicherUeberstehtEinstellungen();
    void aktionsnamen();
};

void TestAktionsschutz::ungeschuetztAmAnfang()
{
    const Aktionsschutz s;
    QCOMPARE(s.wert(), QStringLiteral("WTNQA").repeated(20));
    for (int n = 1; n <= 20; ++n)
        QVERIFY(!s.geschuetzt(n));
    QVERIFY(!s.geschuetzt(0) && !s.geschuetzt(21));
}

void TestAktionsschutz::verwuerfeln()
{
    QCOMPARE(Aktionsschutz::verwuerfeln(QString()), QStringLiteral("WTNQA"));
    // 'a' ^ 'w' = 0x16, 'b' ^ 't' = 0x16, ' ' ^ 'n' = 'N' …
    QCOMPARE(Aktionsschutz::verwuerfeln(QStringLiteral("ab")),
        QString(QChar(0x16)) + QChar(0x16) + QStringLiteral("NQA"));
    const QString pw = QStringLiteral("Bär12xyz");
    QCOMPARE(Aktionsschutz::verwuerfeln(Aktionsschutz::verwuerfeln(pw)), QStringLiteral("Bär12"));
}

void TestAktionsschutz::ladenNimmtGanzeSlots_data()
{
    QTest::addColumn<int>("laenge");
    QTest::addColumn<int>("geschuetzteSlots");
    QTest::newRow("leer") << 0 << 0;
    QTest::newRow("30 Zeichen") << 30 << 6;
    QTest::newRow("32 Zeichen") << 32 << 6;
    QTest::newRow("voll") << 100 << 20;
    QTest::newRow("zu lang") << 130 << 20;
}

void TestAktionsschutz::ladenNimmtGanzeSlots()
{
    QFETCH(int, laenge);
    QFETCH(int, geschuetzteSlots);
    Aktionsschutz quelle;
    for (int n = 1; n <= 20; ++n)
        quelle.setzePasswort(n, QStringLiteral("pw%1").arg(n));
    const QString wert
        = QString(quelle.wert() + QStringLiteral("ÜBERLANG").repeated(4)).left(laenge);

    Aktionsschutz s;
    s.laden(wert);
    QCOMPARE(s.wert().size(), 100);
    for (int n = 1; n <= 20; ++n) {
        QCOMPARE(s.geschuetzt(n), n <= geschuetzteSlots);
        if (n <= geschuetzteSlots)
            QCOMPARE(s.passwort(n), QStringLiteral("pw%1").arg(n).leftJustified(5));
    }
}

void TestAktionsschutz::pruefen_data()
{
    QTest::addColumn<QString>("passwort");
    QTest::addColumn<std::optional<QString>>("eingabe");
    QTest::addColumn<bool>("erlaubt");
    QTest::addColumn<bool>("meldung");
    QTest::newRow("richtig") << "geh1m" << std::optional<QString>("geh1m") << true << false;
    QTest::newRow("kurz mit Blanks verglichen")
        << "abc" << std::optional<QString>("abc") << true << false;
    QTest::newRow("Blanks getippt") << "abc" << std::optional<QString>("abc  ") << true << false;
    QTest::newRow("nur 5 Zeichen zählen")
        << "abcdefg" << std::optional<QString>("abcdexx") << true << false;
    QTest::newRow("Groß/klein") << "abc" << std::optional<QString>("ABC") << false << true;
    QTest::newRow("leer") << "abc" << std::optional<QString>("") << false << true;
    QTest::newRow("abgebrochen") << "abc" << std::optional<QString>() << false << false;
    // Five letters that scramble to five blanks still protect.
    QTest::newRow("WTNQA") << "WTNQA" << std::optional<QString>("WTNQA") << true << false;
    QTest::newRow("WTNQA falsch") << "WTNQA" << std::optional<QString>("wtnqa") << false << true;
}

void TestAktionsschutz::pruefen()
{
    QFETCH(QString, passwort);
    QFETCH(std::optional<QString>, eingabe);
    QFETCH(bool, meldung);
    Aktionsschutz s;
    s.setzePasswort(12, passwort);
    QVERIFY(s.geschuetzt(12));
    test::ScriptedDialoge dialoge;
    int gefragt = 0;
    const auto abfrage = [&]() {
        ++gefragt;
        return eingabe;
    };
    QTEST(PruefeAktionsschutz(s, 12, abfrage), "erlaubt");
    QCOMPARE(gefragt, 1);
    QCOMPARE(dialoge.meldungen().size(), meldung ? 1 : 0);
    if (meldung) {
        QCOMPARE(dialoge.letzteMeldung().text,
            QStringLiteral("Leider wurde das falsche Passwort eingegeben!\n\n"
                           "Die gewünschte Aktion kann nicht durchgeführt werden!"));
        QCOMPARE(dialoge.letzteMeldung().knoepfe, Knoepfe::Ok);
    }
}

void TestAktionsschutz::ungeschuetztFragtNicht()
{
    Aktionsschutz s;
    s.setzePasswort(3, QStringLiteral("x"));
    s.setzePasswort(3, QString());
    // A slot that holds the marker in other letter case is unprotected as well.
    QString wert = s.wert();
    wert.replace(20, 5, QStringLiteral("wtnqa"));
    s.laden(wert);
    int gefragt = 0;
    const auto abfrage = [&]() -> std::optional<QString> {
        ++gefragt;
        return QString();
    };
    QVERIFY(PruefeAktionsschutz(s, 3, abfrage));
    QVERIFY(PruefeAktionsschutz(s, 5, abfrage));
    QCOMPARE(gefragt, 0);
    // Without an asker a protected action stays locked.
    s.setzePasswort(7, QStringLiteral("x"));
    QVERIFY(!PruefeAktionsschutz(s, 7, PasswortAbfrage()));
}

void TestAktionsschutz::speicherUeberstehtEinstellungen()
{
    const test::TempDir ordner;
    Einstellungen::setzeSpeicherordner(ordner.path());
    Aktionsschutz s;
    // 'w' at the first position scrambles to NUL; umlauts to control characters.
    s.setzePasswort(1, QStringLiteral("wtnqa"));
    s.setzePasswort(2, QStringLiteral("äöü ß"));
    s.setzePasswort(20, QStringLiteral("\"; =#"));
    {
        Einstellungen e;
        e.schreibe(AbschnittSettings, QStringLiteral("DatenbankAktionStatus"), s.wert());
    }
    Aktionsschutz gelesen;
    gelesen.laden(Einstellungen().lese(AbschnittSettings, QStringLiteral("DatenbankAktionStatus")));
    Einstellungen::setzeSpeicherordner(QString());
    QCOMPARE(gelesen.wert(), s.wert());
    QCOMPARE(gelesen.passwort(1), QStringLiteral("wtnqa"));
    QCOMPARE(gelesen.passwort(2), QStringLiteral("äöü ß"));
}

void TestAktionsschutz::aktionsnamen()
{
    QCOMPARE(Aktionsschutz::aktionsname(1), QStringLiteral("Datei Neu"));
    QCOMPARE(Aktionsschutz::aktionsname(8), QStringLiteral("<reserviert>"));
    QCOMPARE(Aktionsschutz::aktionsname(14), QStringLiteral("Bearbeiten Hochzählautomatik"));
    QCOMPARE(Aktionsschutz::aktionsname(17), QStringLiteral("Rücksichern"));
    QCOMPARE(Aktionsschutz::aktionsname(20), QStringLiteral("<reserviert>"));
    QCOMPARE(Aktionsschutz::aktionsname(21), QString());
}

QTEST_GUILESS_MAIN(TestAktionsschutz)
#include "tst_aktionsschutz.moc"
