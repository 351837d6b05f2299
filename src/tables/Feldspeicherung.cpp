// Saving a field row of the structure editor, step by step as the editor stores them.

#include "tables/Strukturbearbeitung.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "engine/Database.h"
#include "engine/FieldReplacement.h"
#include "tables/EindeutigeNamen.h"
#include "tables/Engineschritt.h"
#include "tables/Feldersetzung.h"

namespace kv {

using namespace engine;

namespace {

/// The attribute bits the editor shows; others (updatable, descending) are the engine's own.
constexpr int Editorattribute = dbFixedField | dbVariableField | dbAutoIncrField;

/// "Nullwert erlaubt", "Wert erforderlich", "Vorgabewert", "Prüfvorschrift", "Fehlertext" where
/// they differ from vorher. False after the message of the step that failed.
bool setzeEigenschaften(Field& feld, const FeldZeile& z, const std::optional<FeldZeile>& vorher)
{
    auto geaendert = [&](auto wert) { return !vorher || (*vorher).*wert != z.*wert; };
    if (geaendert(&FeldZeile::nullwertErlaubt)
        && !engineschritt(
            QStringLiteral("Fehler bei der Zuweisung der Eigenschaft 'Nullwert erlaubt'!"),
            [&] { feld.setAllowZeroLength(z.nullwertErlaubt); }))
        return false;
    if (geaendert(&FeldZeile::erforderlich)
        && !engineschritt(
            QStringLiteral("Fehler bei der Zuweisung der Eigenschaft 'Wert erforderlich'!"),
            [&] { feld.setRequired(z.erforderlich); }))
        return false;
    if (geaendert(&FeldZeile::vorgabewert)
        && !engineschritt(QStringLiteral("Fehler bei der Zuweisung der Eigenschaft 'Vorgabewert'!"),
            [&] { feld.setDefaultValue(z.vorgabewert); }))
        return false;
    if (z.typ == dbLongBinary)
        return true;
    if (geaendert(&FeldZeile::pruefvorschrift)
        && !engineschritt(
            QStringLiteral("Fehler bei der Zuweisung der Eigenschaft 'Prüfvorschrift'!"),
            [&] { feld.setValidationRule(z.pruefvorschrift); }))
        return false;
    return !geaendert(&FeldZeile::fehlertext)
        || engineschritt(QStringLiteral("Fehler bei der Zuweisung der Eigenschaft 'Fehlertext'!"),
            [&] { feld.setValidationText(z.fehlertext); });
}

/// Type, size and attributes on a field that is not stored.
bool setzeTyp(Field& feld, const FeldZeile& z)
{
    return engineschritt(QStringLiteral("Fehler bei der Zuweisung des Feldtyps!"),
               [&] { feld.setType(z.typ); })
        && engineschritt(QStringLiteral("Fehler bei der Zuweisung der Feldgröße!"),
            [&] { feld.setSize(z.groesse); })
        && engineschritt(
            QStringLiteral("Fehler bei der Zuweisung der Eigenschaft 'Automatikwert' bzw. "
                           "'Feldgröße'!"),
            [&] { feld.setAttributes(z.attribute()); });
}

bool typGeaendert(const FeldZeile& alt, const FeldZeile& neu)
{
    return alt.typ != neu.typ || (neu.typ == dbText && alt.groesse != neu.groesse)
        || (alt.attribute() & Editorattribute) != (neu.attribute() & Editorattribute);
}

} // namespace

Zeilenergebnis Strukturbearbeitung::speichereZeile(int zeile)
{
    if (!zeileOffen(zeile))
        return Zeilenergebnis::Unveraendert;
    m_ersetzt = false;
    const Zeilenergebnis ergebnis
        = m_gespeichert.at(zeile) ? aendereFeld(zeile) : speichereNeuesFeld(zeile);
    if (ergebnis == Zeilenergebnis::Gespeichert && !m_ersetzt)
        strukturGeaendert();
    if (ergebnis == Zeilenergebnis::Gespeichert || ergebnis == Zeilenergebnis::Beibehalten)
        laden();
    return ergebnis;
}

Zeilenergebnis Strukturbearbeitung::speichereNeuesFeld(int zeile)
{
    const FeldZeile z = m_zeilen.at(zeile);
    std::unique_ptr<Field> feld = tabelle().createField(z.name, z.typ, z.groesse);
    if (!engineschritt(QStringLiteral("Fehler bei der Zuweisung der Feldposition!"),
            [&] { feld->setOrdinalPosition(z.position); })
        || !setzeTyp(*feld, z) || !setzeEigenschaften(*feld, z, std::nullopt))
        return Zeilenergebnis::Abgelehnt;
    if (m_neu)
        return tabelleSpeichern(std::move(feld)) ? Zeilenergebnis::Gespeichert
                                                 : Zeilenergebnis::Abgelehnt;
    return engineschritt(QStringLiteral("Fehler beim Hinzufügen des Feldes!"),
               [&] { tabelle().fields().append(std::move(feld)); })
        ? Zeilenergebnis::Gespeichert
        : Zeilenergebnis::Abgelehnt;
}

bool Strukturbearbeitung::tabelleSpeichern(std::unique_ptr<Field> feld)
{
    const std::optional<QString> name = freierTabellenname(m_name);
    if (!name)
        return false;
    m_neu->setName(*name);
    m_name = *name;
    try {
        m_neu->fields().append(std::move(feld));
        m_db.tableDefs().append(std::move(m_neu));
        return true;
    } catch (const EngineError& e) {
        // The collection dropped the definition it could not store; start afresh.
        m_neu = m_db.createTableDef(m_name);
        zeigeFehler(QStringLiteral("Fehler beim Erzeugen der neuen Tabelle!"), e.number(),
            e.description(), Fehlerkennung::Fehler);
        return false;
    }
}

Zeilenergebnis Strukturbearbeitung::aendereFeld(int zeile)
{
    const FeldZeile z = m_zeilen.at(zeile);
    FeldZeile& vorher = *m_gespeichert[zeile];
    if (z.name != vorher.name) {
        if (!engineschritt(QStringLiteral("Fehler bei der Zuweisung des Feldnamens!"),
                [&] { tabelle().fields().item(vorher.name).setName(z.name); }))
            return Zeilenergebnis::Abgelehnt;
        vorher.name = z.name;
    }
    if (z.position != vorher.position) {
        if (!engineschritt(QStringLiteral("Fehler bei der Zuweisung der Feldposition!"),
                [&] { tabelle().fields().item(z.name).setOrdinalPosition(z.position); }))
            return Zeilenergebnis::Abgelehnt;
        vorher.position = z.position;
    }
    Field& gespeichert = tabelle().fields().item(z.name);
    if (!typGeaendert(vorher, z)) {
        if (!setzeEigenschaften(gespeichert, z, vorher))
            return Zeilenergebnis::Abgelehnt;
        return Zeilenergebnis::Gespeichert;
    }
    // The engine cannot change type, size or attributes of a stored field: a copy takes the
    // new values and replaces it.
    std::unique_ptr<Field> ersatz = feldkopie(tabelle(), gespeichert);
    if (!setzeTyp(*ersatz, z) || !setzeEigenschaften(*ersatz, z, vorher))
        return Zeilenergebnis::Abgelehnt;
    ConversionLoss verlust;
    if (!engineschritt(QStringLiteral("Die Daten des Feldes konnten nicht geprüft werden!"), [&] {
            verlust = conversionLoss(m_db, m_name, z.name, ersatz->type(), ersatz->size());
        }))
        return Zeilenergebnis::Abgelehnt;
    if (zeigeMeldung(strukturaenderungsfrage(verlust), QStringLiteral("Strukturänderung"),
            Knoepfe::JaNein, Symbol::Frage, 2)
        != Antwort::Ja)
        return Zeilenergebnis::Beibehalten;
    if (!ersetzeFeld(m_db, m_name, z.name, *ersatz,
            m_fortschrittsquelle ? m_fortschrittsquelle() : ChangeProgress()))
        return Zeilenergebnis::Abgelehnt;
    m_ersetzt = true;
    return Zeilenergebnis::Gespeichert;
}

} // namespace kv
