#include "shell/Datenbankhandling.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "base/Pfade.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/JetConversion.h"
#include "engine/Workspace.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Anwendung.h"
#include "shell/Einstellungen.h"
#include "shell/Hauptfensterzugang.h"
#include "shell/Hilfeseiten.h"
#include "shell/Historienliste.h"
#include "shell/Prozesswerte.h"
#include "shell/Sicherung.h"
#include "shell/Statustext.h"
#include "tables/Datenaustausch.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>

namespace kv {

namespace {

const QString Filter = Austauschfilter();
const QString FilterNeu
    = QStringLiteral("Access 7.0/8.0(*.MDB)|*.MDB|Access 2.0(*.MDB)|*.MDB|Access 1.1(*.MDB)|*.MDB");
const QString Gebietsschema = QStringLiteral(";LANGID=0x0409;CP=1252;COUNTRY=0");

/// The filter entry of one database type ("Text|Muster").
QString FilterFuer(int typ)
{
    const QStringList teile = Filter.split(QLatin1Char('|'));
    const int i = (typ < 1 || typ > 14 ? 0 : typ - 1) * 2;
    return teile.at(i) + QLatin1Char('|') + teile.at(i + 1);
}

/// Status text and busy pointer for the time of a long operation.
class Langlaeufer {
public:
    explicit Langlaeufer(const QString& text)
    {
        Statustext(text);
        if (qGuiApp)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~Langlaeufer()
    {
        if (qGuiApp)
            QGuiApplication::restoreOverrideCursor();
        Statustext();
    }
    Langlaeufer(const Langlaeufer&) = delete;
    Langlaeufer& operator=(const Langlaeufer&) = delete;
};

/// The tables that could not be reached at opening, in one message; the database stays open.
void zeigeEinbindungsprobleme(const QStringList& probleme)
{
    if (probleme.isEmpty())
        return;
    zeigeMeldung(
        QStringLiteral("Folgende Tabellen konnten beim Öffnen der Datenbank nicht erreicht "
                       "werden:\n\n")
            + probleme.join(Zeilenumbruch)
            + QStringLiteral("\n\nDie übrigen Daten der Datenbank können verwendet werden."),
        QStringLiteral("Tabellen nicht erreichbar"), Knoepfe::Ok, Symbol::Warnung);
}

/// Number and description of a failed file operation.
engine::EngineError Dateifehler(const QFile& datei)
{
    return { static_cast<int>(datei.error()), datei.errorString() };
}

bool GleicheDatei(const QString& a, const QString& b)
{
    return QFileInfo(a) == QFileInfo(b);
}

/// A file name in the directory of pfad that does not exist yet.
QString FreierName(const QString& pfad)
{
    const QFileInfo info(pfad);
    for (int i = 1;; ++i) {
        const QString kandidat = info.dir().filePath(
            QStringLiteral("~%1_komprimiert%2.mdb").arg(info.completeBaseName()).arg(i));
        if (!QFileInfo::exists(kandidat))
            return kandidat;
    }
}

/// Where the file dialogs start: the database's folder, or without one the user's documents
/// (the program folder is the installation's, not a place for the user's files).
QString Startverzeichnis(const AktuelleDatenbank& d)
{
    if (!d.Datenbank.isEmpty())
        return d.Datenbankverzeichnis();
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString Passwort(const QString& connect)
{
    const QString vorsatz = QStringLiteral(";pwd=");
    return connect.startsWith(vorsatz, Qt::CaseInsensitive) ? connect.mid(vorsatz.size())
                                                            : QString();
}

// The password of a protected database; nullopt when the answer is empty or cancelled.
std::optional<QString> fragePasswort()
{
    std::optional<QString> antwort = Dialoge::aktuell().eingabe(
        QStringLiteral("Bitte geben Sie das Passwort für den Zugriff auf die Datenbank an:"),
        QStringLiteral("Passworteingabe"), QString());
    if (!antwort || antwort->isEmpty())
        return std::nullopt;
    return antwort;
}

} // namespace

Datenbankhandling::Datenbankhandling(
    std::unique_ptr<Hauptfensterzugang> fenster, AktuelleDatenbank* datenbank)
    : m_fenster(std::move(fenster))
    , m_db(datenbank ? datenbank : &aktuelleDatenbank())
{ }

Datenbankhandling::~Datenbankhandling() = default;

bool Datenbankhandling::OeffneDatenbank()
{
    return oeffneMit(QString());
}

bool Datenbankhandling::oeffneMit(QString connect)
{
    SchliesseDatenbank();
    AktuelleDatenbank& d = *m_db;
    if (d.DatenbankTyp == 1 && engine::JetConversion::isJetFile(d.Datenbank) && !umwandeln()) {
        SetzeBefehlsstatus(false);
        return false;
    }
    if (d.DatenbankTyp < 1 || d.DatenbankTyp > 14) {
        zeigeMeldung(QStringLiteral("Andere Datenbanken werden momentan nicht unterstützt.")
            + Zeilenumbruch
            + QStringLiteral("Die Kennung für den Datenbank-Typ liegt nicht zwischen 1 und 14!"));
    } else {
        for (;;) {
            try {
                d.oeffne(connect);
                break;
            } catch (const engine::EngineError& e) {
                zeigeFehler(QStringLiteral("Fehler beim Öffnen der Datenbank:"), d.Datenbank,
                    e.number(), e.description(), Fehlerkennung::FehlerKompakt);
                if (e.number() != engine::err::PasswordInvalid)
                    break;
                const std::optional<QString> antwort = fragePasswort();
                if (!antwort)
                    break;
                connect = QStringLiteral(";pwd=") + *antwort;
            }
        }
    }
    if (d.offen()) {
        Einstellungen e;
        e.schreibe(AbschnittSettings, QStringLiteral("Datenbank"), d.Datenbank);
        e.schreibe(
            AbschnittSettings, QStringLiteral("DatenbankTyp"), QString::number(d.DatenbankTyp));
        e.schreibeBool(AbschnittSettings, QStringLiteral("DatenbankNurLesen"), d.DatenbankNurLesen);
        e.sichern();
        m_fenster->historie().ausfuehren(Historienliste::Modus::Hinzufuegen,
            Historienliste::eintragText(HistorieEintrag {
                d.Datenbank, static_cast<qint16>(d.DatenbankTyp), d.DatenbankNurLesen }));
        m_fenster->zentraleAktualisieren();
        m_fenster->setzeAktiveDatenbank(d.Datenbank);
    }
    SetzeBefehlsstatus(d.offen());
    if (d.offen())
        zeigeEinbindungsprobleme(d.db()->attachProblems());
    return d.offen();
}

bool Datenbankhandling::wechsleZu(const QString& pfad, int typ, bool nurLesen)
{
    AktuelleDatenbank& d = *m_db;
    const bool warOffen = d.offen();
    const QString alterPfad = d.Datenbank;
    const int alterTyp = d.DatenbankTyp;
    const bool altNurLesen = d.DatenbankNurLesen;
    const QString alterConnect = d.connect();
    d.Datenbank = pfad;
    d.DatenbankTyp = typ;
    d.DatenbankNurLesen = nurLesen;
    if (OeffneDatenbank() || !warOffen)
        return d.offen();
    // The failure has been reported; the user goes on with the database they had.
    d.Datenbank = alterPfad;
    d.DatenbankTyp = alterTyp;
    d.DatenbankNurLesen = altNurLesen;
    oeffneMit(alterConnect);
    return false;
}

void Datenbankhandling::SchliesseDatenbank()
{
    AktuelleDatenbank& d = *m_db;
    if (d.offen()) {
        try {
            m_fenster->entladeFenster(2);
            if (d.workspace().inTransaction()) {
                const Antwort a = zeigeMeldung(
                    QStringLiteral("Eine begonnene Transaktion ist noch nicht abgeschlossen!\n"
                                   "Sie müssen die Transaktion jetzt bestätigen oder verwerfen.\n"
                                   "Wählen Sie Ja zum Durchführen und Nein zum Zurücknehmen\n"
                                   "der Transaktion."),
                    QStringLiteral("Transaktion beenden"), Knoepfe::JaNein, Symbol::Frage);
                if (a == Antwort::Ja)
                    d.workspace().commitTrans();
                else
                    d.workspace().rollback();
            }
            d.schliesse();
        } catch (const engine::EngineError& e) {
            zeigeMeldung(fehlermeldung(QStringLiteral("Fehler beim Schließen der Datenbank!"),
                             e.number(), e.description())
                + Zeilenumbruch + Zeilenumbruch
                + QStringLiteral("Abbruch des Programms wird empfohlen!"));
            // A failed commit must not leave the database half open.
            if (d.workspace().inTransaction()) {
                try {
                    d.workspace().rollback();
                } catch (const engine::EngineError&) { }
            }
            try {
                d.schliesse();
            } catch (const engine::EngineError&) { }
        }
    }
    transaktionswerkzeuge(false);
    m_fenster->setzeWerkzeugAktiv(QStringLiteral("transaktionbeginnen"), false);
    m_fenster->setzeAktiveDatenbank(QString());
}

void Datenbankhandling::SetzeBefehlsstatus(bool offen)
{
    engine::Database* db = m_db->db();
    const bool nurLesen = m_db->DatenbankNurLesen || (db && !db->updatable());
    m_fenster->setzeBefehlsstatus(offen && db, nurLesen, db && db->transactions());
}

bool Datenbankhandling::AlleFensterSchliessen()
{
    if (m_fenster->fensteranzahl() <= 2)
        return true;
    const Antwort a
        = zeigeMeldung(QStringLiteral("Die aktuelle Aktion kann nur durchgeführt werden,\n"
                                      "wenn alle Fenster geschlossen sind!\n\n"
                                      "Sollen alle Fenster jetzt geschlossen werden?"),
            Anwendungstitel, Knoepfe::JaNein, Symbol::Frage);
    if (a != Antwort::Ja)
        return false;
    m_fenster->entladeFenster(2);
    return m_fenster->fensteranzahl() <= 2;
}

void Datenbankhandling::DateiDialog(bool neu, bool speichernUnter)
{
    AktuelleDatenbank& d = *m_db;
    // A folder of tables is more than the one file the copy would take.
    if (speichernUnter && !eigenesFormat(QStringLiteral("Das Speichern unter anderem Namen")))
        return;
    const int typ = d.DatenbankTyp >= 1 && d.DatenbankTyp <= 14 ? d.DatenbankTyp : 1;
    DateiDialogOptionen o;
    o.startVerzeichnis = Startverzeichnis(d);
    if (!neu) {
        o.titel = QStringLiteral("Datenbank öffnen");
        o.filter = Filter;
        o.filterIndex = typ;
        o.schreibgeschuetztAnzeigen = true;
    } else if (!speichernUnter) {
        o.titel = QStringLiteral("Neue Datenbank erstellen");
        o.filter = FilterNeu;
        o.speichern = true;
        // An existing file is refused below with the program's own message: one question only.
        o.ueberschreibenFragen = false;
    } else {
        o.titel = QStringLiteral("Datenbank speichern unter");
        o.filter = FilterFuer(typ);
        o.speichern = true;
    }
    const DateiDialogErgebnis r = Dialoge::aktuell().dateiDialog(o);
    if (r.abgebrochen || r.pfad.isEmpty())
        return;
    QString pfad = r.pfad;
    if (QFileInfo(pfad).suffix().isEmpty() && !QFileInfo(pfad).isDir())
        pfad += QStringLiteral(".Mdb");

    if (speichernUnter) {
        if (!GleicheDatei(pfad, d.Datenbank))
            speichernUnterPfad(pfad);
        return;
    }
    int neuerTyp = r.filterIndex;
    bool nurLesen = r.schreibgeschuetzt;
    if (neu) {
        if (QFileInfo::exists(pfad)) {
            zeigeMeldung(QStringLiteral("Die gewählte Datenbank ist bereits vorhanden!\n"
                                        "Bitte geben Sie für die Neuanlage einen neuen\n"
                                        "Dateinamen an, der noch nicht vorhanden ist."));
            return;
        }
        static constexpr int Versionen[]
            = { engine::dbVersion30, engine::dbVersion20, engine::dbVersion11 };
        const int index = r.filterIndex >= 1 && r.filterIndex <= 3 ? r.filterIndex : 1;
        try {
            d.workspace().createDatabase(pfad, Gebietsschema, Versionen[index - 1]).reset();
        } catch (const engine::EngineError& e) {
            zeigeFehler(QStringLiteral("Fehler bei der Neuanlage der Datenbank:"), pfad, e.number(),
                e.description());
            return;
        }
        neuerTyp = 1;
        nurLesen = false;
    }
    m_fenster->entladeFenster(1);
    wechsleZu(pfad, neuerTyp, nurLesen);
}

void Datenbankhandling::speichernUnterPfad(const QString& pfad)
{
    AktuelleDatenbank& d = *m_db;
    m_fenster->entladeFenster(1);
    SchliesseDatenbank();
    {
        Langlaeufer l(QStringLiteral("Datenbank wird gespeichert..."));
        // Copied under a temporary name first, so that a failed copy leaves the target as it was.
        const QString zwischen = pfad + QStringLiteral(".kvtmp");
        QFile::remove(zwischen);
        QFile quelle(d.Datenbank);
        bool ok = quelle.copy(zwischen);
        engine::EngineError fehler = Dateifehler(quelle);
        if (ok && QFileInfo::exists(pfad)) {
            QFile alt(pfad);
            ok = alt.remove();
            if (!ok)
                fehler = Dateifehler(alt);
        }
        if (ok) {
            QFile neu(zwischen);
            ok = neu.rename(pfad);
            if (!ok)
                fehler = Dateifehler(neu);
        }
        if (ok) {
            d.Datenbank = pfad;
        } else {
            QFile::remove(zwischen);
            zeigeFehler(QStringLiteral("Fehler beim Speichern der Datenbank unter:"), pfad,
                fehler.number(), fehler.description());
        }
    }
    OeffneDatenbank();
}

void Datenbankhandling::schliessen()
{
    SchliesseDatenbank();
    m_db->Datenbank.clear();
    m_db->DatenbankTyp = 0;
    m_db->DatenbankNurLesen = false;
    Einstellungen e;
    e.schreibe(AbschnittSettings, QStringLiteral("Datenbank"), QString());
    e.schreibe(AbschnittSettings, QStringLiteral("DatenbankTyp"), QStringLiteral("0"));
    e.schreibeBool(AbschnittSettings, QStringLiteral("DatenbankNurLesen"), false);
    SetzeBefehlsstatus(false);
    m_fenster->zentraleEntladen();
}

void Datenbankhandling::speichern()
{
    if (AlleFensterSchliessen())
        OeffneDatenbank();
}

void Datenbankhandling::sicherung(bool ruecksicherung)
{
    if (!AlleFensterSchliessen())
        return;
    SchliesseDatenbank();
    // Without a database there is no folder to restore into: the window asks for one.
    const QString verzeichnis
        = m_db->Datenbank.isEmpty() ? QString() : m_db->Datenbankverzeichnis();
    SicherungsAuftrag auftrag = ErzeugeSicherungsAuftrag(ruecksicherung, verzeichnis);
    auftrag.schrift = Programmschrift();
    auftrag.datenbank = m_db->Datenbank;
    auftrag.hilfedatei = Hilfeseiten::Sicherung;
    m_fenster->sicherungStarten(auftrag);
    if (!m_db->Datenbank.isEmpty())
        OeffneDatenbank();
}

void Datenbankhandling::historieOeffnen(int nummer)
{
    const QList<HistorieEintrag>& liste = m_fenster->historie().eintraege();
    if (nummer < 1 || nummer > liste.size())
        return;
    const HistorieEintrag eintrag = liste.at(nummer - 1);
    if (!DateiVorhanden(eintrag.pfad)) {
        zeigeMeldung(QStringLiteral("Die angegebene Datei ist nicht mehr vorhanden!"));
        m_fenster->historie().ausfuehren(
            Historienliste::Modus::Entfernen, Historienliste::eintragText(eintrag));
        return;
    }
    if (!AlleFensterSchliessen())
        return;
    m_fenster->entladeFenster(1);
    wechsleZu(eintrag.pfad, eintrag.typ, eintrag.nurLesen);
}

void Datenbankhandling::reparieren()
{
    AktuelleDatenbank& d = *m_db;
    DateiDialogOptionen o;
    o.titel = QStringLiteral("Datenbank im Access-Format reparieren");
    o.filter = FilterFuer(1);
    o.startVerzeichnis = Startverzeichnis(d);
    o.dateiname = d.Datenbank;
    const DateiDialogErgebnis r = Dialoge::aktuell().dateiDialog(o);
    if (r.abgebrochen || r.pfad.isEmpty())
        return;
    const bool geschlossen = d.offen() && GleicheDatei(r.pfad, d.Datenbank);
    if (geschlossen)
        SchliesseDatenbank();
    {
        Langlaeufer l(QStringLiteral("Datenbank wird repariert..."));
        try {
            const QStringList verloren = d.workspace().repairDatabase(r.pfad);
            QString text = QStringLiteral("Die Reparatur wurde erfolgreich beendet!");
            // What could not be saved must not pass for a complete repair.
            if (!verloren.isEmpty())
                text += QStringLiteral("\n\nFolgendes konnte nicht gerettet werden:\n")
                    + verloren.join(Zeilenumbruch);
            zeigeMeldung(text);
        } catch (const engine::EngineError& e) {
            zeigeFehler(QStringLiteral("Fehler bei der Reparatur von:"), r.pfad, e.number(),
                e.description(), Fehlerkennung::Fehler);
        }
    }
    if (geschlossen)
        OeffneDatenbank();
}

void Datenbankhandling::komprimieren()
{
    AktuelleDatenbank& d = *m_db;
    if (d.Datenbank.isEmpty() || !eigenesFormat(QStringLiteral("Das Komprimieren")))
        return;
    const Antwort a = zeigeMeldung(QStringLiteral("Möchten Sie die aktuelle Datenbank\n\n")
            + d.Datenbank + QStringLiteral("\n\njetzt komprimieren?"),
        QStringLiteral("Datenbank komprimieren"), Knoepfe::JaNein, Symbol::Frage);
    if (a != Antwort::Ja || !AlleFensterSchliessen())
        return;
    const QString passwort = Passwort(d.connect());
    SchliesseDatenbank();
    {
        Langlaeufer l(QStringLiteral("Datenbank wird komprimiert..."));
        const QString alt = d.Datenbank;
        const QString neu = FreierName(alt);
        const qint64 alteGroesse = QFileInfo(alt).size();
        try {
            d.workspace().compactDatabase(alt, neu, passwort);
        } catch (const engine::EngineError& e) {
            QFile::remove(neu);
            zeigeFehler(QStringLiteral("Fehler bei der Komprimierung von:"), alt, e.number(),
                e.description());
            OeffneDatenbank();
            return;
        }
        QFile altDatei(alt);
        QFile neuDatei(neu);
        if (!altDatei.remove()) {
            const engine::EngineError f = Dateifehler(altDatei);
            neuDatei.remove();
            zeigeFehler(QStringLiteral("Fehler beim Löschen der alten Datenbank: "), f.number(),
                f.description());
        } else if (!neuDatei.rename(alt)) {
            const engine::EngineError f = Dateifehler(neuDatei);
            d.Datenbank = neu;
            zeigeFehler(QStringLiteral("Fehler beim Umbenennen der neuen Datenbank: "), f.number(),
                f.description());
        } else {
            const qint64 neueGroesse = QFileInfo(alt).size();
            QString text = QStringLiteral("Das Komprimieren wurde erfolgreich beendet!");
            if (neueGroesse < alteGroesse)
                text += QStringLiteral("\n\nDie Datei wurde von %1 Bytes auf %2 Bytes komprimiert.")
                            .arg(alteGroesse)
                            .arg(neueGroesse);
            zeigeMeldung(text);
        }
    }
    OeffneDatenbank();
}

bool Datenbankhandling::umwandeln()
{
    AktuelleDatenbank& d = *m_db;
    const QString quelle = d.Datenbank;
    const QString ziel = engine::JetConversion::freeTargetName(quelle);
    const Antwort a = zeigeMeldung(
        QStringLiteral("Die Datei\n\n%1\n\nist eine Datenbank im alten Format und kann so nicht "
                       "geöffnet werden. Soll sie jetzt in eine neue Datenbank umgewandelt "
                       "werden?\n\nDie neue Datenbank wird als\n\n%2\n\nangelegt; die "
                       "ursprüngliche Datei bleibt unverändert.")
            .arg(QDir::toNativeSeparators(quelle), QDir::toNativeSeparators(ziel)),
        QStringLiteral("Datenbank umwandeln"), Knoepfe::JaNein, Symbol::Frage);
    if (a != Antwort::Ja)
        return false;
    engine::JetConversionResult r;
    // A protected file is asked for its password as opening one of ours is.
    QString kennwort;
    for (;;) {
        try {
            Langlaeufer l(QStringLiteral("Datenbank wird umgewandelt..."));
            r = engine::JetConversion::run(
                d.workspace(), quelle, ziel,
                [](int schritt, int gesamt, const QString& was) {
                    Statustext(QStringLiteral("Datenbank wird umgewandelt (%1 von %2): %3...")
                                   .arg(schritt + 1)
                                   .arg(gesamt)
                                   .arg(was));
                    // The status line is painted between the steps.
                    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                    return true;
                },
                kennwort);
            break;
        } catch (const engine::EngineError& e) {
            zeigeFehler(QStringLiteral("Fehler bei der Umwandlung der Datenbank:"), quelle,
                e.number(), e.description());
            const std::optional<QString> antwort
                = e.number() == engine::err::PasswordInvalid ? fragePasswort() : std::nullopt;
            if (!antwort)
                return false;
            kennwort = *antwort;
        }
    }
    QString text = QStringLiteral("Die Datenbank wurde umgewandelt in:\n\n%1\n\n"
                                  "Übernommen: %2 Tabellen mit %3 Datensätzen, %4 Indizes, "
                                  "%5 Beziehungen, %6 Abfragen.")
                       .arg(QDir::toNativeSeparators(r.target))
                       .arg(r.tables)
                       .arg(r.rows)
                       .arg(r.indexes)
                       .arg(r.relations)
                       .arg(r.queries);
    if (!r.keptQueries.isEmpty())
        text += QStringLiteral("\n\nDiese Abfragen konnten nicht übernommen werden; ihr Text "
                               "steht in der Tabelle '%1':\n")
                    .arg(engine::JetConversion::KeptQueriesTable)
            + r.keptQueries.join(Zeilenumbruch);
    if (!r.skipped.isEmpty())
        text += QStringLiteral("\n\nNicht übernommen:\n") + r.skipped.join(Zeilenumbruch);
    zeigeMeldung(text, QStringLiteral("Datenbank umwandeln"), Knoepfe::Ok, Symbol::Information);
    d.Datenbank = r.target;
    return true;
}

bool Datenbankhandling::eigenesFormat(const QString& aktion)
{
    const AktuelleDatenbank& d = *m_db;
    if (!d.offen() || d.DatenbankTyp == 1)
        return true;
    QString format = IsamTyp(d.DatenbankTyp);
    format.chop(1);
    zeigeMeldung(aktion
            + QStringLiteral(" ist nur mit einer Datenbank im eigenen Format möglich, nicht mit "
                             "einer Datenbank im Format '%1'.")
                  .arg(format),
        Anwendungstitel, Knoepfe::Ok, Symbol::Information);
    return false;
}

void Datenbankhandling::transaktionswerkzeuge(bool laeuft)
{
    m_fenster->setzeWerkzeugAktiv(QStringLiteral("transaktionupdate"), laeuft);
    m_fenster->setzeWerkzeugAktiv(QStringLiteral("transaktionrollback"), laeuft);
}

void Datenbankhandling::transaktionBeginnen()
{
    try {
        m_db->workspace().beginTrans();
    } catch (const engine::EngineError& e) {
        zeigeFehler(
            QStringLiteral("Fehler beim Beginnen der Transaktion!"), e.number(), e.description());
        return;
    }
    m_fenster->setzeWerkzeugAktiv(QStringLiteral("transaktionbeginnen"), false);
    transaktionswerkzeuge(true);
}

void Datenbankhandling::transaktionUpdate()
{
    try {
        m_db->workspace().commitTrans();
    } catch (const engine::EngineError& e) {
        zeigeFehler(QStringLiteral("Fehler beim Durchführen der Transaktion!"), e.number(),
            e.description());
        return;
    }
    transaktionswerkzeuge(false);
    SetzeBefehlsstatus(m_db->offen());
}

void Datenbankhandling::transaktionRollback()
{
    try {
        m_db->workspace().rollback();
    } catch (const engine::EngineError& e) {
        zeigeFehler(QStringLiteral("Fehler beim Zurücknehmen der Transaktion!"), e.number(),
            e.description());
        return;
    }
    transaktionswerkzeuge(false);
    SetzeBefehlsstatus(m_db->offen());
}

void Datenbankhandling::beenden()
{
    try {
        SchliesseDatenbank();
    } catch (...) {
        // The settings are written whatever happened here.
    }
}

} // namespace kv
