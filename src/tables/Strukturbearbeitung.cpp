#include "tables/Strukturbearbeitung.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "engine/Database.h"
#include "engine/FieldReplacement.h"
#include "tables/EindeutigeNamen.h"
#include "tables/Engineschritt.h"
#include "tables/Feldersetzung.h"
#include "tables/Indexfeldtext.h"

#include <algorithm>

namespace kv {

using namespace engine;

Strukturbearbeitung::Strukturbearbeitung(Database& db, bool neu, const QString& tabelle)
    : m_db(db)
    , m_name(tabelle)
{
    if (neu) {
        if (m_name.trimmed().isEmpty())
            m_name = eindeutigerTabellenname(QStringLiteral("Tabelle"), andereTabellen())
                         .value_or(QStringLiteral("Tabelle"));
        m_neu = db.createTableDef(m_name);
    } else {
        m_name = db.tableDefs().item(tabelle).name();
    }
    laden();
}

Strukturbearbeitung::~Strukturbearbeitung() = default;

QString Strukturbearbeitung::titel() const
{
    return QStringLiteral("Tabellenstruktur")
        + (neueTabelle() ? QStringLiteral(" neu erstellen") : QStringLiteral(" ändern"));
}

TableDef& Strukturbearbeitung::tabelle() const
{
    return m_neu ? *m_neu : m_db.tableDefs().item(m_name);
}

bool Strukturbearbeitung::extern_() const
{
    return !m_neu && tabelle().isAttached();
}

bool Strukturbearbeitung::aenderbar() const
{
    return !extern_() && m_db.updatable();
}

QStringList Strukturbearbeitung::andereTabellen() const
{
    QStringList namen;
    for (const TableDef* t : m_db.tableDefs().items())
        if (t->name().compare(m_name, Qt::CaseInsensitive) != 0 || m_neu)
            namen << t->name();
    return namen;
}

FeldZeile Strukturbearbeitung::zeileVon(const Field& feld)
{
    FeldZeile z;
    z.name = feld.name();
    z.typ = static_cast<qint16>(feld.type());
    z.groesse = feld.size();
    z.position = feld.ordinalPosition();
    z.setzeAttribute(feld.attributes());
    z.erforderlich = feld.required();
    z.nullwertErlaubt = feld.allowZeroLength();
    z.vorgabewert = feld.defaultValue();
    z.pruefvorschrift = feld.validationRule();
    z.fehlertext = feld.validationText();
    z.neu = false;
    return z;
}

void Strukturbearbeitung::laden()
{
    m_zeilen.clear();
    m_gespeichert.clear();
    m_indizes.clear();
    TableDef& t = tabelle();
    if (!m_neu) {
        // A renamed field's indexes and relations are renamed in the file, not in the objects.
        t.fields().refresh();
        t.indexes().refresh();
    }
    QList<const Field*> felder;
    for (const Field* f : t.fields().items())
        felder.append(f);
    // A field appended by a replacement keeps the position of the one it replaced.
    std::stable_sort(felder.begin(), felder.end(),
        [](const Field* a, const Field* b) { return a->ordinalPosition() < b->ordinalPosition(); });
    for (const Field* f : felder) {
        m_zeilen.append(zeileVon(*f));
        m_gespeichert.append(m_zeilen.last());
    }
    for (const Index* ix : t.indexes().items())
        m_indizes.append({ ix->name(), indexfeldtext(ix->fields()), ix->primary(), ix->unique(),
            ix->required(), ix->ignoreNulls(), ix->foreign() });
}

void Strukturbearbeitung::setzeZeile(int zeile, const FeldZeile& werte)
{
    if (zeile >= 0 && zeile < m_zeilen.size())
        m_zeilen[zeile] = werte;
}

bool Strukturbearbeitung::zeileOffen(int zeile) const
{
    if (zeile < 0 || zeile >= m_zeilen.size())
        return false;
    return !m_gespeichert.at(zeile) || *m_gespeichert.at(zeile) != m_zeilen.at(zeile);
}

int Strukturbearbeitung::neueZeile()
{
    const std::optional<FeldZeile> zeile = neueFeldZeile(m_zeilen);
    if (!zeile) {
        zeigeMeldung(keinFreierFeldnameText(QLatin1String(NeufeldBasis)));
        return -1;
    }
    m_zeilen.append(*zeile);
    m_gespeichert.append(std::nullopt);
    return static_cast<int>(m_zeilen.size() - 1);
}

void Strukturbearbeitung::verwirfZeile(int zeile)
{
    if (zeile < 0 || zeile >= m_zeilen.size())
        return;
    if (m_gespeichert.at(zeile)) {
        m_zeilen[zeile] = *m_gespeichert.at(zeile);
    } else {
        m_zeilen.removeAt(zeile);
        m_gespeichert.removeAt(zeile);
    }
}

bool Strukturbearbeitung::loescheFeld(int zeile)
{
    if (zeile < 0 || zeile >= m_zeilen.size())
        return false;
    if (!m_gespeichert.at(zeile)) {
        verwirfZeile(zeile);
        return true;
    }
    const QString name = m_gespeichert.at(zeile)->name;
    const QString frage = QStringLiteral("Möchten Sie das Feld:") + Zeilenumbruch + Zeilenumbruch
        + name + Zeilenumbruch + Zeilenumbruch + QStringLiteral("wirklich löschen?") + Zeilenumbruch
        + Zeilenumbruch + QStringLiteral("Vorhandene Feldinhalte werden dadurch gelöscht!");
    if (zeigeMeldung(frage, QStringLiteral("Feld löschen"), Knoepfe::JaNein, Symbol::Frage, 2)
        != Antwort::Ja)
        return false;
    if (!engineschritt(QStringLiteral("Fehler beim Löschen des Feldes!"),
            [&] { tabelle().fields().remove(name); }))
        return false;
    strukturGeaendert();
    laden();
    return true;
}

bool Strukturbearbeitung::loescheIndex(int zeile)
{
    if (zeile < 0 || zeile >= m_indizes.size())
        return false;
    const IndexZeile index = m_indizes.at(zeile);
    if (index.fremdschluessel) {
        zeigeMeldung(QStringLiteral("Ein Fremdschlüssel kann leider nicht") + Zeilenumbruch
            + QStringLiteral("gelöscht werden! Dazu ist die entsprechende") + Zeilenumbruch
            + QStringLiteral("Relation zu löschen!"));
        return false;
    }
    const QString frage = QStringLiteral("Möchten Sie den Index:") + Zeilenumbruch + Zeilenumbruch
        + index.name + Zeilenumbruch + Zeilenumbruch + QStringLiteral("wirklich löschen?");
    if (zeigeMeldung(frage, QStringLiteral("Index löschen"), Knoepfe::JaNein, Symbol::Frage, 2)
        != Antwort::Ja)
        return false;
    if (!engineschritt(QStringLiteral("Fehler beim Löschen des Index!"),
            [&] { tabelle().indexes().remove(index.name); }))
        return false;
    strukturGeaendert();
    laden();
    return true;
}

bool Strukturbearbeitung::benenneIndexUm(int zeile, const QString& name)
{
    if (zeile < 0 || zeile >= m_indizes.size() || m_indizes.at(zeile).fremdschluessel)
        return false;
    if (const auto fehler = pruefeIndexname(name)) {
        zeigeMeldung(*fehler);
        return false;
    }
    const QString alt = m_indizes.at(zeile).name;
    if (alt == name)
        return false;
    if (!engineschritt(QStringLiteral("Fehler bei der Vergabe des Indexnamens!"),
            [&] { tabelle().indexes().item(alt).setName(name); }))
        return false;
    strukturGeaendert();
    laden();
    return true;
}

std::optional<QString> Strukturbearbeitung::freierTabellenname(const QString& wunsch) const
{
    // The table itself does not count: changing only the letter case keeps the name.
    const std::optional<QString> frei = eindeutigerTabellenname(wunsch, andereTabellen());
    if (!frei) {
        zeigeMeldung(keinFreierTabellennameText(wunsch));
        return std::nullopt;
    }
    if (*frei != wunsch)
        zeigeMeldung(QStringLiteral("Der Tabellenname ist bereits vorhanden. Es wird daher")
            + Zeilenumbruch
            + QStringLiteral("ein noch nicht vorhandener Name erzeugt und verwendet.")
            + Zeilenumbruch + Zeilenumbruch + QStringLiteral("Ihre Eingabe: ") + wunsch
            + Zeilenumbruch + QStringLiteral("Neuer Tabellenname: ") + *frei);
    return frei;
}

QString Strukturbearbeitung::benenneTabelleUm(const QString& wunsch)
{
    const QString eingabe = wunsch.trimmed();
    if (eingabe.isEmpty()) {
        zeigeMeldung(*pruefeZelle(Feldspalte::Feldname, eingabe));
        return m_name;
    }
    if (eingabe == m_name)
        return m_name;
    const std::optional<QString> frei = freierTabellenname(eingabe);
    if (!frei)
        return m_name;
    if (m_neu) {
        m_neu->setName(*frei);
        m_name = *frei;
        return m_name;
    }
    if (engineschritt(QStringLiteral("Fehler bei der Vergabe des Tabellennamens!"),
            [&] { tabelle().setName(*frei); }))
        m_name = *frei;
    return m_name;
}

void Strukturbearbeitung::strukturGeaendert()
{
    try {
        forgetFieldChange(m_db);
    } catch (const EngineError&) {
        // What the undo keeps only takes room; the change itself succeeded.
    }
}

bool Strukturbearbeitung::rueckgaengigMoeglich() const
{
    if (m_neu)
        return false;
    const std::optional<FieldChange> aenderung = undoableFieldChange(m_db);
    return aenderung && aenderung->table.compare(m_name, Qt::CaseInsensitive) == 0;
}

bool Strukturbearbeitung::strukturaenderungRueckgaengig()
{
    const std::optional<FieldChange> aenderung = undoableFieldChange(m_db);
    if (!aenderung || aenderung->table.compare(m_name, Qt::CaseInsensitive) != 0)
        return false;
    const QString frage = QStringLiteral("Möchten Sie die letzte Strukturänderung am Feld")
        + Zeilenumbruch + Zeilenumbruch + aenderung->field + Zeilenumbruch + Zeilenumbruch
        + QStringLiteral("rückgängig machen? Das Feld erhält seinen alten Felddatentyp")
        + Zeilenumbruch + QStringLiteral("und seine alten Werte zurück.");
    if (zeigeMeldung(
            frage, QStringLiteral("Strukturänderung rückgängig"), Knoepfe::JaNein, Symbol::Frage, 2)
        != Antwort::Ja)
        return false;
    if (!macheErsetzungRueckgaengig(
            m_db, m_fortschrittsquelle ? m_fortschrittsquelle() : engine::ChangeProgress()))
        return false;
    laden();
    return true;
}

} // namespace kv
