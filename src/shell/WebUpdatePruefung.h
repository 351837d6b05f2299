#pragma once

#include <QByteArray>
#include <QDate>
#include <QRect>
#include <QString>
#include <optional>

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

/// Checks the update source named in "KELVAD.INI" (section "WebUpdate", key "Quelle").
/// The source is an http(s) address or a local path (also "file:" addresses). An address ending
/// in "/" or a local folder is where the version file lies; anything else names the file itself.
class WebUpdatePruefung {
public:
    struct Ergebnis {
        /// True when the version file was read; then stand and info are valid.
        bool ok = false;
        Updatestand stand = Updatestand::Gleich;
        Versionsinfo info;
        /// The German text to show.
        QString text;
    };

    /// Full address of the version file for quelle.
    static QString Adresse(const QString& quelle, const QString& versionsdatei);

    /// Reads the file at adresse; a network address gives up after timeoutMs. The file is at most
    /// 64 KB. nullopt with fehler set when it cannot be read.
    static std::optional<QByteArray> Hole(const QString& adresse, int timeoutMs, QString* fehler);

    /// The whole check; on success "Zuletztgeprüftam" in the INI file becomes heute.
    static Ergebnis Pruefe(
        const WebUpdateAuftrag& auftrag, const QDate& heute, int timeoutMs = 15000);
};

} // namespace kv
