#include "tables/Tabellenentwurf.h"

#include "base/Fehlermeldung.h"
#include "tables/Tabellendefinitionsformat.h"

namespace kv {

namespace {

QString leereingabe()
{
    return QStringLiteral("Eine Leereingabe ist nicht zulässig!") + Zeilenumbruch + Zeilenumbruch
        + QStringLiteral("Bitte ergänzen Sie die Eingabe!");
}

} // namespace

Tabellenentwurf::Tabellenentwurf(const QString& tabelle, const QString& definitionText,
    const QString& datei, const QString& datenbankpfad)
    : m_tabelle(tabelle)
    , m_neu(datei.isEmpty())
    , m_definition(leseTabellendefinition(
          definitionText.isEmpty() ? designerStandardtext(tabelle) : definitionText)
                       .definition)
    , m_datei(false, tabelle, definitionText, datei, datenbankpfad)
{ }

QString Tabellenentwurf::titel() const
{
    return QStringLiteral("Tabellen-Generator")
        + (m_neu ? QStringLiteral(" neu erstellen") : QStringLiteral(" ändern"));
}

void Tabellenentwurf::setzeName(const QString& name)
{
    if (name == m_datei.name())
        return;
    m_datei.setzeName(name);
    m_geaendert = true;
}

Tabellendefinition& Tabellenentwurf::aendern()
{
    m_geaendert = true;
    return m_definition;
}

bool Tabellenentwurf::verschiebeSpalte(int zeile, int richtung)
{
    const int ziel = zeile + richtung;
    if (zeile < 0 || zeile >= m_definition.spalten.size() || ziel < 0
        || ziel >= m_definition.spalten.size() || richtung == 0)
        return false;
    aendern().spalten.move(zeile, ziel);
    return true;
}

void Tabellenentwurf::alleSpaltenLoeschen()
{
    aendern().spalten.clear();
    m_definition.reportfelder.clear();
}

std::optional<QString> Tabellenentwurf::pruefeSpalte(const Tabellenspalte& spalte)
{
    if (spalte.datenfeld.trimmed().isEmpty())
        return leereingabe();
    return std::nullopt;
}

std::optional<QString> Tabellenentwurf::pruefeReportfeld(const Reportfeld& feld)
{
    if (feld.feld.trimmed().isEmpty())
        return QStringLiteral("Die Auswahl des Grafikfeldes fehlt noch!") + Zeilenumbruch
            + Zeilenumbruch + QStringLiteral("Bitte ergänzen Sie die Eingabe!");
    return std::nullopt;
}

bool Tabellenentwurf::speichern()
{
    Tabellendefinition geschrieben = m_definition;
    geschrieben.spalten.removeIf(
        [](const Tabellenspalte& s) { return pruefeSpalte(s).has_value(); });
    geschrieben.reportfelder.removeIf(
        [](const Reportfeld& f) { return pruefeReportfeld(f).has_value(); });
    m_datei.setzeText(tabellendefinitionstext(geschrieben));
    if (!m_datei.speichern())
        return false;
    m_geaendert = false;
    return true;
}

bool Tabellenentwurf::schliessenErlaubt()
{
    return SchliessenNachFrage(m_geaendert, [this] { return speichern(); });
}

} // namespace kv
