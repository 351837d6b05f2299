#include "base/Text.h"

#include <QTest>

using namespace kv;

class TestText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void trimNul();
    void teile_data();
    void teile();
    void teileAusserhalb();
    void ersetzeAlle_data();
    void ersetzeAlle();
    void ersetzeAlleNull();
};

void TestText::trimNul()
{
    QCOMPARE(TrimNul(QString::fromUtf16(u"abc\0def", 7)), QStringLiteral("abc"));
    QCOMPARE(TrimNul(QStringLiteral("abc")), QStringLiteral("abc"));
    QCOMPARE(TrimNul(QString(3, QChar(u'\0'))), QString());
}

void TestText::teile_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trenner");
    QTest::addColumn<QStringList>("erwartet");
    QTest::newRow("blanks um trenner") << "a ; b;  c "
                                       << ";" << QStringList { "a", "b", "c" };
    QTest::newRow("ohne trenner") << " eins "
                                  << ";" << QStringList { "eins" };
    QTest::newRow("leerer text") << ""
                                 << ";" << QStringList { "" };
    QTest::newRow("leere stuecke") << ";;x;"
                                   << ";" << QStringList { "", "", "x", "" };
    QTest::newRow("mehrzeichen trenner") << "a<>b<>c"
                                         << "<>" << QStringList { "a", "b", "c" };
    QTest::newRow("gross/klein genau") << "aXbxc"
                                       << "x" << QStringList { "aXb", "c" };
    QTest::newRow("tab bleibt") << "\ta ;b"
                                << ";" << QStringList { "\ta", "b" };
}

void TestText::teile()
{
    QFETCH(QString, text);
    QFETCH(QString, trenner);
    QFETCH(QStringList, erwartet);
    const Teilliste t = Teile(text, trenner);
    QCOMPARE(t.liste(), erwartet);
    QCOMPARE(t.count(), erwartet.size());
    QCOMPARE(t[1], erwartet.first());
    QCOMPARE(t[t.count()], erwartet.last());
}

void TestText::teileAusserhalb()
{
    const Teilliste t = Teile(QStringLiteral("a;b"), QStringLiteral(";"));
    QCOMPARE(t[0], QString());
    QCOMPARE(t[3], QString());
    QCOMPARE(t[-1], QString());
}

void TestText::ersetzeAlle_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("suche");
    QTest::addColumn<QString>("ersatz");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("einfach") << "a<crlf>b<crlf>"
                             << "<crlf>"
                             << "\r\n"
                             << "a\r\nb\r\n";
    QTest::newRow("ersatz enthaelt suche") << "aXa"
                                           << "a"
                                           << "aa"
                                           << "aaXaa";
    QTest::newRow("ueberlappend") << "aaaa"
                                  << "aa"
                                  << "b"
                                  << "bb";
    QTest::newRow("gross/klein genau") << "Aa"
                                       << "a"
                                       << "b"
                                       << "Ab";
    QTest::newRow("leere suche") << "abc"
                                 << ""
                                 << "x"
                                 << "abc";
    QTest::newRow("leerer text") << ""
                                 << "a"
                                 << "b"
                                 << "";
}

void TestText::ersetzeAlle()
{
    QFETCH(QString, text);
    QFETCH(QString, suche);
    QFETCH(QString, ersatz);
    QFETCH(QString, erwartet);
    ErsetzeAlle(text, suche, ersatz);
    QCOMPARE(text, erwartet);
}

void TestText::ersetzeAlleNull()
{
    QString nullText;
    ErsetzeAlle(nullText, QStringLiteral("a"), QStringLiteral("b"));
    QVERIFY(nullText.isNull());
    QString leer = QLatin1String("");
    ErsetzeAlle(leer, QStringLiteral("a"), QStringLiteral("b"));
    QVERIFY(!leer.isNull());
}

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
