#include "masks/ui/Untertabelle.h"

#include "base/Format.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/model/RecordsetModel.h"
#include "masks/Untertabellenabfrage.h"
#include "widgets/Eingabepruefung.h"

namespace kv {

namespace {

bool leererWert(const QVariant& v)
{
    return !v.isValid() || v.isNull()
        || (v.metaType().id() == QMetaType::QString && v.toString().isEmpty());
}

} // namespace

Untertabelle::Untertabelle(
    engine::Database& db, const TabellenelementEinstellungen& e, bool gesperrt, QWidget* behaelter)
    : m_e(e)
    , m_abfrage(std::make_unique<Untertabellenabfrage>(db, e))
    , m_grid(new DataGrid(behaelter))
    , m_gesperrt(gesperrt || e.sperre)
{
    // The model goes with the grid, which reads from it until its end.
    m_modell = new engine::RecordsetModel(m_grid);
    m_grid->setObjectName(QStringLiteral("TDBGrid1"));
    m_grid->setzeTitel(e.titel);
    m_grid->setzeFusszeile(!e.summenspalten.isEmpty());
    m_grid->setzeLoeschfrage(Loeschfrage::AbEinerZeile);
    m_grid->setzeLoeschtitel(e.titel.isEmpty() ? QStringLiteral("Daten löschen")
                                               : e.titel + QStringLiteral(" / Daten löschen"));
    m_grid->setzeFehlertexte(QStringLiteral("Fehler beim Ändern von Verknüpfungsdaten!"),
        QStringLiteral("Fehler beim Löschen von Verknüpfungsdaten!"), Fehlerkennung::Fehler);
    m_grid->setzeNurLesen(true);
    m_grid->setzeModell(m_modell);
    connect(m_grid, &DataGrid::hinzufuegenBegonnen, this, &Untertabelle::neueZeileVerknuepfen);
    connect(m_grid, &DataGrid::zeileGespeichert, this, &Untertabelle::zeilenGeaendert);
    connect(m_grid, &DataGrid::zeilenGeloescht, this, &Untertabelle::zeilenGeaendert);
}

Untertabelle::~Untertabelle() = default;

void Untertabelle::zeige(const QVariant& hauptwert)
{
    m_hauptwert = hauptwert;
    std::unique_ptr<engine::Recordset> rs;
    try {
        rs = m_abfrage->oeffne(hauptwert);
    } catch (const engine::EngineError&) {
        // A statement that cannot be opened shows no rows; the mask stays usable.
    }
    if (rs && !m_spaltenGesetzt)
        spaltenEinrichten(*rs);
    m_modell->setRecordset(std::move(rs));
    // Sub-table rows are few: counted at once, so that sums and formulas see every row.
    m_modell->anzahlErmitteln();
    sperreAnwenden();
    summenAktualisieren();
}

void Untertabelle::leeren()
{
    m_hauptwert = QVariant();
    m_modell->setRecordset(nullptr);
    sperreAnwenden();
    summenAktualisieren();
}

engine::Recordset* Untertabelle::zeilen() const
{
    return m_modell->recordset();
}

void Untertabelle::spaltenEinrichten(engine::Recordset& rs)
{
    QList<Rasterspalte> spalten;
    const QList<engine::Field*> felder = rs.fields();
    for (int i = 0; i < felder.size(); ++i) {
        const engine::Field* f = felder.at(i);
        Rasterspalte s;
        s.datenfeld = f->name();
        s.sichtbar = !m_e.istVersteckt(f->name());
        if (const std::optional<int> breite = m_e.spaltenbreite(i); breite && *breite > 0)
            s.breite = *breite;
        if (f->type() == engine::dbCurrency)
            s.format = QStringLiteral("Currency");
        else if (IstZahlentyp(f->type()))
            s.format = QStringLiteral("General Number");
        if (IstZahlentyp(f->type()))
            s.ausrichtung = Spaltenausrichtung::Rechts;
        spalten.append(s);
    }
    m_verknuepfungsspalte = -1;
    try {
        const engine::Field* verknuepfung = &rs.field(m_e.feldUntertabelle.trimmed());
        m_verknuepfungsspalte = int(felder.indexOf(verknuepfung));
    } catch (const engine::EngineError&) {
        // Rows that do not show the field cannot be linked; they are entered as typed.
    }
    m_grid->setzeSpalten(spalten);
    m_spaltenGesetzt = true;
}

void Untertabelle::sperreAnwenden()
{
    // Without a main value a new row would belong to no record.
    const bool nurLesen = m_gesperrt || !m_modell->recordset() || leererWert(m_hauptwert);
    if (nurLesen != m_grid->nurLesen())
        m_grid->setzeNurLesen(nurLesen);
}

void Untertabelle::neueZeileVerknuepfen()
{
    const int zeile = m_modell->bearbeiteteZeile();
    if (zeile < 0 || m_verknuepfungsspalte < 0 || leererWert(m_hauptwert))
        return;
    m_modell->setData(m_modell->index(zeile, m_verknuepfungsspalte), m_hauptwert, Qt::EditRole);
}

void Untertabelle::summenAktualisieren()
{
    if (!m_grid->fusszeile())
        return;
    m_grid->fusstexteLeeren();
    const QList<Rasterspalte> spalten = m_grid->spalten();
    for (int spalte = 0; spalte < m_grid->spaltenanzahl(); ++spalte) {
        if (!m_e.istSummenspalte(m_grid->datenfeld(spalte)))
            continue;
        const double summe = m_grid->spaltensumme(spalte);
        const QString format = spalte < spalten.size() ? spalten.at(spalte).format : QString();
        m_grid->setzeFusstext(spalte, Format(QVariant(summe), format), Spaltenausrichtung::Rechts);
    }
}

bool Untertabelle::speichern()
{
    return !m_grid || m_grid->aenderungenUebernehmen();
}

} // namespace kv
