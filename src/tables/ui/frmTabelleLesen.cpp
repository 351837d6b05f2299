#include "tables/ui/frmTabelle.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "engine/cursor/RecordSource.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/ProgressScope.h"
#include "tables/Hintergrundabfrage.h"
#include "tables/ui/Wartecursor.h"
#include "widgets/DataGrid.h"
#include "widgets/Fortschrittsanzeige.h"
#include "widgets/Navigationsleiste.h"

#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QTimer>

// The records on opening and Alt+R, a new order or new conditions: the set opens on the window's
// thread (so that a statement that cannot work is reported at once), its keys are read by a
// worker on a connection of its own. Until they are complete the previous rows stay (none on
// opening), usable but not editable; Escape cancels.

namespace kv {

namespace {
using Schluessel = std::shared_ptr<std::vector<qint64>>;
/// How often an answer that needs the window's connection looks whether it is free again.
constexpr int VerbindungFreiMs = 50;
const QString Abbruchhinweis
    = QStringLiteral("Das Lesen der Datensätze wurde abgebrochen. Alt+R liest sie erneut.");
const QString Lesetext = QStringLiteral("Bitte warten … Die Datensätze werden gelesen.");
} // namespace

bool frmTabelle::neuLesen(const QString& sql, Neuart art, const QString& fehlersatz,
    Fehlerkennung kennung, bool zeileBehalten)
{
    if (!m_umgebung.datenbank || !m_anbindung || !m_grid->aenderungenUebernehmen())
        return false;
    std::unique_ptr<engine::Recordset> rs;
    bool abgebrochen = false;
    try {
        rs = oeffneFuerNeuLesen(sql, abgebrochen);
    } catch (const engine::EngineError& e) {
        // Cancelled by the user: no failure to report, the rows shown stay.
        if (!abgebrochen)
            zeigeFehler(fehlersatz, e.number(), e.description(), kennung);
        else if (!datensatz() && !liestDatensaetze())
            hinweisZeigen(Abbruchhinweis);
        return false;
    }
    const std::optional<engine::KeyQuery> abfrage = rs->pendingKeys();
    if (!abfrage) {
        // A whole table in its own order, or a copy: the keys are there already. A reading still
        // going is replaced, not taken back.
        const bool ersetzt = liestDatensaetze();
        if (ersetzt) {
            m_schluessel->abbrechen();
            m_neu = {};
        }
        m_aktuellesSql = sql;
        neuesZeigen(std::move(rs), zeileBehalten ? m_grid->aktuelleZeile() : -1);
        arbeitEndet();
        if (art != Neuart::Sortierung)
            summenBerechnen();
        if (ersetzt)
            Q_EMIT datensaetzeGelesen();
        return true;
    }
    m_neu.rs = std::move(rs);
    m_neu.sql = sql;
    m_neu.art = art;
    m_neu.fehlersatz = fehlersatz;
    m_neu.kennung = kennung;
    m_neu.zeileBehalten = zeileBehalten;
    m_grid->setzeNurLesen(true);
    m_leisten->navigation()->setzeBearbeitbar(false);
    werkzeugeAktualisieren();
    arbeitBeginnt(art == Neuart::Sortierung
            ? QStringLiteral("Bitte warten … Die Datensätze werden sortiert.")
            : art == Neuart::Bedingung
            ? QStringLiteral("Bitte warten … Die Datensätze werden gesucht.")
            : Lesetext);
    const engine::Database& db = *m_umgebung.datenbank;
    m_schluessel->starte({ db.name(), db.connect() }, [abfrage = *abfrage](engine::Database& d) {
        return QVariant::fromValue(
            std::make_shared<std::vector<qint64>>(abfrage.run(d.connection())));
    });
    return true;
}

bool frmTabelle::datenquelleLesen(const QString& sql, bool zeileBehalten)
{
    return neuLesen(sql, Neuart::Lesen,
        QStringLiteral("Bei der Einstellung der Datenquelle ist ein Fehler aufgetreten!"),
        Fehlerkennung::Nr, zeileBehalten);
}

std::unique_ptr<engine::Recordset> frmTabelle::oeffneFuerNeuLesen(
    const QString& sql, bool& abgebrochen)
{
    engine::Database& db = *m_umgebung.datenbank;
    const Wartecursor warten;
    // A result without a base table to key (groups, joins, DISTINCT) is copied on this
    // connection, where no worker can make the copy: a box shows it after a moment and cancels
    // it, and the window repaints meanwhile.
    Fortschrittsanzeige anzeige(this, Lesetext, windowTitle(), m_fortschrittsverzoegerung);
    engine::Connection& verbindung = db.connection();
    // Inside another long statement's progress the connection refuses the opening anyway; that
    // statement's own check stays.
    const bool eigeneAnzeige = !engine::ProgressScope::active(verbindung.handle());
    if (eigeneAnzeige) {
        verbindung.setProgressCheck([&] {
            // Escape closes the box without its cancel signal: a box gone is a cancel too.
            abgebrochen = !anzeige.melden(0, 0, QString())
                || (anzeige.dialog() && !anzeige.dialog()->isVisible());
            return !abgebrochen;
        });
    }
    const auto ende = qScopeGuard([&] {
        if (eigeneAnzeige)
            verbindung.setProgressCheck({});
        anzeige.schliessen();
    });
    // A bare table or query name is no statement of its own: it opens as the navigator does.
    const QString name = sql.trimmed();
    if (db.tableDefs().find(name) || db.queryDefs().find(name))
        return db.openRecordset(name, engine::dbOpenDynaset);
    return db.openRecordsetKeysLater(sql, engine::dbOpenDynaset);
}

bool frmTabelle::spaeterWennFrei(std::function<void()> antwort)
{
    engine::Database* db = m_umgebung.datenbank;
    if (!db || !engine::ProgressScope::active(db->connection().handle()))
        return false;
    // Called from inside a copy's progress: the connection takes no other statement until the
    // copy is done.
    QTimer::singleShot(VerbindungFreiMs, this, std::move(antwort));
    return true;
}

void frmTabelle::schluesselGelesen(quint64 lauf, const QVariant& ergebnis)
{
    if (lauf != m_schluessel->lauf() || !liestDatensaetze())
        return;
    if (spaeterWennFrei([this, lauf, ergebnis] { schluesselGelesen(lauf, ergebnis); }))
        return;
    std::unique_ptr<engine::Recordset> rs = std::move(m_neu.rs);
    try {
        const Schluessel schluessel = ergebnis.value<Schluessel>();
        rs->setKeys(schluessel ? std::move(*schluessel) : std::vector<qint64>());
    } catch (const engine::EngineError& e) {
        m_neu.rs = std::move(rs);
        schluesselFehler(e.number(), e.description());
        return;
    }
    m_aktuellesSql = m_neu.sql;
    const Neuart art = m_neu.art;
    // The row the user is on now, who may have moved while the keys were read.
    const int zeile = m_neu.zeileBehalten ? m_grid->aktuelleZeile() : -1;
    m_neu = {};
    lesenBeendet();
    neuesZeigen(std::move(rs), zeile);
    // The order changes no total; new conditions and records read anew do.
    if (art != Neuart::Sortierung)
        summenBerechnen();
    Q_EMIT datensaetzeGelesen();
}

void frmTabelle::schluesselFehler(qint64 nummer, const QString& beschreibung)
{
    if (!liestDatensaetze())
        return;
    if (spaeterWennFrei([this, nummer, beschreibung] { schluesselFehler(nummer, beschreibung); }))
        return;
    const QString fehlersatz = m_neu.fehlersatz;
    const Fehlerkennung kennung = m_neu.kennung;
    lesenAbbrechen();
    zeigeFehler(fehlersatz, int(nummer), beschreibung, kennung);
}

void frmTabelle::neuesZeigen(std::unique_ptr<engine::Recordset> rs, int zeile)
{
    hinweisEntfernen();
    m_anbindung->zeigen(std::move(rs));
    m_gezeigt = { m_sortierung, m_suchzeilenbedingung, m_suchzeileInKraft };
    if (m_spaltenNachLesen) {
        m_spaltenNachLesen = false;
        spaltenAnwenden();
    }
    if (zeile >= 0 && zeile < m_grid->datenzeilen())
        m_grid->setzeAktuelleZeile(zeile);
    kopfbilderAnwenden();
    sperreAnwenden();
    werkzeugeAktualisieren();
    positionAnzeigen();
    zaehlenBeobachten();
}

void frmTabelle::lesenAbbrechen()
{
    if (!liestDatensaetze())
        return;
    m_schluessel->abbrechen();
    // Nothing was shown yet: the window stays empty and says why.
    if (!datensatz() && !m_schliesstSich)
        hinweisZeigen(Abbruchhinweis);
    m_sortierung = m_gezeigt.sortierung;
    m_suchzeilenbedingung = m_gezeigt.suchzeilenbedingung;
    m_suchzeileInKraft = m_gezeigt.suchzeileInKraft;
    m_neu = {};
    lesenBeendet();
    Q_EMIT datensaetzeGelesen();
}

void frmTabelle::lesenBeendet()
{
    sperreAnwenden();
    werkzeugeAktualisieren();
    arbeitEndet();
}

void frmTabelle::hinweisZeigen(const QString& text)
{
    m_hinweis = true;
    m_fortschrittVerzoegerung.stop();
    m_fortschrittText->setText(text);
    m_fortschrittBalken->hide();
    m_fortschritt->show();
}

void frmTabelle::hinweisEntfernen()
{
    if (!m_hinweis)
        return;
    m_hinweis = false;
    m_fortschrittBalken->show();
    m_fortschritt->hide();
}

void frmTabelle::kopfbilderAnwenden()
{
    for (int i = 0; i < m_grid->spaltenanzahl(); ++i) {
        const bool sortiert = m_sortierung.aktiv()
            && m_grid->datenfeld(i).compare(m_sortierung.feld(), Qt::CaseInsensitive) == 0;
        m_grid->setzeKopfstil(i,
            !sortiert                        ? Kopfstil::Heading
                : m_sortierung.aufsteigend() ? Kopfstil::Aufsteigend
                                             : Kopfstil::Absteigend);
    }
}

} // namespace kv
