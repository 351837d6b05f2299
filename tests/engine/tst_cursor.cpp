// The pieces a row page is read with: the UTF-8 decoder and the date cache agree with Qt's
// conversions for every text, the malformed ones included.

#include "engine/core/DataType.h"
#include "engine/cursor/DateCache.h"
#include "engine/cursor/Utf8Decoder.h"

#include <QTest>
#include <QThread>
#include <vector>

using namespace kv::engine;

class TestCursor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decoderAgreesWithQt_data();
    void decoderAgreesWithQt();
    void decoderRefusesMalformedText_data();
    void decoderRefusesMalformedText();
    void datesAgreeWithTheConversion_data();
    void datesAgreeWithTheConversion();
    void datesOfAnotherThreadAreItsOwn();
};

void TestCursor::decoderAgreesWithQt_data()
{
    QTest::addColumn<QByteArray>("utf8");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("short") << QByteArray("Bonn");
    QTest::newRow("sixteen ASCII and more")
        << QByteArray("abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJ");
    QTest::newRow("umlaut after sixteen") << QByteArray("abcdefghijklmnop\xc3\x84rger \xc3\xbc");
    QTest::newRow("umlaut at the end of a run") << QByteArray("abcdefghijklmno\xc3\xa4");
    QTest::newRow("three bytes") << QByteArray("Preis 5 \xe2\x82\xac");
    QTest::newRow("four bytes") << QByteArray("Ein \xf0\x9f\x98\x80 Gesicht");
    QTest::newRow("largest code point") << QByteArray("\xf4\x8f\xbf\xbf");
    QTest::newRow("zero byte") << QByteArray("a\0b", 3);
}

void TestCursor::decoderAgreesWithQt()
{
    QFETCH(QByteArray, utf8);
    std::vector<char16_t> out(static_cast<size_t>(utf8.size()) + 1);
    const char16_t* end = decodeUtf8(
        reinterpret_cast<const unsigned char*>(utf8.constData()), size_t(utf8.size()), out.data());
    QVERIFY(end);
    QCOMPARE(QString(reinterpret_cast<const QChar*>(out.data()), end - out.data()),
        QString::fromUtf8(utf8));
}

void TestCursor::decoderRefusesMalformedText_data()
{
    // These go to Qt's decoder, which puts replacement characters in.
    QTest::addColumn<QByteArray>("utf8");
    QTest::newRow("stray continuation") << QByteArray("abc\x80");
    QTest::newRow("overlong two bytes") << QByteArray("\xc0\x80");
    QTest::newRow("overlong three bytes") << QByteArray("\xe0\x80\x80");
    QTest::newRow("overlong four bytes") << QByteArray("\xf0\x80\x80\x80");
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80");
    QTest::newRow("beyond the last code point") << QByteArray("\xf4\x90\x80\x80");
    QTest::newRow("cut off") << QByteArray("abcdefghijklmnopq\xe2\x82");
    QTest::newRow("Latin-1") << QByteArray("M\xfcller");
}

void TestCursor::decoderRefusesMalformedText()
{
    QFETCH(QByteArray, utf8);
    std::vector<char16_t> out(static_cast<size_t>(utf8.size()) + 1);
    QCOMPARE(decodeUtf8(reinterpret_cast<const unsigned char*>(utf8.constData()),
                 size_t(utf8.size()), out.data()),
        nullptr);
}

void TestCursor::datesAgreeWithTheConversion_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("type");
    QTest::newRow("day") << QByteArray("2024-02-29") << int(dbDate);
    QTest::newRow("day at midnight") << QByteArray("2024-02-29 00:00:00") << int(dbDate);
    QTest::newRow("moment") << QByteArray("1899-12-30 13:45:10") << int(dbTime);
    QTest::newRow("time stamp") << QByteArray("2031-12-31 23:59:59") << int(dbTimeStamp);
    QTest::newRow("month 13") << QByteArray("2024-13-01") << int(dbDate);
    QTest::newRow("30 February") << QByteArray("2024-02-30 00:00:00") << int(dbDate);
    QTest::newRow("hour 25") << QByteArray("2024-02-01 25:00:00") << int(dbDate);
    QTest::newRow("with T") << QByteArray("2024-02-01T10:00:00") << int(dbDate);
    QTest::newRow("short year") << QByteArray("24-02-29") << int(dbDate);
    QTest::newRow("no date") << QByteArray("morgen") << int(dbDate);
}

void TestCursor::datesAgreeWithTheConversion()
{
    QFETCH(QByteArray, text);
    QFETCH(int, type);
    const QVariant expected = datatype::fromStorage(QVariant(QString::fromUtf8(text)), type);
    DateCache cache;
    // Asked again, from what the cache holds; a second cache of the thread shares its days.
    for (int i = 0; i < 2; ++i)
        QCOMPARE(cache.value(text.constData(), int(text.size()), type), expected);
    DateCache other;
    QCOMPARE(other.value(text.constData(), int(text.size()), type), expected);
}

void TestCursor::datesOfAnotherThreadAreItsOwn()
{
    // Each thread fills a table of days of its own; the values are the same.
    const QByteArray text("1987-06-05");
    DateCache here;
    const QVariant expected = here.value(text.constData(), int(text.size()), dbDate);
    QVariant there;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        DateCache cache;
        there = cache.value(text.constData(), int(text.size()), dbDate);
    }));
    worker->start();
    QVERIFY(worker->wait(60000));
    QCOMPARE(there, expected);
    QCOMPARE(expected.toDateTime(), QDateTime(QDate(1987, 6, 5), QTime(0, 0)));
}

QTEST_GUILESS_MAIN(TestCursor)
#include "tst_cursor.moc"
