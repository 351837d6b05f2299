#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"
#include "widgets/Feldbild.h"
#include "widgets/Objektfeld.h"
#include "widgets/Statikbild.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace kv;

namespace {

QByteArray png(const QColor& farbe)
{
    QImage bild(4, 2, QImage::Format_RGB32);
    bild.fill(farbe);
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    bild.save(&puffer, "PNG");
    return daten;
}

void schreibe(const QString& pfad, const QByteArray& daten)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(daten);
}

QByteArray lies(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

DateiDialogErgebnis gewaehlt(const QString& pfad)
{
    DateiDialogErgebnis e;
    e.abgebrochen = false;
    e.pfad = pfad;
    return e;
}

} // namespace

class TestBildelemente : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void statikbildRelativ();
    void feldbildLadenSpeichernEntfernen();
    void feldbildMenue();
    void objektBeschreibungUndEinfuegen();
    void objektBearbeitenUndZurueck();
    void objektOhneProgramm();
};

void TestBildelemente::statikbildRelativ()
{
    test::TempDir ordner;
    schreibe(ordner.file(QStringLiteral("logo.png")), png(Qt::red));
    Statikbild b;
    StatikbildEinstellungen e;
    e.datei = QStringLiteral("logo.png");
    e.rahmen = Bildrahmen::EingestanztMitRahmen;
    b.setzeEinstellungen(e, ordner.path());
    QCOMPARE(b.bild().size(), QSize(4, 2));
    // A missing file shows no picture and does not fail.
    QVERIFY(!b.ladeDatei(QStringLiteral("fehlt.png"), ordner.path()));
    QVERIFY(b.bild().isNull());
    for (int r = 0; r <= int(Bildrahmen::EingestanztWin95); ++r) {
        b.setzeRahmen(Bildrahmen(r));
        b.grab();
    }
}

void TestBildelemente::feldbildLadenSpeichernEntfernen()
{
    test::ScriptedDialoge dialoge;
    test::TempDir ordner;
    const QString rot = ordner.file(QStringLiteral("rot.png"));
    schreibe(rot, png(Qt::red));
    const QString text = ordner.file(QStringLiteral("kein.png"));
    schreibe(text, "kein Bild");

    Feldbild f;
    f.setzeDatenfeld(QStringLiteral("Bild"));
    f.zeigeWert(png(Qt::blue));
    QCOMPARE(f.anzeige()->bild().pixelColor(0, 0), QColor(Qt::blue));
    QVERIFY(!f.datenGeaendert());

    // A file without a picture is refused with its path.
    dialoge.erwarteDatei(gewaehlt(text));
    QVERIFY(!f.ausDateiLaden());
    QVERIFY(dialoge.letzteMeldung().text.endsWith(text));
    QVERIFY(!f.datenGeaendert());

    dialoge.erwarteDatei(gewaehlt(rot));
    QVERIFY(f.ausDateiLaden());
    QCOMPARE(f.wert().toByteArray(), lies(rot));
    QCOMPARE(f.anzeige()->bild().pixelColor(0, 0), QColor(Qt::red));
    QVERIFY(f.datenGeaendert());

    const QString ziel = ordner.file(QStringLiteral("kopie.png"));
    dialoge.erwarteDatei(gewaehlt(ziel));
    QVERIFY(f.inDateiSpeichern());
    QCOMPARE(dialoge.dateiDialoge().last().dateiname, QStringLiteral("Bild.png"));
    QCOMPARE(lies(ziel), lies(rot));

    f.entfernen();
    QVERIFY(f.wert().isNull());
    QVERIFY(f.anzeige()->bild().isNull());
    // Nothing to save without a picture; read-only takes none.
    QVERIFY(!f.inDateiSpeichern());
    f.setzeNurLesen(true);
    QVERIFY(!f.ausDateiLaden());
    QVERIFY(dialoge.leer());
}

void TestBildelemente::feldbildMenue()
{
    Feldbild f;
    QStringList angeboten;
    f.setzeMenueauswahl([&](const QStringList& eintraege, const QPoint&) {
        angeboten = eintraege;
        return 0;
    });
    f.zeigeWert(png(Qt::green));
    QVERIFY(!f.menueZeigen(QPoint()));
    QCOMPARE(angeboten.size(), 3);
    f.setzeMenueauswahl([](const QStringList&, const QPoint&) { return 3; });
    QVERIFY(f.menueZeigen(QPoint()));
    QVERIFY(f.wert().isNull());
    // A read-only picture offers only saving, and nothing without a picture.
    f.setzeNurLesen(true);
    QVERIFY(!f.menueZeigen(QPoint()));
}

