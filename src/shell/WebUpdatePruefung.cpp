#include "shell/WebUpdatePruefung.h"

#include "base/Fehlermeldung.h"
#include "base/Windows1252.h"
#include "shell/Anwendung.h"
#include "shell/IniDatei.h"
#include "shell/Programmverzeichnis.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>

namespace kv {

namespace {

constexpr qint64 MaxGroesse = 64 * 1024;

const QString Abschnitt = QStringLiteral("WebUpdate");

bool istNetzadresse(const QString& quelle)
{
    const QString schema = QUrl(quelle).scheme().toLower();
    return schema == QStringLiteral("http") || schema == QStringLiteral("https");
}

QString lokalerPfad(const QString& quelle)
{
    const QUrl url(quelle);
    if (url.scheme().compare(QStringLiteral("file"), Qt::CaseInsensitive) == 0)
        return url.toLocalFile();
    if (QDir::isRelativePath(quelle))
        return Programmverzeichnis() + quelle;
    return quelle;
}

QString dekodiere(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? ausWindows1252(bytes) : text;
}

std::optional<QByteArray> holeNetz(const QString& adresse, int timeoutMs, QString* fehler)
{
    QNetworkAccessManager netz;
    QNetworkRequest anfrage { QUrl(adresse) };
    anfrage.setTransferTimeout(timeoutMs);
    QNetworkReply* antwort = netz.get(anfrage);
    QEventLoop schleife;
    QTimer uhr;
    uhr.setSingleShot(true);
    bool zuLangsam = false;
    QObject::connect(&uhr, &QTimer::timeout, &schleife, [&] {
        zuLangsam = true;
        antwort->abort();
    });
    QObject::connect(antwort, &QNetworkReply::finished, &schleife, &QEventLoop::quit);
    QObject::connect(antwort, &QNetworkReply::downloadProgress, &schleife, [&](qint64 n, qint64) {
        if (n > MaxGroesse)
            antwort->abort();
    });
    uhr.start(timeoutMs);
    if (!antwort->isFinished())
        schleife.exec();
    uhr.stop();
    std::optional<QByteArray> ergebnis;
    if (antwort->error() == QNetworkReply::NoError) {
        ergebnis = antwort->readAll();
    } else if (zuLangsam || antwort->error() == QNetworkReply::OperationCanceledError
        || antwort->error() == QNetworkReply::TimeoutError) {
        *fehler = QStringLiteral("Der Server hat nicht rechtzeitig geantwortet.");
    } else {
        *fehler = QStringLiteral("Der Server ist nicht erreichbar (") + antwort->errorString()
            + QStringLiteral(").");
    }
    delete antwort;
    return ergebnis;
}

QString versionsText(int version, int release)
{
    return QStringLiteral("Version ") + QString::number(version) + QStringLiteral(" Release ")
        + QString::number(release);
}

/// Today in the user's short date form with a four-digit year, readable by the start-up check.
QString datumText(const QDate& datum)
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return QLocale().toString(datum, format);
}

} // namespace

WebUpdateAuftrag ErzeugeWebUpdateAuftrag()
{
    WebUpdateAuftrag a;
    a.produktname = Produktname;
    a.programmverzeichnis = Programmverzeichnis();
    a.iniPfad = Programmverzeichnis() + QStringLiteral("KELVAD.INI");
    a.versionsdatei = QStringLiteral("Kelvad7.Txt");
    a.anwendungsdatei = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    a.produkt = Produktname;
    a.hauptversion = Hauptversion;
    a.revision = Revision;
    a.anwendungstitel = QStringLiteral("Kelvado für Windows");
    return a;
}

std::optional<Versionsinfo> LeseVersionsinfo(const QString& text, QString* fehler)
{
    Versionsinfo info;
    std::optional<int> version;
    std::optional<int> release;
    QStringList zeilen;
    for (const QStringView roh : QStringView(text).split(QLatin1Char('\n'))) {
        const QStringView zeile = roh.trimmed();
        if (zeile.isEmpty() || zeile.startsWith(u'#') || zeile.startsWith(u';'))
            continue;
        const qsizetype gleich = zeile.indexOf(u'=');
        if (gleich <= 0)
            continue;
        const QString schluessel = zeile.left(gleich).trimmed().toString().toCaseFolded();
        const QString wert = zeile.mid(gleich + 1).trimmed().toString();
        bool zahl = false;
        const int n = wert.toInt(&zahl);
        if (schluessel == QStringLiteral("version") && zahl && n >= 0)
            version = n;
        else if (schluessel == QStringLiteral("release") && zahl && n >= 0)
            release = n;
        else if (schluessel == QStringLiteral("download"))
            info.download = wert;
        else if (schluessel == QStringLiteral("text"))
            zeilen.append(wert);
    }
    if (!version || !release) {
        *fehler = QStringLiteral("Die Angabe \"")
            + (version ? QStringLiteral("Release") : QStringLiteral("Version"))
            + QStringLiteral("\" fehlt oder ist keine ganze Zahl.");
        return std::nullopt;
    }
    info.version = *version;
    info.release = *release;
    info.text = zeilen.join(Zeilenumbruch);
    return info;
}

