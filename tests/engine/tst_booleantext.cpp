#include "engine/core/BooleanText.h"

#include <QtTest>

using namespace kv::engine;

// The yes/no words: every group alone, case and blanks, and texts no reader takes. The groups
// the three readers use are checked as they are combined there.
class TestBooleanText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void woerter_data();
    void woerter();
};

namespace {
constexpr unsigned Raster = JaNein | WahrFalsch | TrueFalse | YesNo | EinsNull;
constexpr unsigned Umwandlung = JaNein | WahrFalsch | TrueFalse;
constexpr unsigned Parameter = JaNein | WahrFalsch | TrueFalse | YesNo | EinAus;
} // namespace

void TestBooleanText::woerter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<unsigned>("gruppen");
    // 1 yes, 0 no, -1 not a word of the groups.
    QTest::addColumn<int>("erwartet");
    const auto zeile = [](const char* name, const char* text, unsigned gruppen, int erwartet) {
        QTest::newRow(name) << QString::fromUtf8(text) << gruppen << erwartet;
    };
    zeile("ja", "ja", JaNein, 1);
    zeile("Nein gross", "Nein", JaNein, 0);
    zeile("JA mit Blanks", "  JA\t", JaNein, 1);
    zeile("wahr", "Wahr", WahrFalsch, 1);
    zeile("falsch", "FALSCH", WahrFalsch, 0);
    zeile("true", "True", TrueFalse, 1);
    zeile("false", "false", TrueFalse, 0);
    zeile("yes", "Yes", YesNo, 1);
    zeile("no", "NO", YesNo, 0);
    zeile("ein", "Ein", EinAus, 1);
    zeile("an", "an", EinAus, 1);
    zeile("on", "On", EinAus, 1);
    zeile("aus", "Aus", EinAus, 0);
    zeile("off", "off", EinAus, 0);
    zeile("minus eins", "-1", EinsNull, 1);
    zeile("eins", " 1 ", EinsNull, 1);
    zeile("null", "0", EinsNull, 0);
    // A word of a group the caller did not name is no word.
    zeile("ja ohne Gruppe", "ja", WahrFalsch | TrueFalse, -1);
    zeile("yes in der Umwandlung", "yes", Umwandlung, -1);
    zeile("an im Raster", "an", Raster, -1);
    zeile("1 im Parameter", "1", Parameter, -1);
    zeile("2 im Raster", "2", Raster, -1);
    zeile("leer", "", Raster | Parameter, -1);
    zeile("nur Blanks", "   ", Raster | Parameter, -1);
    zeile("Wortteil", "jaa", Raster | Parameter, -1);
    zeile("zwei Woerter", "ja nein", Raster | Parameter, -1);
    zeile("Umlaut", "jä", Raster | Parameter, -1);
    zeile("Raster ja", "Ja", Raster, 1);
    zeile("Parameter off", "OFF", Parameter, 0);
    zeile("Umwandlung wahr", " wahr ", Umwandlung, 1);
}

void TestBooleanText::woerter()
{
    QFETCH(QString, text);
    QFETCH(unsigned, gruppen);
    QFETCH(int, erwartet);
    const std::optional<bool> b = booleanFromWord(text, gruppen);
    QCOMPARE(b.has_value(), erwartet >= 0);
    if (b)
        QCOMPARE(int(*b), erwartet);
}

QTEST_GUILESS_MAIN(TestBooleanText)
#include "tst_booleantext.moc"