void TestBildelemente::objektBeschreibungUndEinfuegen()
{
    test::ScriptedDialoge dialoge;
    test::TempDir ordner;
    Objektfeld o;
    QCOMPARE(o.beschreibung(), QStringLiteral("(leer)"));
    o.zeigeWert(png(Qt::red));
    QVERIFY(o.beschreibung().endsWith(QStringLiteral(", %1 Bytes").arg(png(Qt::red).size())));
    QCOMPARE(o.anzeige()->text(), o.beschreibung());

    // Empty: a double click inserts a file.
    const QString datei = ordner.file(QStringLiteral("brief.txt"));
    schreibe(datei, QByteArray(2000, 'x'));
    o.zeigeWert(QVariant());
    dialoge.erwarteDatei(gewaehlt(datei));
    QVERIFY(o.doppelklick(QPoint()));
    QCOMPARE(o.daten().size(), 2000);
    QVERIFY(o.beschreibung().endsWith(QStringLiteral(", 2.000 Bytes")));
    QVERIFY(o.datenGeaendert());

    // Not empty: the menu offers editing and deleting.
    int gewaehlteZeile = 2;
    QStringList angeboten;
    o.setzeMenueauswahl([&](const QStringList& eintraege, const QPoint&) {
        angeboten = eintraege;
        return gewaehlteZeile;
    });
    QVERIFY(o.doppelklick(QPoint()));
    QCOMPARE(angeboten,
        QStringList(
            { QStringLiteral("Objekt bearbeiten;"), QStringLiteral("Objekt löschen;Löschen") }));
    QVERIFY(o.wert().isNull());
}

void TestBildelemente::objektBearbeitenUndZurueck()
{
    test::ScriptedDialoge dialoge;
    QString geoeffnet;
    Objektfeld o;
    o.setzeDatenfeld(QStringLiteral("Anlage"));
    o.setzeOeffner([&](const QString& pfad) {
        geoeffnet = pfad;
        return true;
    });
    const QByteArray alt = png(Qt::red);
    o.zeigeWert(alt);
    QVERIFY(o.bearbeiten());
    QCOMPARE(geoeffnet, o.bearbeitungsdatei());
    QVERIFY(geoeffnet.endsWith(QStringLiteral("Anlage.png")));
    QCOMPARE(lies(geoeffnet), alt);

    // Unchanged: nothing is asked.
    QVERIFY(!o.rueckgabePruefen());
    QVERIFY(dialoge.meldungen().isEmpty());

    // Changed and declined: the field keeps its object; the same state is not asked again.
    const QByteArray neu = png(Qt::blue);
    schreibe(geoeffnet, neu);
    dialoge.erwarteAntwort(Antwort::Nein);
    QVERIFY(!o.rueckgabePruefen());
    QCOMPARE(dialoge.letzteMeldung().knoepfe, Knoepfe::JaNein);
    QCOMPARE(o.daten(), alt);
    QVERIFY(!o.rueckgabePruefen());

    schreibe(geoeffnet, png(Qt::green));
    dialoge.erwarteAntwort(Antwort::Ja);
    QVERIFY(o.rueckgabePruefen());
    QCOMPARE(o.daten(), png(Qt::green));
    QVERIFY(o.datenGeaendert());

    // Another record ends the editing: its file is no longer looked at.
    o.zeigeWert(alt);
    QVERIFY(o.bearbeitungsdatei().isEmpty());
    QVERIFY(!QFile::exists(geoeffnet));
}

void TestBildelemente::objektOhneProgramm()
{
    test::ScriptedDialoge dialoge;
    Objektfeld o;
    o.setzeOeffner([](const QString&) { return false; });
    o.zeigeWert(QByteArray("Daten"));
    QVERIFY(!o.bearbeiten());
    QVERIFY(dialoge.letzteMeldung().text.startsWith(
        QStringLiteral("Für diese Art von Objekt ist kein Programm eingerichtet:")));
    QVERIFY(o.bearbeitungsdatei().isEmpty());
}

QTEST_MAIN(TestBildelemente)
#include "tst_bildelemente.moc"
