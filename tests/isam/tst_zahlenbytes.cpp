// Numbers written as text in dBASE fields and sheet cells are parsed straight from the bytes;
// the result must be exactly what QByteArrayView::toDouble gives, down to the last bit and the
// answer whether it is a number at all.

#include "engine/isam/NumberBytes.h"

#include <QtTest>
#include <cstring>

using namespace kv::engine::isam;

class TestZahlenbytes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wieToDouble_data()
    {
        QTest::addColumn<QByteArray>("text");
        for (const char* t : { "0", "-0", "42", " 42.5 ", "00012", "0.1", "-.5", ".5", "5.", "1e5",
                 "1E-3", "-2.5e+10", "9007199254740993", "12345678901234567890123",
                 "1.7976931348623157e308", "2.2250738585072014e-308", "4.9e-324", "1e-400", "1e400",
                 "0.0000", "0e0", "+3", "inf", "-inf", "nan", "0x1A", "1,5", "1.5e", "-", ".", "",
                 "\t7\n", "7 8", "1 ", "٣" })
            QTest::newRow(t) << QByteArray(t);
    }

    void wieToDouble()
    {
        QFETCH(QByteArray, text);
        bool erwartetOk = false;
        const double erwartet = QByteArrayView(text).toDouble(&erwartetOk);
        double wert = 0;
        const bool ok = parseNumberBytes(text, wert);
        QCOMPARE(ok, erwartetOk);
        if (ok)
            QCOMPARE(std::memcmp(&wert, &erwartet, sizeof wert), 0);
    }
};

QTEST_GUILESS_MAIN(TestZahlenbytes)
#include "tst_zahlenbytes.moc"
