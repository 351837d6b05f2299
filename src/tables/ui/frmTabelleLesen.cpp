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

#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <utility>

// The records on opening and Alt+R, a new order or new conditions: the set opens on the window's
// thread (so that a statement that cannot work is reported at once), its keys are read by a
// worker on a connection of its own: first those of a page (a LIMIT, a top-N sort for SQLite),
// shown at once, then all of them, which complete the set in place. Until the first page is
// there the previous rows stay (none on opening); until all keys are there the rows cannot be
// edited. Escape cancels, keeping a first page shown.

namespace kv {

namespace {
using Schluessel = std::shared_ptr<std::vector<qint64>>;
/// How often an answer that needs the window's connection looks whether it is free again.
constexpr int VerbindungFreiMs = 50;
const QString Abbruchhinweis
    = QStringLiteral("Das Lesen der Datensätze wurde abgebrochen. Alt+R liest sie erneut.");
const QString Lesetext = QStringLiteral("Bitte warten … Die Datensätze werden gelesen.");
/// Rows of the first page beyond those the grid shows, for a little scrolling.
constexpr qint64 SeitenRand = 32;

/// Work for a key worker: the keys the query gives, on the worker's connection.
Hintergrundarbeit schluesselLesen(engine::KeyQuery abfrage)
{
    return [abfrage = std::move(abfrage)](engine::Database& d) {
        return QVariant::fromValue(
            std::make_shared<std::vector<qint64>>(abfrage.run(d.connection())));
    };
}
std::vector<qint64> schluesselAus(const QVariant& ergebnis)
{
    const Schluessel gelesen = ergebnis.value<Schluessel>();
    return gelesen ? std::move(*gelesen) : std::vector<qint64>();
}
} // namespace

qint64 frmTabelle::ersteSeitenzeilen() const
{
    // Before the window is laid out its grid is small: a screen's height is what it may get.
    const QTableView* ansicht = m_grid->ansicht();
    const QScreen* bildschirm = screen();
    const int hoehe = std::max(
        ansicht->viewport()->height(), bildschirm ? bildschirm->availableGeometry().height() : 0);
    const int zeilenhoehe = std::max(1, ansicht->verticalHeader()->defaultSectionSize());
    return hoehe / zeilenhoehe + 1 + SeitenRand;
}

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
    // A first page still waiting for its other keys keeps the rows it has.
    const bool ersetzt = liestDatensaetze();
    if (ersetzt) {
        m_schluessel->abbrechen();
        m_ersteSeite->abbrechen();
        folgeBeenden();
        m_neu = {};
    }
    if (!abfrage) {
        // A whole table in its own order, or a copy: the keys are there already. A reading still
        // going is replaced, not taken back.
        m_aktuellesSql = sql;
        neuesZeigen(std::move(rs), zeileBehalten ? m_grid->aktuelleZeile() : -1);
        arbeitEndet();
        if (art != Neuart::Sortierung)
            summenBerechnen();
        if (ersetzt)
            Q_EMIT datensaetzeGelesen();
        return true;
    }
    const qint64 seite = ersteSeitenzeilen();
    const std::optional<engine::KeyQuery> ersteSeite = rs->pendingFirstKeys(seite);
    m_neu.rs = std::move(rs);
    m_neu.seite = ersteSeite ? seite : 0;
    m_neu.sql = sql;
    m_neu.art = art;
    m_neu.fehlersatz = fehlersatz;
    m_neu.kennung = kennung;
    m_neu.zeileBehalten = zeileBehalten;
    m_grid->setzeNurLesen(true);
    m_leisten->navigation()->setzeBearbeitbar(false);
    werkzeugeAktualisieren();
    m_neu.arbeitstext = art == Neuart::Sortierung
        ? QStringLiteral("Bitte warten … Die Datensätze werden sortiert.")
        : art == Neuart::Bedingung ? QStringLiteral("Bitte warten … Die Datensätze werden gesucht.")
                                   : Lesetext;
    arbeitBeginnt(m_neu.arbeitstext);
    // A sort reads both at once: the first page needs a top-N sort only, all keys the full one.
    // A condition's first page ends after a short part of the scan, and often holds every row:
    // all keys wait for it, which also spares a second worker per key typed into the search row.
    const bool nacheinander = m_alleNachErsterSeite || art == Neuart::Bedingung;
    const engine::Database& db = *m_umgebung.datenbank;
    const Abfragequelle quelle { db.name(), db.connect() };
    Hintergrundarbeit alle = schluesselLesen(*abfrage);
    if (ersteSeite) {
        m_ersteSeite->starte(quelle, schluesselLesen(*ersteSeite));
    }
    if (ersteSeite && nacheinander)
        m_neu.alle = std::move(alle);
    else
        m_schluessel->starte(quelle, std::move(alle));
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
    std::vector<qint64> schluessel = schluesselAus(ergebnis);
    if (m_neu.folgt) {
        restGelesen(std::move(schluessel));
        return;
    }
    m_ersteSeite->abbrechen();
    alleSchluesselZeigen(std::move(schluessel));
}

