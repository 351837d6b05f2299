#include "shell/WebUpdatePruefung.h"

#include "base/Fehlermeldung.h"
#include "base/Programmverzeichnis.h"
#include "base/Windows1252.h"
#include "shell/Anwendung.h"
#include "shell/IniDatei.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
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

QString ZuGrossText()
{
    return QStringLiteral("Die Datei ist zu groß für eine Update-Information.");
}

std::optional<QByteArray> holeDatei(const QString& pfad, QString* fehler)
{
    QFile datei(pfad);
    if (!datei.exists()) {
        *fehler = QStringLiteral("Die Datei ist nicht vorhanden.");
        return std::nullopt;
    }
    if (!datei.open(QIODevice::ReadOnly)) {
        *fehler = QStringLiteral("Die Datei kann nicht gelesen werden.");
        return std::nullopt;
    }
    if (datei.size() > MaxGroesse) {
        *fehler = ZuGrossText();
        return std::nullopt;
    }
    return datei.readAll();
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

WebUpdatePruefung::WebUpdatePruefung(QObject* parent)
    : QObject(parent)
{ }

WebUpdatePruefung::~WebUpdatePruefung()
{
    if (m_antwort) {
        m_antwort->disconnect(this);
        m_antwort->abort();
    }
}

void WebUpdatePruefung::starten(const WebUpdateAuftrag& auftrag, const QDate& heute, int timeoutMs)
{
    abbrechen();
    const int lauf = ++m_lauf;
    m_auftrag = auftrag;
    m_heute = heute;
    m_laeuft = true;
    m_zuGross = false;

    const QString quelle = IniWert(auftrag.iniPfad, Abschnitt, QStringLiteral("Quelle"))
                               .value_or(QString())
                               .trimmed();
    if (quelle.isEmpty()) {
        const QChar z = Zeilenumbruch;
        Ergebnis e;
        e.text = QStringLiteral("Für das Web-Update ist keine Quelle eingetragen.") + z + z
            + QStringLiteral("Bitte tragen Sie in der Datei ")
            + QDir::toNativeSeparators(auftrag.iniPfad)
            + QStringLiteral(" im Abschnitt [WebUpdate] unter \"Quelle\" eine Internetadresse oder")
            + z + QStringLiteral("einen Dateipfad ein.");
        spaeterMelden(e);
        return;
    }
    m_adresse = Adresse(quelle, auftrag.versionsdatei);
    if (!istNetzadresse(m_adresse)) {
        QString fehler;
        const std::optional<QByteArray> bytes = holeDatei(m_adresse, &fehler);
        QMetaObject::invokeMethod(
            this,
            [this, lauf, bytes, fehler] {
                if (lauf == m_lauf)
                    beenden(bytes, fehler);
            },
            Qt::QueuedConnection);
        return;
    }

    if (!m_netz)
        m_netz = std::make_unique<QNetworkAccessManager>();
    QNetworkRequest anfrage { QUrl(m_adresse) };
    anfrage.setTransferTimeout(timeoutMs);
    QNetworkReply* antwort = m_netz->get(anfrage);
    m_antwort = antwort;
    connect(antwort, &QNetworkReply::downloadProgress, this, [this, antwort](qint64 n, qint64) {
        if (n > MaxGroesse) {
            m_zuGross = true;
            antwort->abort();
        }
    });
    connect(antwort, &QNetworkReply::finished, this, [this, antwort, lauf] {
        antwort->deleteLater();
        if (lauf != m_lauf)
            return;
        m_antwort = nullptr;
        if (antwort->error() == QNetworkReply::NoError) {
            beenden(antwort->readAll(), QString());
        } else if (m_zuGross) {
            beenden(std::nullopt, ZuGrossText());
        } else if (antwort->error() == QNetworkReply::OperationCanceledError
            || antwort->error() == QNetworkReply::TimeoutError) {
            beenden(std::nullopt, QStringLiteral("Der Server hat nicht rechtzeitig geantwortet."));
        } else {
            beenden(std::nullopt,
                QStringLiteral("Der Server ist nicht erreichbar (") + antwort->errorString()
                    + QStringLiteral(")."));
        }
    });
}

void WebUpdatePruefung::abbrechen()
{
    if (!m_laeuft)
        return;
    // The answer of the aborted request is dropped; cancelling is reported here once.
    ++m_lauf;
    if (QNetworkReply* antwort = m_antwort.data()) {
        m_antwort = nullptr;
        antwort->abort();
    }
    Ergebnis e;
    e.abgebrochen = true;
    e.text = QStringLiteral("Die Update-Prüfung wurde abgebrochen.");
    spaeterMelden(e);
}

void WebUpdatePruefung::spaeterMelden(const Ergebnis& ergebnis)
{
    // Reported from the event loop, so that the caller of starten() or abbrechen() has returned;
    // dropped when a newer check has started meanwhile.
    const int lauf = m_lauf;
    QMetaObject::invokeMethod(
        this,
        [this, lauf, ergebnis] {
            if (lauf == m_lauf)
                melden(ergebnis);
        },
        Qt::QueuedConnection);
}

void WebUpdatePruefung::melden(Ergebnis ergebnis)
{
    m_laeuft = false;
    m_ergebnis = std::move(ergebnis);
    Q_EMIT fertig();
}

void WebUpdatePruefung::beenden(const std::optional<QByteArray>& bytes, const QString& fehler)
{
    const QChar z = Zeilenumbruch;
    Ergebnis e;
    if (!bytes) {
        e.text = QStringLiteral("Die Update-Information konnte nicht abgerufen werden:") + z + z
            + m_adresse + z + z + fehler;
        melden(e);
        return;
    }
    QString lesefehler;
    const std::optional<Versionsinfo> info = LeseVersionsinfo(dekodiere(*bytes), &lesefehler);
    if (!info) {
        e.text = QStringLiteral("Die Update-Information ist fehlerhaft:") + z + z + m_adresse + z
            + z + lesefehler;
        melden(e);
        return;
    }
    const WebUpdateAuftrag& auftrag = m_auftrag;
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
    SchreibeBenutzerIniWert(
        auftrag.iniPfad, Abschnitt, QStringLiteral("Zuletztgeprüftam"), datumText(m_heute));
    melden(e);
}

} // namespace kv
