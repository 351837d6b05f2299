#include "base/Windows1252.h"
#include "shell/Einstellungen.h"
#include "shell/IniDatei.h"
#include "shell/WebUpdate.h"
#include "shell/WebUpdatePruefung.h"
#include "shell/ui/frmWebUpdate.h"
#include "testutils/TempDir.h"

#include <QFile>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace kv;

namespace {

void schreibe(const QString& pfad, const QByteArray& inhalt)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

const QDate Heute(2026, 12, 6);

QByteArray inhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// An update server on this machine: it answers with antwort, or never when antwort is empty.
class Testserver {
public:
    explicit Testserver(QByteArray antwort = {})
        : m_antwort(std::move(antwort))
    {
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = m_server.nextPendingConnection()) {
                if (m_antwort.isEmpty())
                    continue; // keeps the connection open without a word
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    s->readAll();
                    s->write("HTTP/1.0 200 OK\r\nContent-Length: "
                        + QByteArray::number(m_antwort.size()) + "\r\n\r\n" + m_antwort);
                    s->disconnectFromHost();
                });
            }
        });
    }
    QString adresse() const
    {
        return QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort());
    }

private:
    QTcpServer m_server;
    QByteArray m_antwort;
};

/// Runs a check to its end.
WebUpdatePruefung::Ergebnis pruefe(const WebUpdateAuftrag& a, int timeoutMs = 15000)
{
    WebUpdatePruefung p;
    QSignalSpy fertig(&p, &WebUpdatePruefung::fertig);
    p.starten(a, Heute, timeoutMs);
    // The answer never comes from inside starten().
    if (!fertig.isEmpty() || !p.laeuft())
        return { false, false, Updatestand::Gleich, {}, QStringLiteral("synchron") };
    if (!fertig.wait(20000))
        return { false, false, Updatestand::Gleich, {}, QStringLiteral("kein Ende") };
    return p.ergebnis();
}

} // namespace

class TestWebUpdate : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void pruefen_data();
    void pruefen();
    void ohneQuelle();
    void adresse_data();
    void adresse();
    void iniSchreibenBehaeltAnderes();
    void netz();
    void abbrechen();
    void fenster();
    void fensterAbbrechen();

private:
    WebUpdateAuftrag auftrag() const;
    void quelle(const QString& q);

    std::unique_ptr<test::TempDir> m_ordner;
    std::unique_ptr<test::TempDir> m_einstellungen;
};

void TestWebUpdate::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const WebUpdateAuftrag a = ErzeugeWebUpdateAuftrag();
    QCOMPARE(a.versionsdatei, QStringLiteral("Kelvad7.Txt"));
    QCOMPARE(a.anwendungstitel, QStringLiteral("Kelvado für Windows"));
    QCOMPARE(a.hauptversion, 7);
    QCOMPARE(a.revision, 8);
}

void TestWebUpdate::init()
{
    m_ordner = std::make_unique<test::TempDir>();
    m_einstellungen = std::make_unique<test::TempDir>();
    Einstellungen::setzeSpeicherordner(m_einstellungen->path());
    quelle(m_ordner->path());
}

void TestWebUpdate::cleanup()
{
    Einstellungen::setzeSpeicherordner(QString());
}

void TestWebUpdate::quelle(const QString& q)
{
    schreibe(m_ordner->file(QStringLiteral("KELVAD.INI")),
        zuWindows1252(
            QStringLiteral("[Allgemein]\r\nName=Test\r\n\r\n[WebUpdate]\r\nAutoPrüfung=7\r\n"
                           "Zuletztgeprüftam=01.01.2020\r\nQuelle=")
            + q + QStringLiteral("\r\n\r\n[Ende]\r\nX=1\r\n")));
}

WebUpdateAuftrag TestWebUpdate::auftrag() const
{
    WebUpdateAuftrag a = ErzeugeWebUpdateAuftrag();
    a.iniPfad = m_ordner->file(QStringLiteral("KELVAD.INI"));
    return a;
}

