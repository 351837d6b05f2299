#include "tables/ui/frmTabelle.h"

#include "base/Dialoge.h"
#include "base/NichtVerfuegbar.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "engine/model/WalkCache.h"
#include "tables/Fusssummen.h"
#include "tables/Hintergrundabfrage.h"
#include "tables/Kopiertext.h"
#include "tables/Suchzeile.h"
#include "tables/ui/Wartecursor.h"
#include "widgets/DataGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QTableView>

// Records, conditions, sorting, sums and the commands of the table-view window.

namespace kv {

namespace {

/// The field behind a grid column, as the record set describes it.
std::optional<Datenfeldinfo> feldinfo(const QList<Datenfeldinfo>& felder, const QString& name)
{
    for (const Datenfeldinfo& f : felder) {
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return f;
    }
    return std::nullopt;
}

} // namespace

QList<Datenfeldinfo> frmTabelle::datenfelder() const
{
    return m_modell ? m_modell->datenfelder() : QList<Datenfeldinfo>();
}

engine::Recordset* frmTabelle::datensatz() const
{
    return m_anbindung ? m_anbindung->datensatz() : nullptr;
}

bool frmTabelle::bedingungenAnwenden()
{
    const QString bedingung = Gesamtbedingung(m_suche.inKraft() ? m_suche.SQL : QString(),
        m_suchzeileInKraft ? m_suchzeilenbedingung : QString());
    const QString sql = m_sortierung.anwenden(
        bedingung.isEmpty() ? m_definition.sql : BedingungEinsetzen(m_definition.sql, bedingung));
    const bool geoeffnet = neuLesen(sql, Neuart::Bedingung,
        QStringLiteral("Bei der Umsetzung der Suchbedingung ist ein Fehler aufgetreten!"),
        Fehlerkennung::Nr);
    werkzeugeAktualisieren();
    positionAnzeigen();
    return geoeffnet;
}

void frmTabelle::suchzeileGeaendert()
{
    const QList<Datenfeldinfo> felder = datenfelder();
    QList<Suchzeilenspalte> spalten;
    for (int i = 0; i < m_grid->spaltenanzahl(); ++i) {
        const QString text = m_grid->suchtext(i);
        if (text.isEmpty())
            continue;
        const QString name = m_grid->datenfeld(i);
        const std::optional<Datenfeldinfo> info = feldinfo(felder, name);
        if (!info)
            continue;
        spalten.append({ info->name, info->quelltabelle, info->quellfeld, info->typ, text });
    }
    m_suchzeilenbedingung = Suchzeilenbedingung(spalten);
    m_suchzeileInKraft = true;
    bedingungenAnwenden();
}

void frmTabelle::kopfGeklickt(int spalte)
{
    const Kopfsortierung vorher = m_sortierung;
    if (!m_sortierung.klick(m_grid->datenfeld(spalte), m_grid->feldtyp(spalte)))
        return;
    // The order of the rows shown now, conditions included.
    const QString sql = liestDatensaetze() ? m_neu.sql : m_aktuellesSql;
    if (!neuLesen(m_sortierung.anwenden(sql), Neuart::Sortierung,
            QStringLiteral("Fehler beim Sortieren!"), Fehlerkennung::Fehler))
        m_sortierung = vorher;
}

QString frmTabelle::bearbeitungstext(int zeile, int spalte) const
{
    const QAbstractItemModel* m = m_grid->ansicht()->model();
    return m->index(zeile, spalte).data(Qt::EditRole).toString();
}

void frmTabelle::neu(bool kopie)
{
    if (m_hinzufuegen) {
        // "Neu" shows "Speichern" while a record is being entered.
        m_grid->aenderungenUebernehmen();
        return;
    }
    if (m_gesperrt)
        return;
    QStringList werte;
    const int vorlage = m_grid->aktuelleZeile();
    if (kopie) {
        if (vorlage < 0 || vorlage >= m_grid->datenzeilen())
            return;
        for (int spalte = 0; spalte < m_grid->spaltenanzahl(); ++spalte)
            werte.append(
                m_grid->spalteGesperrt(spalte) ? QString() : bearbeitungstext(vorlage, spalte));
    }
    if (!m_grid->neueZeileBeginnen())
        return;
    const int zeile = m_grid->aktuelleZeile();
    for (int spalte = 0; spalte < werte.size(); ++spalte) {
        if (!werte.at(spalte).isEmpty())
            m_grid->setzeZelltext(zeile, spalte, werte.at(spalte));
    }
}

void frmTabelle::hinzufuegenBegonnen()
{
    m_hinzufuegen = true;
    if (m_vorgabenUmsetzen)
        vorgabenEinsetzen(m_grid->aktuelleZeile());
    werkzeugeAktualisieren();
}

void frmTabelle::vorgabenEinsetzen(int zeile)
{
    engine::Database* db = m_umgebung.datenbank;
    if (!db)
        return;
    const QList<Datenfeldinfo> felder = datenfelder();
    for (int spalte = 0; spalte < m_grid->spaltenanzahl(); ++spalte) {
        const std::optional<Datenfeldinfo> info = feldinfo(felder, m_grid->datenfeld(spalte));
        if (!info || info->quelltabelle.isEmpty())
            continue;
        try {
            engine::TableDef* tabelle = db->tableDefs().find(info->quelltabelle);
            const engine::Field* feld = tabelle
                ? tabelle->fields().find(info->quellfeld.isEmpty() ? info->name : info->quellfeld)
                : nullptr;
            if (!feld || feld->defaultValue().trimmed().isEmpty())
                continue;
        } catch (const engine::EngineError&) {
            continue;
        }
        // The new record starts with the evaluated default; entering it as typed keeps it
        // when the user changes other cells only.
        const QString text = bearbeitungstext(zeile, spalte);
        if (!text.isEmpty())
            m_grid->setzeZelltext(zeile, spalte, text);
    }
}

void frmTabelle::hinzufuegenBeendet()
{
    m_hinzufuegen = false;
    werkzeugeAktualisieren();
    positionAnzeigen();
}

void frmTabelle::loeschen()
{
    if (m_gesperrt)
        return;
    if (m_grid->markierteZeilen().isEmpty()) {
        const int zeile = m_grid->aktuelleZeile();
        if (zeile < 0 || zeile >= m_grid->datenzeilen())
            return;
        m_grid->markiereZeile(zeile);
    }
    m_grid->loescheMarkierte();
}

void frmTabelle::kopie()
{
    if (!m_grid->aenderungenUebernehmen())
        return;
    engine::Recordset* rs = datensatz();
    const int zeile = m_grid->aktuelleZeile();
    if (!rs || zeile < 0 || zeile >= m_grid->datenzeilen())
        return;
    QString text;
    try {
        m_modell->setzeAktuelleZeile(zeile);
        text = kopiertext(m_definition.zwischenablageformat, kopierfelder(*rs, &m_definition));
    } catch (const engine::EngineError& e) {
        zeigeFehler(QStringLiteral("Der Datensatz konnte nicht kopiert werden!"), e.number(),
            e.description());
        return;
    }
    QClipboard* ablage = QGuiApplication::clipboard();
    ablage->clear();
    ablage->setText(text);
}

void frmTabelle::aktualisieren()
{
    if (m_hinzufuegen)
        return;
    lesenAbbrechen();
    m_grid->aenderungenVerwerfen();
    // The same statement opened anew: a sorted or filtered set reads its keys in the background,
    // the rows shown staying until they are complete. Without a set (a reading cancelled on
    // opening) the view's own statement is read.
    const QString sql = m_aktuellesSql.isEmpty() ? m_definition.sql : m_aktuellesSql;
    datenquelleLesen(sql, true);
    werkzeugeAktualisieren();
    positionAnzeigen();
}

void frmTabelle::werkzeugGeklickt(const QString& name)
{
    if (name == QStringLiteral("zurück")) {
        m_grid->bewege(Navigationsschritt::Zurueck);
    } else if (name == QStringLiteral("vor")) {
        m_grid->bewege(Navigationsschritt::Vor);
    } else if (name == QStringLiteral("neu")) {
        neu(false);
    } else if (name == QStringLiteral("neukopie")) {
        neu(true);
    } else if (name == QStringLiteral("löschen")) {
        loeschen();
    } else if (name == QStringLiteral("kopie")) {
        kopie();
    } else if (name == QStringLiteral("suchen") || name == QStringLiteral("druckenreport")
        || name == QStringLiteral("druckentabelle")) {
        if (m_grid->aenderungenUebernehmen())
            FensterNichtVerfuegbar();
    } else if (name == QStringLiteral("schließen")) {
        if (m_hinzufuegen)
            m_grid->aenderungenVerwerfen();
        else
            close();
        return;
    }
    werkzeugeAktualisieren();
}

bool frmTabelle::summenLaufen() const
{
    return m_summenWarten || m_summen->laeuft();
}

void frmTabelle::summenBerechnen()
{
    const QList<Summenspalte> summen = Summenspalten(m_spalten);
    if (summen.isEmpty() || !datensatz() || !m_umgebung.datenbank || m_schliesstSich)
        return;
    // The data or the conditions changed: totals still being computed are of no use.
    m_summen->abbrechen();
    m_grid->fusstexteLeeren();
    m_summenWarten = true;
    m_summenSpaetestens.start();
}

void frmTabelle::summenStarten()
{
    if (!m_summenWarten)
        return;
    m_summenWarten = false;
    m_summenSpaetestens.stop();
    const QList<Summenspalte> summen = Summenspalten(m_spalten);
    if (summen.isEmpty() || !datensatz() || !m_umgebung.datenbank || m_schliesstSich)
        return;
    const engine::Database& db = *m_umgebung.datenbank;
    arbeitBeginnt(QStringLiteral("Die Summen werden berechnet …"));
    // Rows the model still counts are counted in the same walk.
    m_anzahlMarke = m_anbindung->anzahlUebernehmen();
    const QString sql = SummenSql(m_aktuellesSql, summen, m_anzahlMarke != 0);
    m_summen->starte({ db.name(), db.connect() }, [sql](engine::Database& d) {
        engine::cacheForOneWalk(d);
        return QVariant(d.firstRow(sql));
    });
}

void frmTabelle::summenAnzeigen(quint64 lauf, const QVariant& ergebnis)
{
    if (lauf != m_summen->lauf())
        return;
    if (spaeterWennFrei([this, lauf, ergebnis] { summenAnzeigen(lauf, ergebnis); }))
        return;
    arbeitEndet();
    const QVariantList werte = ergebnis.toList();
    const QList<Summenspalte> summen = Summenspalten(m_spalten);
    for (int i = 0; i < summen.size(); ++i) {
        const Summenspalte& s = summen.at(i);
        m_grid->setzeFusstext(s.spalte, Summentext(werte.value(i), s.format), s.ausrichtung);
    }
    if (m_anzahlMarke != 0) {
        const QVariant anzahl = werte.value(summen.size());
        m_anbindung->anzahlMitteilen(m_anzahlMarke, anzahl.isValid() ? anzahl.toLongLong() : -1);
        m_anzahlMarke = 0;
    }
    Q_EMIT summenFertig();
}

void frmTabelle::summenSynchron()
{
    // The worker could not open the file for itself (a lock, a foreign format): the window's
    // own connection computes the totals.
    if (spaeterWennFrei([this] { summenSynchron(); }))
        return;
    const QList<Summenspalte> summen = Summenspalten(m_spalten);
    QVariantList werte;
    try {
        const Wartecursor warten;
        std::unique_ptr<engine::Recordset> rs = m_umgebung.datenbank->openRecordset(
            SummenSql(m_aktuellesSql, summen, m_anzahlMarke != 0), engine::dbOpenSnapshot);
        for (int i = 0; !rs->eof() && i < rs->fieldCount(); ++i)
            werte.append(rs->value(i));
    } catch (const engine::EngineError&) {
        m_grid->fusstexteLeeren();
        anzahlZurueckgeben();
        arbeitEndet();
        return;
    }
    summenAnzeigen(m_summen->lauf(), werte);
}

void frmTabelle::anzahlZurueckgeben()
{
    if (m_anzahlMarke != 0)
        m_anbindung->anzahlMitteilen(m_anzahlMarke, -1);
    m_anzahlMarke = 0;
}

void frmTabelle::arbeitBeginnt(const QString& text)
{
    hinweisEntfernen();
    m_fortschrittText->setText(text + QStringLiteral("  (Esc bricht ab)"));
    if (!m_fortschritt->isVisible())
        m_fortschrittVerzoegerung.start();
}

bool frmTabelle::arbeitLaeuft() const
{
    return liestDatensaetze() || summenLaufen() || (m_zaehlen && m_modell->zaehltNoch());
}

void frmTabelle::zaehlenBeobachten()
{
    m_zaehlen = m_modell && m_modell->zaehltNoch();
    if (m_zaehlen)
        arbeitBeginnt(QStringLiteral("Die Datensätze werden gezählt …"));
}

void frmTabelle::arbeitEndet()
{
    // The bar stays for work still going.
    if (arbeitLaeuft())
        return;
    m_fortschrittVerzoegerung.stop();
    if (!m_hinweis)
        m_fortschritt->hide();
}

void frmTabelle::arbeitAbbrechen()
{
    // The rows shown stay as they were; a count that went with the sums stays open (the rows
    // grow as the view reads on, Ctrl+End counts).
    lesenAbbrechen();
    if (summenLaufen()) {
        m_summenWarten = false;
        m_summenSpaetestens.stop();
        m_summen->abbrechen();
        m_anzahlMarke = 0;
        m_grid->fusstexteLeeren();
    }
    if (m_zaehlen) {
        m_zaehlen = false;
        m_modell->zaehlenAbbrechen();
    }
    arbeitEndet();
}

bool frmTabelle::schliessenErlaubt()
{
    if (!m_grid->inBearbeitung())
        return true;
    const QString frage = QStringLiteral("Der geänderte Datensatz ist noch nicht gespeichert.")
        + Zeilenumbruch + Zeilenumbruch + QStringLiteral("Möchten Sie die Änderungen speichern?");
    switch (zeigeMeldung(frage, windowTitle(), Knoepfe::JaNeinAbbrechen, Symbol::Frage)) {
    case Antwort::Ja:
        return m_grid->aenderungenUebernehmen();
    case Antwort::Nein:
        m_grid->aenderungenVerwerfen();
        return true;
    default:
        return false;
    }
}

} // namespace kv
