#pragma once

#include <QByteArray>
#include <QDate>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

namespace kv {

/// What the web-update window receives at start-up or from the "?" menu.
struct WebUpdateAuftrag {
    QString produktname;
    QString programmverzeichnis;
    QString iniPfad;
    /// Name of the version file at the update source ("Kelvad7.Txt").
    QString versionsdatei;
    QString anwendungsdatei;
    QString produkt;
    int hauptversion = 0;
    int revision = 0;
    QString hilfedatei;
    QString anwendungstitel;
    QRect hauptfenster;
};

/// The order with this program's values; the caller adds help file and main window geometry.
WebUpdateAuftrag ErzeugeWebUpdateAuftrag();

/// Contents of the version file. The file is plain text (UTF-8, or Windows-1252 when it is not
/// valid UTF-8) with one "Schlüssel=Wert" per line; keys ignore case, blank lines and lines
/// starting with "#" or ";" are skipped:
///
///     Version=7
///     Release=9
///     Download=https://www.example.de/kelvado/kelvado-7.9.deb
///     Text=Korrigiert den Druck von Etiketten.
///     Text=Schnellerer Import.
///
/// "Version" and "Release" are required whole numbers; "Text" may repeat, one line each.
struct Versionsinfo {
    int version = 0;
    int release = 0;
    QString download;
    QString text;
};

/// Reads the version file's text; nullopt with fehler set when a required value is missing.
std::optional<Versionsinfo> LeseVersionsinfo(const QString& text, QString* fehler);

enum class Updatestand { Neuer, Gleich, Aelter };

Updatestand VergleicheVersion(const Versionsinfo& angebot, int version, int revision);

/// Checks the update source named in "KELVAD.INI" (section "WebUpdate", key "Quelle"; the
/// user's copy of the file first). The source is an http(s) address or a local path (also
/// "file:" addresses). An address ending in "/" or a local folder is where the version file
/// lies; anything else names the file itself.
///
/// The check runs without blocking: starten() returns at once and fertig() follows when the
/// answer is there, the time limit is reached or abbrechen() was called.
class WebUpdatePruefung : public QObject {
    Q_OBJECT
public:
    struct Ergebnis {
        /// True when the version file was read; then stand and info are valid.
        bool ok = false;
        bool abgebrochen = false;
        Updatestand stand = Updatestand::Gleich;
        Versionsinfo info;
        /// The German text to show.
        QString text;
    };

    explicit WebUpdatePruefung(QObject* parent = nullptr);
    ~WebUpdatePruefung() override;

    /// Full address of the version file for quelle.
    static QString Adresse(const QString& quelle, const QString& versionsdatei);

    /// Starts the check; a check still running is cancelled first. A network source gives up
    /// after timeoutMs. On success "Zuletztgeprüftam" becomes heute (in the user's copy of the
    /// INI file).
    void starten(const WebUpdateAuftrag& auftrag, const QDate& heute, int timeoutMs = 15000);
    /// Stops a running check; fertig() then reports it as cancelled.
    void abbrechen();
    bool laeuft() const { return m_laeuft; }
    /// The result of the last finished check.
    const Ergebnis& ergebnis() const { return m_ergebnis; }

Q_SIGNALS:
    /// Once per started check that was not replaced by a newer one; never from inside
    /// starten() or abbrechen().
    void fertig();

private:
    void beenden(const std::optional<QByteArray>& bytes, const QString& fehler);
    void melden(Ergebnis ergebnis);
    void spaeterMelden(const Ergebnis& ergebnis);

    WebUpdateAuftrag m_auftrag;
    QDate m_heute;
    QString m_adresse;
    Ergebnis m_ergebnis;
    bool m_laeuft = false;
    bool m_zuGross = false;
    std::unique_ptr<QNetworkAccessManager> m_netz;
    QPointer<QNetworkReply> m_antwort;
    /// Counts started checks, so that a late answer of a replaced one is dropped.
    int m_lauf = 0;
};

} // namespace kv