void TestWebUpdate::pruefen_data()
{
    QTest::addColumn<QByteArray>("datei"); // "-" = no file
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("stand");
    QTest::addColumn<QString>("text");

    QTest::newRow("neuer")
        << QByteArray(
               "# Kelvado\r\nVersion=7\r\nrelease = 9\r\nDownload=https://example.de/k79.deb\r\n"
               "Text=Schnellerer Import.\r\nText=Größere Etiketten.\r\n")
        << true << int(Updatestand::Neuer)
        << QStringLiteral("Es gibt eine neue Version von Kelvado für Windows!\n\nInstalliert: "
                          "Version 7 Release 8\nVerfügbar: Version 7 Release 9\n\nSchnellerer "
                          "Import.\nGrößere Etiketten.\n\nDownload: https://example.de/k79.deb");
    QTest::newRow("neue Hauptversion in 1252")
        << zuWindows1252(QStringLiteral("Version=8\nRelease=0\nText=Übersicht\n")) << true
        << int(Updatestand::Neuer) << QStringLiteral("Übersicht");
    QTest::newRow("gleich")
        << QByteArray("Version=7\nRelease=8\n") << true << int(Updatestand::Gleich)
        << QStringLiteral("Sie verwenden die aktuelle Version von Kelvado für Windows (Version 7 "
                          "Release 8).\n\nEin Update ist nicht erforderlich.");
    QTest::newRow("älter") << QByteArray("Version=6\nRelease=12\n") << true
                           << int(Updatestand::Aelter)
                           << QStringLiteral("ist neuer als die angebotene (Version 6 Release 12)");
    QTest::newRow("fehlt") << QByteArray("-") << false << 0
                           << QStringLiteral(
                                  "Die Update-Information konnte nicht abgerufen werden:");
    QTest::newRow("Release fehlt")
        << QByteArray("Version=7\nText=ohne Release\n") << false << 0
        << QStringLiteral("Die Angabe \"Release\" fehlt oder ist keine ganze Zahl.");
    QTest::newRow("keine Zahl") << QByteArray("Version=sieben\nRelease=8\n") << false << 0
                                << QStringLiteral("Die Update-Information ist fehlerhaft:");
    QTest::newRow("Unsinn") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << false << 0
                            << QStringLiteral("Die Angabe \"Version\" fehlt");
}

void TestWebUpdate::pruefen()
{
    QFETCH(QByteArray, datei);
    QFETCH(bool, ok);
    QFETCH(int, stand);
    QFETCH(QString, text);
    if (datei != "-")
        schreibe(m_ordner->file(QStringLiteral("Kelvad7.Txt")), datei);

    const QString ini = m_ordner->file(QStringLiteral("KELVAD.INI"));
    const QByteArray installiert = inhalt(ini);
    const auto e = pruefe(auftrag());
    QCOMPARE(e.ok, ok);
    QVERIFY(!e.abgebrochen);
    if (ok)
        QCOMPARE(int(e.stand), stand);
    QVERIFY2(e.text.contains(text), qPrintable(e.text));

    // Only a completed check counts as one. The date goes to the user's settings; the
    // installation's file is never written.
    QCOMPARE(inhalt(ini), installiert);
    const QString zuletzt
        = IniWert(ini, QStringLiteral("WebUpdate"), QStringLiteral("Zuletztgeprüftam"))
              .value_or(QString());
    QCOMPARE(zuletzt, ok ? QStringLiteral("06.12.2026") : QStringLiteral("01.01.2020"));
    // The start-up question reads the written date back.
    QCOMPARE(WebUpdateFrage(QStringLiteral("7"), zuletzt, Heute.addDays(7)).has_value(), true);
    QCOMPARE(WebUpdateFrage(QStringLiteral("7"), zuletzt, Heute.addDays(6)).has_value(), !ok);
}

void TestWebUpdate::ohneQuelle()
{
    schreibe(m_ordner->file(QStringLiteral("KELVAD.INI")), "[WebUpdate]\r\nAutoPruefung=1\r\n");
    const auto e = pruefe(auftrag());
    QVERIFY(!e.ok);
    QVERIFY(e.text.startsWith(QStringLiteral("Für das Web-Update ist keine Quelle eingetragen.")));
}

void TestWebUpdate::adresse_data()
{
    QTest::addColumn<QString>("quelle");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("Netzordner") << QStringLiteral("https://example.de/kelvado/")
                                << QStringLiteral("https://example.de/kelvado/Kelvad7.Txt");
    QTest::newRow("Netzdatei") << QStringLiteral("http://example.de/stand.txt")
                               << QStringLiteral("http://example.de/stand.txt");
    QTest::newRow("lokale Datei") << QStringLiteral("/opt/update/stand.txt")
                                  << QStringLiteral("/opt/update/stand.txt");
    QTest::newRow("file-Adresse") << QStringLiteral("file:///opt/update/")
                                  << QStringLiteral("/opt/update/Kelvad7.Txt");
}

void TestWebUpdate::adresse()
{
    QFETCH(QString, quelle);
    QFETCH(QString, erwartet);
    QCOMPARE(WebUpdatePruefung::Adresse(quelle, QStringLiteral("Kelvad7.Txt")), erwartet);
}

