#include "tables/StrukturtextBearbeitung.h"

#include "base/Dialoge.h"
#include "base/Pfade.h"
#include "tables/Definitionstext.h"

namespace kv {

StrukturtextBearbeitung::StrukturtextBearbeitung(bool maske, const QString& tabelle,
    const QString& definitionText, const QString& datei, const QString& datenbankpfad)
    : m_art(maske ? Definitionsart::Maske : Definitionsart::Tabelle)
    , m_datenbankpfad(datenbankpfad)
    , m_datei(datei)
    , m_name(datei.isEmpty() ? QString() : definitionsname(datei, datenbankpfad))
    , m_text(definitionText.isEmpty() ? starttextDefinition(m_art, tabelle) : definitionText)
{ }

QString StrukturtextBearbeitung::titel() const
{
    return m_art == Definitionsart::Maske ? QStringLiteral("Maskenstruktur bearbeiten")
                                          : QStringLiteral("Tabellenstruktur bearbeiten");
}

void StrukturtextBearbeitung::setzeName(const QString& name)
{
    if (name == m_name)
        return;
    m_name = name;
    m_geaendert = true;
}

void StrukturtextBearbeitung::setzeText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_geaendert = true;
}

QString StrukturtextBearbeitung::zieldatei() const
{
    // The file's own name keeps the file as it is, whatever the case of its extension.
    if (!m_datei.isEmpty() && m_name == definitionsname(m_datei, m_datenbankpfad))
        return m_datei;
    return definitionsdateiname(m_datenbankpfad, m_name, m_art);
}

bool StrukturtextBearbeitung::speichern()
{
    m_name = m_name.trimmed();
    if (const std::optional<QString> falsch = pruefeDefinitionsname(m_name)) {
        zeigeMeldung(*falsch);
        return false;
    }
    const bool eigeneDatei
        = !m_datei.isEmpty() && m_name == definitionsname(m_datei, m_datenbankpfad);
    if (!eigeneDatei && m_datenbankpfad.isEmpty()) {
        zeigeMeldung(QStringLiteral("Es ist keine Datenbank geöffnet!"));
        return false;
    }
    if (m_name.isEmpty()) {
        const std::optional<QString> frei = freierOhneNamenName(m_datenbankpfad, m_art);
        if (!frei) {
            zeigeMeldung(ohneNamenVergebenText(m_art));
            return false;
        }
        m_name = *frei;
    }
    const QString pfad = zieldatei();
    // Another definition's file is not overwritten unasked.
    if (pfad != m_datei && DateiVorhanden(pfad)
        && zeigeMeldung(QStringLiteral("Die Datei") + QStringLiteral("\n\n") + pfad
                   + QStringLiteral("\n\nist bereits vorhanden. Möchten Sie sie ersetzen?"),
               QString(), Knoepfe::JaNein, Symbol::Frage, 2)
            != Antwort::Ja)
        return false;
    if (const std::optional<QString> fehler
        = schreibeDefinitionstext(pfad, m_text, Strukturdatei)) {
        zeigeMeldung(*fehler);
        return false;
    }
    m_datei = pfad;
    // "Kunden.tsk" typed as the name is the definition Kunden from now on.
    m_name = definitionsname(pfad, m_datenbankpfad);
    m_geaendert = false;
    return true;
}

bool StrukturtextBearbeitung::schliessenErlaubt()
{
    return SchliessenNachFrage(m_geaendert, [this] { return speichern(); });
}

bool SchliessenNachFrage(bool geaendert, const std::function<bool()>& speichern)
{
    if (!geaendert)
        return true;
    switch (
        zeigeMeldung(QStringLiteral("Möchten Sie die Änderungen in der Strukturdatei speichern?"),
            QString(), Knoepfe::JaNeinAbbrechen, Symbol::Frage)) {
    case Antwort::Ja:
        return speichern();
    case Antwort::Nein:
        return true;
    default:
        return false;
    }
}

} // namespace kv