void frmTabelle::ersteSeiteErhalten(quint64 lauf, const QVariant& ergebnis)
{
    // Dropped when all keys came first.
    if (lauf != m_ersteSeite->lauf() || !m_neu.rs)
        return;
    if (spaeterWennFrei([this, lauf, ergebnis] { ersteSeiteErhalten(lauf, ergebnis); }))
        return;
    std::vector<qint64> schluessel = schluesselAus(ergebnis);
    // Fewer keys than a page are all of them.
    if (qint64(schluessel.size()) < m_neu.seite) {
        m_schluessel->abbrechen();
        alleSchluesselZeigen(std::move(schluessel));
        return;
    }
    ersteSeiteZeigen(std::move(schluessel));
}

std::unique_ptr<engine::Recordset> frmTabelle::mitSchluesseln(
    std::vector<qint64> schluessel, bool ersteSeite)
{
    std::unique_ptr<engine::Recordset> rs = std::move(m_neu.rs);
    try {
        if (ersteSeite)
            rs->setFirstKeys(std::move(schluessel));
        else
            rs->setKeys(std::move(schluessel));
    } catch (const engine::EngineError& e) {
        m_neu.rs = std::move(rs);
        schluesselFehler(e.number(), e.description());
        return nullptr;
    }
    m_aktuellesSql = m_neu.sql;
    return rs;
}

void frmTabelle::alleSchluesselZeigen(std::vector<qint64> schluessel)
{
    std::unique_ptr<engine::Recordset> rs = mitSchluesseln(std::move(schluessel), false);
    if (!rs)
        return;
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

void frmTabelle::ersteSeiteZeigen(std::vector<qint64> schluessel)
{
    std::unique_ptr<engine::Recordset> rs = mitSchluesseln(std::move(schluessel), true);
    if (!rs)
        return;
    m_neu.seite = 0;
    m_neu.folgt = true;
    // A row beyond the first page is gone to once it is there.
    const int zeile = m_neu.zeileBehalten ? m_grid->aktuelleZeile() : -1;
    // Totals of other rows, or of a computation that would have to wait for every key, are
    // of no use now; they are computed once the keys are complete.
    m_neu.summen = m_neu.art != Neuart::Sortierung || summenLaufen();
    if (m_neu.summen) {
        m_summenWarten = false;
        m_summenSpaetestens.stop();
        m_summen->abbrechen();
        m_anzahlMarke = 0;
        m_grid->fusstexteLeeren();
    }
    neuesZeigen(std::move(rs), zeile);
    if (zeile >= m_grid->datenzeilen())
        m_neu.zeile = zeile;
    // The count comes with the keys; the model does not count for itself meanwhile.
    m_neu.anzahlmarke = m_anbindung->anzahlUebernehmen();
    m_grid->setzeNurLesen(true);
    m_leisten->navigation()->setzeBearbeitbar(false);
    werkzeugeAktualisieren();
    arbeitBeginnt(m_neu.arbeitstext);
    Q_EMIT ersteSeiteGezeigt();
    alleStarten();
}

void frmTabelle::alleStarten()
{
    if (!m_neu.alle || !m_umgebung.datenbank)
        return;
    const engine::Database& db = *m_umgebung.datenbank;
    m_schluessel->starte({ db.name(), db.connect() }, std::exchange(m_neu.alle, {}));
}

void frmTabelle::restGelesen(std::vector<qint64> schluessel)
{
    engine::Recordset* rs = datensatz();
    if (!rs) {
        lesenAbbrechen();
        return;
    }
    qint64 anzahl = 0;
    try {
        rs->setKeys(std::move(schluessel));
        anzahl = rs->recordCount();
    } catch (const engine::EngineError& e) {
        schluesselFehler(e.number(), e.description());
        return;
    }
    // The rows after the first page join below it: nothing shown moves.
    m_anbindung->anzahlMitteilen(m_neu.anzahlmarke, anzahl);
    if (m_neu.ansEnde)
        m_grid->bewege(Navigationsschritt::Letzter);
    else if (m_neu.zeile >= 0 && m_neu.zeile < m_grid->datenzeilen())
        m_grid->setzeAktuelleZeile(m_neu.zeile);
    const bool summen = m_neu.summen;
    m_neu = {};
    lesenBeendet();
    positionAnzeigen();
    if (summen)
        summenBerechnen();
    Q_EMIT datensaetzeGelesen();
}

bool frmTabelle::zumEndeNachDenSchluesseln()
{
    // Which record is the last one the keys still being read tell; the window does not wait
    // for them.
    if (!m_neu.folgt)
        return false;
    m_neu.ansEnde = true;
    return true;
}

void frmTabelle::folgeBeenden()
{
    if (!m_neu.folgt)
        return;
    m_neu.folgt = false;
    engine::Recordset* rs = datensatz();
    if (!rs)
        return;
    qint64 anzahl = -1;
    try {
        rs->stopFollowing();
        anzahl = rs->recordCount();
    } catch (const engine::EngineError&) {
        // The model counts for itself.
    }
    m_anbindung->anzahlMitteilen(m_neu.anzahlmarke, anzahl);
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
    m_ersteSeite->abbrechen();
    const bool ersteSeite = m_neu.folgt;
    folgeBeenden();
    // Nothing was shown yet, or a first page only: the window says why.
    if ((!datensatz() || ersteSeite) && !m_schliesstSich)
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
