#include "tables/ui/frmTabelle.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "engine/cursor/RecordSource.h"
#include "tables/Hintergrundabfrage.h"
#include "tables/ui/Wartecursor.h"
#include "widgets/DataGrid.h"
#include "widgets/Navigationsleiste.h"

// A new order or new conditions: the set opens on the window's thread (so that a statement
// that cannot work is reported at once), its keys are read by a worker on a connection of its
// own. Until they are complete the previous rows stay, usable but not editable; Escape cancels.

namespace kv {

namespace {
using Schluessel = std::shared_ptr<std::vector<qint64>>;
}

bool frmTabelle::neuLesen(
    const QString& sql, Neuart art, const QString& fehlersatz, Fehlerkennung kennung)
{
    if (!m_umgebung.datenbank || !m_anbindung || !m_grid->aenderungenUebernehmen())
        return false;
    std::unique_ptr<engine::Recordset> rs;
    try {
        const Wartecursor warten;
        rs = m_umgebung.datenbank->openRecordsetKeysLater(sql, engine::dbOpenDynaset);
    } catch (const engine::EngineError& e) {
        zeigeFehler(fehlersatz, e.number(), e.description(), kennung);
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
        neuesZeigen(std::move(rs));
        arbeitEndet();
        if (art == Neuart::Bedingung)
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
    m_grid->setzeNurLesen(true);
    m_leisten->navigation()->setzeBearbeitbar(false);
    werkzeugeAktualisieren();
    arbeitBeginnt(art == Neuart::Sortierung
            ? QStringLiteral("Bitte warten … Die Datensätze werden sortiert.")
            : QStringLiteral("Bitte warten … Die Datensätze werden gesucht."));
    const engine::Database& db = *m_umgebung.datenbank;
    m_schluessel->starte({ db.name(), db.connect() }, [abfrage = *abfrage](engine::Database& d) {
        return QVariant::fromValue(
            std::make_shared<std::vector<qint64>>(abfrage.run(d.connection())));
    });
    return true;
}

void frmTabelle::schluesselGelesen(quint64 lauf, const QVariant& ergebnis)
{
    if (lauf != m_schluessel->lauf() || !liestDatensaetze())
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
    m_neu = {};
    lesenBeendet();
    neuesZeigen(std::move(rs));
    // The order changes no total; new conditions do.
    if (art == Neuart::Bedingung)
        summenBerechnen();
    Q_EMIT datensaetzeGelesen();
}

void frmTabelle::schluesselFehler(qint64 nummer, const QString& beschreibung)
{
    if (!liestDatensaetze())
        return;
    const QString fehlersatz = m_neu.fehlersatz;
    const Fehlerkennung kennung = m_neu.kennung;
    lesenAbbrechen();
    zeigeFehler(fehlersatz, int(nummer), beschreibung, kennung);
}

void frmTabelle::neuesZeigen(std::unique_ptr<engine::Recordset> rs)
{
    m_anbindung->zeigen(std::move(rs));
    m_gezeigt = { m_sortierung, m_suchzeilenbedingung, m_suchzeileInKraft };
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