Updatestand VergleicheVersion(const Versionsinfo& angebot, int version, int revision)
{
    if (angebot.version != version)
        return angebot.version > version ? Updatestand::Neuer : Updatestand::Aelter;
    if (angebot.release != revision)
        return angebot.release > revision ? Updatestand::Neuer : Updatestand::Aelter;
    return Updatestand::Gleich;
}

QString WebUpdatePruefung::Adresse(const QString& quelle, const QString& versionsdatei)
{
    const QString q = quelle.trimmed();
    if (istNetzadresse(q))
        return q.endsWith(u'/') ? q + versionsdatei : q;
    const QString pfad = lokalerPfad(q);
    if (QFileInfo(pfad).isDir() || pfad.endsWith(u'/') || pfad.endsWith(u'\\'))
        return QDir(pfad).filePath(versionsdatei);
    return pfad;
}

std::optional<QByteArray> WebUpdatePruefung::Hole(
    const QString& adresse, int timeoutMs, QString* fehler)
{
    if (istNetzadresse(adresse))
        return holeNetz(adresse, timeoutMs, fehler);
    QFile datei(adresse);
    if (!datei.exists()) {
        *fehler = QStringLiteral("Die Datei ist nicht vorhanden.");
        return std::nullopt;
    }
    if (!datei.open(QIODevice::ReadOnly)) {
        *fehler = QStringLiteral("Die Datei kann nicht gelesen werden.");
        return std::nullopt;
    }
    if (datei.size() > MaxGroesse) {
        *fehler = QStringLiteral("Die Datei ist zu groß für eine Update-Information.");
        return std::nullopt;
    }
    return datei.readAll();
}

WebUpdatePruefung::Ergebnis WebUpdatePruefung::Pruefe(
    const WebUpdateAuftrag& auftrag, const QDate& heute, int timeoutMs)
{
    Ergebnis e;
    const QChar z = Zeilenumbruch;
    const QString quelle = IniDatei(auftrag.iniPfad)
                               .wert(Abschnitt, QStringLiteral("Quelle"))
                               .value_or(QString())
                               .trimmed();
    if (quelle.isEmpty()) {
        e.text = QStringLiteral("Für das Web-Update ist keine Quelle eingetragen.") + z + z
            + QStringLiteral("Bitte tragen Sie in der Datei ")
            + QDir::toNativeSeparators(auftrag.iniPfad)
            + QStringLiteral(" im Abschnitt [WebUpdate] unter \"Quelle\" eine Internetadresse oder")
            + z + QStringLiteral("einen Dateipfad ein.");
        return e;
    }
    const QString adresse = Adresse(quelle, auftrag.versionsdatei);
    QString fehler;
    const std::optional<QByteArray> bytes = Hole(adresse, timeoutMs, &fehler);
    if (!bytes) {
        e.text = QStringLiteral("Die Update-Information konnte nicht abgerufen werden:") + z + z
            + adresse + z + z + fehler;
        return e;
    }
    const std::optional<Versionsinfo> info = LeseVersionsinfo(dekodiere(*bytes), &fehler);
    if (!info) {
        e.text = QStringLiteral("Die Update-Information ist fehlerhaft:") + z + z + adresse + z + z
            + fehler;
        return e;
    }
    e.ok = true;
    e.info = *info;
    e.stand = VergleicheVersion(*info, auftrag.hauptversion, auftrag.revision);
    const QString installiert = versionsText(auftrag.hauptversion, auftrag.revision);
    const QString angeboten = versionsText(info->version, info->release);
    switch (e.stand) {
    case Updatestand::Neuer:
        e.text = QStringLiteral("Es gibt eine neue Version von ") + auftrag.anwendungstitel
            + QStringLiteral("!") + z + z + QStringLiteral("Installiert: ") + installiert + z
            + QStringLiteral("Verfügbar: ") + angeboten;
        if (!info->text.isEmpty())
            e.text += z + z + info->text;
        if (!info->download.isEmpty())
            e.text += z + z + QStringLiteral("Download: ") + info->download;
        break;
    case Updatestand::Gleich:
        e.text = QStringLiteral("Sie verwenden die aktuelle Version von ") + auftrag.anwendungstitel
            + QStringLiteral(" (") + installiert + QStringLiteral(").") + z + z
            + QStringLiteral("Ein Update ist nicht erforderlich.");
        break;
    case Updatestand::Aelter:
        e.text = QStringLiteral("Ihre Version von ") + auftrag.anwendungstitel
            + QStringLiteral(" (") + installiert
            + QStringLiteral(") ist neuer als die angebotene (") + angeboten + QStringLiteral(").")
            + z + z + QStringLiteral("Ein Update ist nicht erforderlich.");
        break;
    }
    // The date of the check is a convenience; failing to store it must not spoil the result.
    SchreibeIniWert(
        auftrag.iniPfad, Abschnitt, QStringLiteral("Zuletztgeprüftam"), datumText(heute));
    return e;
}

} // namespace kv
