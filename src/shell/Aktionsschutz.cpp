#include "shell/Aktionsschutz.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"

#include <array>

namespace kv {

namespace {

constexpr int k_gesamtlaenge = Aktionsschutz::Anzahl * Aktionsschutz::Laenge;

bool gueltig(int n)
{
    return n >= 1 && n <= Aktionsschutz::Anzahl;
}

// Passwords count with their first 5 characters, shorter ones padded with blanks.
QString aufLaenge(const QString& text)
{
    return text.left(Aktionsschutz::Laenge).leftJustified(Aktionsschutz::Laenge, QLatin1Char(' '));
}

PasswortAbfrage& installierteAbfrage()
{
    static PasswortAbfrage abfrage;
    return abfrage;
}

} // namespace

Aktionsschutz::Aktionsschutz()
    : m_speicher(verwuerfeln(QString()).repeated(Anzahl))
{ }

void Aktionsschutz::laden(const QString& wert)
{
    const qsizetype ganze = std::min<qsizetype>(wert.size(), k_gesamtlaenge) / Laenge * Laenge;
    m_speicher.replace(0, ganze, wert.left(ganze));
}

void Aktionsschutz::setzePasswort(int n, const QString& passwort)
{
    if (gueltig(n))
        m_speicher.replace(qsizetype(n - 1) * Laenge, Laenge, verwuerfeln(passwort));
}

QString Aktionsschutz::passwort(int n) const
{
    return verwuerfeln(slot(n));
}

bool Aktionsschutz::geschuetzt(int n) const
{
    // Only the marker means "unprotected": a slot of blanks is the password "WTNQA".
    return gueltig(n) && slot(n).compare(Schluessel, Qt::CaseInsensitive) != 0;
}

QString Aktionsschutz::verwuerfeln(const QString& text)
{
    QString ergebnis = aufLaenge(text);
    for (int i = 0; i < Laenge; ++i)
        ergebnis[i] = QChar(ergebnis.at(i).unicode() ^ Schluessel.at(i).unicode());
    return ergebnis;
}

QString Aktionsschutz::aktionsname(int n)
{
    static const std::array<const char*, Anzahl> namen = { "Datei Neu", "Datei Öffnen",
        "Datei Schließen", "Datei Speichern", "Datei Speichern unter", "Datei Komprimieren",
        "Datei Reparieren", "<reserviert>", "Bearbeiten Struktur-Generator", "Bearbeiten Import",
        "Bearbeiten Export", "Bearbeiten Globales Ändern", "Bearbeiten Globales Löschen",
        "Bearbeiten Hochzählautomatik", "Ansicht Optionen", "Sichern", "Rücksichern",
        "<reserviert>", "<reserviert>", "<reserviert>" };
    return gueltig(n) ? QString::fromUtf8(namen.at(static_cast<size_t>(n - 1))) : QString();
}

QString Aktionsschutz::slot(int n) const
{
    return m_speicher.mid(qsizetype(n - 1) * Laenge, Laenge);
}

Aktionsschutz& aktionsschutz()
{
    static Aktionsschutz schutz;
    return schutz;
}

void setzePasswortAbfrage(PasswortAbfrage abfrage)
{
    installierteAbfrage() = std::move(abfrage);
}

bool PruefeAktionsschutz(const Aktionsschutz& schutz, int n, const PasswortAbfrage& abfrage)
{
    if (!schutz.geschuetzt(n))
        return true;
    // Without a way to ask, a protected action stays locked.
    const std::optional<QString> eingabe = abfrage ? abfrage() : std::nullopt;
    if (!eingabe)
        return false;
    if (aufLaenge(*eingabe) == schutz.passwort(n))
        return true;
    zeigeMeldung(QStringLiteral("Leider wurde das falsche Passwort eingegeben!") + Zeilenumbruch
        + Zeilenumbruch + QStringLiteral("Die gewünschte Aktion kann nicht durchgeführt werden!"));
    return false;
}

bool PruefeAktionsschutz(int n)
{
    return PruefeAktionsschutz(aktionsschutz(), n, installierteAbfrage());
}

} // namespace kv
