#include "shell/Zentralebefehle.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "base/LeseDatei.h"
#include "base/NichtVerfuegbar.h"
#include "base/Pfade.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "shell/Aktionsschutz.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Objektuebergabe.h"

#include <QFile>

namespace kv {

namespace {

/// Calls a receiving window's entry; tells the user when the window is not there.
template <class Eintrag, class... Args> void uebergeben(const Eintrag& eintrag, Args&&... args)
{
    if (!eintrag) {
        FensterNichtVerfuegbar();
        return;
    }
    eintrag(std::forward<Args>(args)...);
}

Objektuebergabe::DefinitionOeffnen& fenster(Zeilenart art)
{
    return istMaske(art) ? objektuebergabe().maske : objektuebergabe().tabelle;
}

Objektuebergabe::DefinitionOeffnen& generator(Zeilenart art)
{
    return istMaske(art) ? objektuebergabe().maskenGenerator : objektuebergabe().tabellenGenerator;
}

void dateiFehlt(const QString& pfad)
{
    zeigeMeldung(QStringLiteral("Die Definitionsdatei ist nicht mehr vorhanden:") + Zeilenumbruch
        + Zeilenumbruch + pfad + Zeilenumbruch + Zeilenumbruch
        + QStringLiteral("Die Liste wird neu aufgebaut."));
}

} // namespace

Zentralebefehle::Zentralebefehle(Zentraleumgebung umgebung)
    : m_umgebung(std::move(umgebung))
{ }

bool Zentralebefehle::aktionErlaubt(int aktion) const
{
    return m_umgebung.aktionErlaubt ? m_umgebung.aktionErlaubt(aktion)
                                    : PruefeAktionsschutz(aktion);
}

bool Zentralebefehle::knopf(Zentraleknopf knopf, const Zentraleliste& liste, int zeile)
{
    if (!m_umgebung.datenbank || !m_umgebung.datenbank->offen())
        return false;
    if (!liste.hatTabellen()) {
        zeigeMeldung(QStringLiteral("Es sind noch keine Tabellen in der Datenbank definiert!")
            + Zeilenumbruch
            + QStringLiteral("Der Struktur-Generator wird daher jetzt aufgerufen."));
        strukturgenerator();
        return true;
    }
    if (zeile < 0 || zeile >= liste.zeilen().size())
        return false;
    const Zentralezeile& z = liste.zeilen().at(zeile);
    if (z.platzhalter()) {
        if (istBenutzer(z.art)) {
            const QString wort = objektwort(z.art);
            zeigeMeldung(QStringLiteral("Es ist noch keine ") + wort + QStringLiteral(" vorhanden.")
                + Zeilenumbruch + QStringLiteral("Sie können eine neue ") + wort
                + QStringLiteral(" erzeugen,") + Zeilenumbruch
                + QStringLiteral("indem Sie eine Standard-") + wort + QStringLiteral("-Zeile")
                + Zeilenumbruch
                + QStringLiteral("aktivieren und dann den Schalter 'Neu' betätigen."));
        } else if (z.art == Zeilenart::Abfrage) {
            // Nothing to open yet: every button starts the first query.
            uebergeben(objektuebergabe().abfrage, QString(), true);
        }
        return false;
    }
    if (z.art == Zeilenart::Abfrage) {
        uebergeben(objektuebergabe().abfrage,
            knopf == Zentraleknopf::Neu ? QString() : z.schluessel,
            knopf != Zentraleknopf::Oeffnen);
        return false;
    }
    // "Neu" on a user row starts from a copy of its text, without the file, so that saving
    // makes a new file.
    return definitionUebergeben(z,
        knopf == Zentraleknopf::Oeffnen ? fenster(z.art) : generator(z.art),
        knopf == Zentraleknopf::Neu);
}

std::optional<QString> Zentralebefehle::definitionstext(const Zentralezeile& zeile)
{
    // Another program may have removed the file since the list was built.
    if (!DateiVorhanden(zeile.schluessel)) {
        dateiFehlt(zeile.schluessel);
        return std::nullopt;
    }
    QString text = LeseDatei(zeile.schluessel);
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

bool Zentralebefehle::definitionUebergeben(const Zentralezeile& zeile,
    const std::function<void(const QString&, const QString&)>& ziel, bool alsKopie)
{
    if (istStandard(zeile.art)) {
        uebergeben(ziel, zeile.schluessel, QString());
        return false;
    }
    const std::optional<QString> text = definitionstext(zeile);
    if (!text)
        return true;
    uebergeben(ziel, alsKopie ? QString() : zeile.schluessel, *text);
    return false;
}

bool Zentralebefehle::texteditor(const Zentralezeile& zeile)
{
    const bool maske = istMaske(zeile.art);
    // The editor returns when it is closed; whatever it saved (a new file, a new name or title)
    // must show in the list at once.
    if (istStandard(zeile.art)) {
        uebergeben(objektuebergabe().texteditor, maske, zeile.schluessel, QString(), QString());
        return true;
    }
    const std::optional<QString> text = definitionstext(zeile);
    if (text)
        uebergeben(objektuebergabe().texteditor, maske, QString(), *text, zeile.schluessel);
    return true;
}

QList<Kontexteintrag> Zentralebefehle::kontextmenue(const Zentraleliste& liste, int zeile) const
{
    QList<Kontexteintrag> eintraege;
    if (zeile < 0 || zeile >= liste.zeilen().size())
        return eintraege;
    const Zentralezeile& z = liste.zeilen().at(zeile);
    using K = Kontextaktion;
    const engine::Database* db = m_umgebung.datenbank ? m_umgebung.datenbank->db() : nullptr;
    // A database opened read-only (or that cannot be written) offers nothing that deletes.
    const bool schreibbar = db && db->updatable();
    if (!z.platzhalter()) {
        switch (z.art) {
        case Zeilenart::BenutzerMaske:
        case Zeilenart::BenutzerTabelle: {
            const bool maske = istMaske(z.art);
            eintraege.append(
                { maske ? QStringLiteral("Per Masken-Generator bearbeiten;Generator;")
                        : QStringLiteral("Per Tabellen-Generator bearbeiten;Generator;"),
                    K::Bearbeiten });
            eintraege.append(
                { QStringLiteral("Per Texteditor bearbeiten;Brieftext;"), K::Texteditor });
            if (schreibbar)
                eintraege.append({ maske ? QStringLiteral("Benutzer-Maske Löschen;Löschen")
                                         : QStringLiteral("Benutzer-Tabelle Löschen;Löschen"),
                    K::Loeschen });
            break;
        }
        case Zeilenart::StandardMaske:
            eintraege.append(
                { QStringLiteral("Neue Benutzer-Maske im Masken-Generator erzeugen;Generator;"),
                    K::Neu });
            eintraege.append(
                { QStringLiteral("Neue Benutzer-Maske per Texteditor erzeugen;Brieftext;"),
                    K::Texteditor });
            break;
        case Zeilenart::StandardTabelle:
            eintraege.append(
                { QStringLiteral("Neue Benutzer-Tabelle im Tabellen-Generator erzeugen;Generator;"),
                    K::Neu });
            eintraege.append(
                { QStringLiteral("Neue Benutzer-Tabelle per Texteditor erzeugen;Brieftext;"),
                    K::Texteditor });
            break;
        case Zeilenart::Abfrage:
            eintraege.append({ QStringLiteral("Neue Abfrage erzeugen;Abfragen"), K::Neu });
            eintraege.append(
                { QStringLiteral("Abfrage öffnen/bearbeiten;Abfragen"), K::Bearbeiten });
            if (schreibbar)
                eintraege.append({ QStringLiteral("Abfrage Löschen;Löschen"), K::Loeschen });
            break;
        }
    } else if (z.art == Zeilenart::Abfrage) {
        // A placeholder has nothing to edit or delete; a first query can still be made.
        eintraege.append({ QStringLiteral("Neue Abfrage erzeugen;Abfragen"), K::Neu });
    }
    if (schreibbar)
        eintraege.append(
            { QStringLiteral("Struktur-Generator aufrufen;Struktur"), K::Strukturgenerator });
    eintraege.append({ QStringLiteral("Zurück;abbruch"), K::Zurueck });
    return eintraege;
}

bool Zentralebefehle::kontext(Kontextaktion aktion, const Zentraleliste& liste, int zeile)
{
    if (!m_umgebung.datenbank || !m_umgebung.datenbank->offen())
        return false;
    using K = Kontextaktion;
    switch (aktion) {
    case K::Oeffnen:
        return knopf(Zentraleknopf::Oeffnen, liste, zeile);
    case K::Neu:
        return knopf(Zentraleknopf::Neu, liste, zeile);
    case K::Bearbeiten:
        return knopf(Zentraleknopf::Bearbeiten, liste, zeile);
    case K::Strukturgenerator:
        strukturgenerator();
        return true;
    case K::Zurueck:
        return false;
    case K::Texteditor:
    case K::Loeschen:
        break;
    }
    if (zeile < 0 || zeile >= liste.zeilen().size())
        return false;
    const Zentralezeile& z = liste.zeilen().at(zeile);
    if (z.platzhalter())
        return false;
    return aktion == K::Loeschen ? loeschen(z) : texteditor(z);
}

bool Zentralebefehle::loeschen(const Zentralezeile& zeile)
{
    const engine::Database* db = m_umgebung.datenbank ? m_umgebung.datenbank->db() : nullptr;
    if (zeile.platzhalter() || istStandard(zeile.art) || !db || !db->updatable())
        return false;
    const bool abfrage = zeile.art == Zeilenart::Abfrage;
    const QString text = (abfrage ? QStringLiteral("Möchten Sie diese Abfrage löschen?")
                                  : QStringLiteral("Möchten Sie diese Datei löschen?"))
        + Zeilenumbruch + Zeilenumbruch + zeile.schluessel + Zeilenumbruch + Zeilenumbruch
        + QStringLiteral("Bitte nochmal bestätigen!");
    // Deleting cannot be undone: No is preselected.
    if (zeigeMeldung(text,
            abfrage ? QStringLiteral("Abfrage löschen") : QStringLiteral("Datei löschen"),
            Knoepfe::JaNein, Symbol::Frage, 2)
        != Antwort::Ja)
        return false;

    if (abfrage) {
        engine::Database* db = m_umgebung.datenbank ? m_umgebung.datenbank->db() : nullptr;
        if (!db)
            return false;
        try {
            db->queryDefs().remove(zeile.schluessel);
        } catch (const engine::EngineError& e) {
            zeigeFehler(QStringLiteral("Fehler beim Löschen der Abfrage:"), zeile.schluessel,
                e.number(), e.description());
        }
        return true;
    }
    if (!DateiVorhanden(zeile.schluessel)) {
        dateiFehlt(zeile.schluessel);
        return true;
    }
    QFile datei(zeile.schluessel);
    if (!datei.remove())
        zeigeMeldung(QStringLiteral("Die Datei konnte nicht gelöscht werden:") + Zeilenumbruch
            + Zeilenumbruch + zeile.schluessel + Zeilenumbruch + Zeilenumbruch
            + QStringLiteral("Beschreibung: ") + datei.errorString());
    return true;
}

void Zentralebefehle::schliessen()
{
    if (zeigeMeldung(QStringLiteral("Möchten Sie die aktuelle Datenbank schließen?"),
            QStringLiteral("Datenbank schließen"), Knoepfe::JaNein, Symbol::Frage)
        != Antwort::Ja)
        return;
    if (m_umgebung.datenbankSchliessen)
        m_umgebung.datenbankSchliessen();
}

void Zentralebefehle::strukturgenerator()
{
    // Asking to close the windows makes no sense when the window is not there.
    if (!objektuebergabe().strukturGenerator) {
        uebergeben(objektuebergabe().strukturGenerator);
        return;
    }
    if (!aktionErlaubt(9))
        return;
    if (m_umgebung.alleFensterSchliessen && !m_umgebung.alleFensterSchliessen())
        return;
    objektuebergabe().strukturGenerator();
}

} // namespace kv
