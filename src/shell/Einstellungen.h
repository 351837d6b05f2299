#pragma once

#include "shell/Anwendung.h"

#include <QList>
#include <QPair>
#include <QString>
#include <memory>
#include <optional>

class QSettings;

namespace kv {

/// Section of the program settings.
inline const QString AbschnittSettings = QStringLiteral("Settings");
/// Section of the report output settings.
inline const QString AbschnittDruckausgaben = QStringLiteral("Druckausgaben");

/// Boolean settings text: "True"/"False" in any case, "-1", "0" and "1"; nullopt for anything else.
std::optional<bool> boolAusText(const QString& text);
/// The Boolean text written to the settings: "True" or "False".
QString boolText(bool wert);

/// The per-user settings store: text values addressed by application name, section and key.
///
/// Each application name has one INI file in speicherordner(); the program and the tests go
/// through the same code, the tests only point the folder at a temporary one.
class Einstellungen {
public:
    explicit Einstellungen(const QString& anwendung = Anwendungstitel);
    ~Einstellungen();
    Einstellungen(const Einstellungen&) = delete;
    Einstellungen& operator=(const Einstellungen&) = delete;

    const QString& anwendung() const { return m_anwendung; }

    /// The stored text, or vorgabe when the key is missing (a stored empty text stays empty).
    QString lese(const QString& abschnitt, const QString& schluessel,
        const QString& vorgabe = QString()) const;
    void schreibe(const QString& abschnitt, const QString& schluessel, const QString& wert);
    bool enthaelt(const QString& abschnitt, const QString& schluessel) const;

    /// A Boolean value; vorgabe when the key is missing or its text is no Boolean text.
    bool leseBool(const QString& abschnitt, const QString& schluessel, bool vorgabe) const;
    void schreibeBool(const QString& abschnitt, const QString& schluessel, bool wert);

    /// All (key, value) pairs of a section.
    QList<QPair<QString, QString>> leseAbschnitt(const QString& abschnitt) const;

    /// Removes one key, or the whole section when schluessel is empty.
    void loesche(const QString& abschnitt, const QString& schluessel = QString());

    /// Writes pending changes to the file (also done on destruction).
    void sichern();

    /// Folder of the settings files; by default the user's configuration folder + "/Kelvado".
    static QString speicherordner();
    /// Redirects the store (tests); an empty folder restores the default.
    static void setzeSpeicherordner(const QString& ordner);
    /// The file holding the settings of one application name.
    static QString dateipfad(const QString& anwendung);

private:
    QString m_anwendung;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace kv