void TestWebUpdate::iniSchreibenBehaeltAnderes()
{
    const QString pfad = m_ordner->file(QStringLiteral("KELVAD.INI"));
    QVERIFY(SchreibeIniWert(pfad, QStringLiteral("webupdate"), QStringLiteral("Zuletztgeprüftam"),
        QStringLiteral("x")));
    QVERIFY(SchreibeIniWert(pfad, QStringLiteral("KelvadSicherung"), QStringLiteral("Verzeichnis"),
        QStringLiteral("/ä")));
    QVERIFY(SchreibeIniWert(
        pfad, QStringLiteral("Allgemein"), QStringLiteral("Neu"), QStringLiteral("2")));
    const IniDatei ini(pfad);
    QCOMPARE(ini.wert(QStringLiteral("WebUpdate"), QStringLiteral("Zuletztgeprüftam")),
        std::optional<QString>(QStringLiteral("x")));
    QCOMPARE(ini.wert(QStringLiteral("WebUpdate"), QStringLiteral("AutoPrüfung")),
        std::optional<QString>(QStringLiteral("7")));
    QCOMPARE(ini.wert(QStringLiteral("KelvadSicherung"), QStringLiteral("Verzeichnis")),
        std::optional<QString>(QStringLiteral("/ä")));
    QCOMPARE(ini.wert(QStringLiteral("Allgemein"), QStringLiteral("Name")),
        std::optional<QString>(QStringLiteral("Test")));
    QCOMPARE(ini.wert(QStringLiteral("Allgemein"), QStringLiteral("Neu")),
        std::optional<QString>(QStringLiteral("2")));
    QCOMPARE(ini.wert(QStringLiteral("Ende"), QStringLiteral("X")),
        std::optional<QString>(QStringLiteral("1")));
    // The new key sits in its own section, before the next one.
    const QString text = *leseTextdatei(pfad);
    QVERIFY(text.indexOf(QStringLiteral("Neu=2")) < text.indexOf(QStringLiteral("[WebUpdate]")));
    QVERIFY(text.count(QStringLiteral("Zuletztgeprüftam")) == 1);
    QVERIFY(!SchreibeIniWert(m_ordner->file(QStringLiteral("fehlt/KELVAD.INI")),
        QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")));
}

void TestWebUpdate::netz()
{
    const Testserver server("Version=7\nRelease=9\n");
    quelle(server.adresse());
    const auto e = pruefe(auftrag());
    QVERIFY2(e.ok, qPrintable(e.text));
    QCOMPARE(e.stand, Updatestand::Neuer);

    // A server that keeps silent: the time limit ends the check.
    const Testserver stumm;
    quelle(stumm.adresse());
    const auto langsam = pruefe(auftrag(), 300);
    QVERIFY(!langsam.ok);
    QVERIFY2(langsam.text.endsWith(QStringLiteral("Der Server hat nicht rechtzeitig geantwortet.")),
        qPrintable(langsam.text));
}

void TestWebUpdate::abbrechen()
{
    const Testserver stumm;
    quelle(stumm.adresse());
    WebUpdatePruefung p;
    QSignalSpy fertig(&p, &WebUpdatePruefung::fertig);
    p.starten(auftrag(), Heute);
    QVERIFY(p.laeuft());
    p.abbrechen();
    QVERIFY(fertig.wait(5000));
    QCOMPARE(fertig.size(), 1);
    QVERIFY(!p.laeuft());
    QVERIFY(p.ergebnis().abgebrochen);
    QCOMPARE(p.ergebnis().text, QStringLiteral("Die Update-Prüfung wurde abgebrochen."));
    // A check started anew replaces the running one, which then reports nothing.
    p.starten(auftrag(), Heute);
    quelle(m_ordner->path());
    schreibe(m_ordner->file(QStringLiteral("Kelvad7.Txt")), "Version=7\nRelease=8\n");
    p.starten(auftrag(), Heute);
    QVERIFY(fertig.wait(5000));
    QTest::qWait(50);
    QCOMPARE(fertig.size(), 2);
    QCOMPARE(p.ergebnis().stand, Updatestand::Gleich);
}

void TestWebUpdate::fensterAbbrechen()
{
    const Testserver stumm;
    quelle(stumm.adresse());
    frmWebUpdate f(auftrag());
    f.pruefen(Heute);
    // The window stays usable while the server keeps silent.
    QVERIFY(f.prueftGerade());
    QCOMPARE(f.ergebnisText(), QStringLiteral("Die Update-Information wird abgerufen..."));
    QVERIFY(f.abbrechenKnopf()->isEnabled());
    QVERIFY(!f.pruefenKnopf()->isEnabled());
    f.abbrechenKnopf()->click();
    QTRY_VERIFY(!f.prueftGerade());
    QCOMPARE(f.ergebnisText(), QStringLiteral("Die Update-Prüfung wurde abgebrochen."));
    QVERIFY(!f.abbrechenKnopf()->isEnabled());
    QVERIFY(f.pruefenKnopf()->isEnabled());
    QVERIFY(!f.downloadMoeglich());
}

void TestWebUpdate::fenster()
{
    schreibe(m_ordner->file(QStringLiteral("Kelvad7.Txt")),
        "Version=7\nRelease=10\nDownload=https://example.de/\n");
    frmWebUpdate f(auftrag());
    QCOMPARE(f.windowTitle(), QStringLiteral("Kelvado / Web-Update"));
    QVERIFY(!f.downloadMoeglich());
    f.pruefen(Heute);
    QTRY_VERIFY(!f.prueftGerade());
    QVERIFY(f.ergebnisText().contains(QStringLiteral("Verfügbar: Version 7 Release 10")));
    QVERIFY(f.downloadMoeglich());
    QFile::remove(m_ordner->file(QStringLiteral("Kelvad7.Txt")));
    f.pruefen(Heute);
    QTRY_VERIFY(!f.prueftGerade());
    QVERIFY(f.ergebnisText().startsWith(
        QStringLiteral("Die Update-Information konnte nicht abgerufen werden:")));
    QVERIFY(!f.downloadMoeglich());
}

QTEST_MAIN(TestWebUpdate)
#include "tst_webupdate.moc"
