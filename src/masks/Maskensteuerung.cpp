#include "masks/Maskensteuerung.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"

#include <algorithm>

namespace kv {

namespace {

bool etwasGeaendert(const QList<Elementwert>& werte)
{
    return std::any_of(
        werte.cbegin(), werte.cend(), [](const Elementwert& e) { return e.geaendert; });
}

} // namespace

Maskensteuerung::Maskensteuerung(Maskenansicht& ansicht)
    : m_ansicht(ansicht)
{
    QObject::connect(&m_zaehler, &engine::RecordCounter::counted, &m_zaehler,
        [this](quint64 generation, qint64 anzahl) {
            if (generation != m_generation || anzahl < 0)
                return;
            m_gezaehlt = anzahl;
            m_ansicht.anzahlBekannt();
        });
}

Maskensteuerung::~Maskensteuerung() = default;

bool Maskensteuerung::oeffne(engine::Database& db, const QString& sql)
{
    m_db = &db;
    m_hinzufuegen = false;
    m_zaehler.cancel();
    ++m_generation;
    m_gezaehlt = -1;
    try {
        m_rs = db.openRecordset(sql, engine::dbOpenDynaset);
        if (!(m_rs->bof() && m_rs->eof()))
            m_rs->moveFirst();
        if (!m_rs->recordCountKnown())
            m_zaehler.start(db.name(), db.connect(), m_rs->source(), m_generation);
        return true;
    } catch (const engine::EngineError& e) {
        m_rs.reset();
        zeigeFehler(
            QStringLiteral("Bei der Einstellung der Datenquelle ist ein Fehler aufgetreten!"),
            e.number(), e.description());
        return false;
    }
}

bool Maskensteuerung::hatDatensatz() const
{
    return m_rs && m_rs->absolutePosition() >= 0;
}

qint64 Maskensteuerung::anzahl() const
{
    if (!m_rs)
        return 0;
    if (m_rs->recordCountKnown())
        return m_rs->recordCount();
    return std::max(m_gezaehlt, m_rs->knownRecordCount());
}

void Maskensteuerung::anzahlErmitteln()
{
    if (!m_rs || m_rs->recordCountKnown())
        return;
    m_zaehler.cancel();
    try {
        m_gezaehlt = m_rs->recordCount();
    } catch (const engine::EngineError&) {
        // The records known so far stay the number.
    }
}

qint64 Maskensteuerung::position() const
{
    return m_rs ? m_rs->absolutePosition() : -1;
}

bool Maskensteuerung::gesperrt() const
{
    return m_sperre || !m_rs || !m_rs->updatable();
}

Maskenlage Maskensteuerung::lage() const
{
    Maskenlage l;
    l.hinzufuegen = m_hinzufuegen;
    l.hatDatensaetze = anzahl() > 0;
    const qint64 pos = position();
    l.amAnfang = pos <= 0;
    // Until the number is known, the end is where the set finds no further record.
    const bool sicher = !m_rs || m_rs->recordCountKnown() || m_gezaehlt >= 0;
    l.amEnde = pos < 0 || (sicher && pos >= anzahl() - 1);
    l.aenderbar = !gesperrt();
    return l;
}

bool Maskensteuerung::aenderungOffen() const
{
    return m_hinzufuegen || (m_rs && m_rs->editMode() != engine::dbEditNone)
        || etwasGeaendert(m_ansicht.elementwerte());
}

bool Maskensteuerung::tabellenSpeichern()
{
    for (int n = 0; n < m_ansicht.tabellenelemente(); ++n) {
        if (!m_ansicht.tabellenzeileSpeichern(n))
            return false;
    }
    return true;
}

void Maskensteuerung::zeigeUndMelde(const Speicherergebnis& r)
{
    m_ansicht.alsGespeichertMarkieren(r.geschrieben);
    const QString hinweis
        = QStringList { hinweisNichtGeschrieben(r.nichtGeschrieben), hinweisGekuerzt(r.gekuerzt) }
              .join(QLatin1Char(' '))
              .trimmed();
    if (!hinweis.isEmpty())
        m_ansicht.hinweis(hinweis);
}

bool Maskensteuerung::satzSpeichern()
{
    const Speicherergebnis r = speichereDatensatz(*m_rs, m_ansicht.elementwerte());
    if (!r.ok) {
        zeigeMeldung(r.meldung);
        return false;
    }
    zeigeUndMelde(r);
    if (m_hinzufuegen && r.gespeichert)
        m_hinzufuegen = false;
    return true;
}

bool Maskensteuerung::verlassen()
{
    if (!m_rs)
        return true;
    if (!tabellenSpeichern() || !m_ansicht.eingabenPruefen())
        return false;
    // A new record nobody filled in is not worth a row.
    if (m_hinzufuegen && !m_kopie && !etwasGeaendert(m_ansicht.elementwerte())) {
        abbrechen();
        return true;
    }
    return satzSpeichern();
}

bool Maskensteuerung::geheZu(qint64 position)
{
    if (!verlassen())
        return false;
    if (position >= anzahl())
        anzahlErmitteln();
    const qint64 n = anzahl();
    if (n > 0) {
        try {
            m_rs->setAbsolutePosition(std::clamp<qint64>(position, 0, n - 1));
        } catch (const engine::EngineError&) {
            // The records changed under the window: it stays where it is.
        }
    }
    m_ansicht.anzeigen();
    return true;
}

bool Maskensteuerung::satzAnlegen()
{
    try {
        m_rs->addNew();
    } catch (const engine::EngineError& e) {
        zeigeFehler(QStringLiteral("Fehler beim Aktualisieren der Daten!"), e.number(),
            e.description(), Fehlerkennung::Fehler);
        return false;
    }
    return true;
}

bool Maskensteuerung::neu()
{
    if (gesperrt() || m_hinzufuegen || !verlassen())
        return false;
    if (!satzAnlegen())
        return false;
    m_hinzufuegen = true;
    m_kopie = false;
    m_ansicht.anzeigen();
    return true;
}

bool Maskensteuerung::neuKopie()
{
    if (gesperrt() || m_hinzufuegen || !hatDatensatz() || !verlassen())
        return false;
    QList<std::pair<int, QVariant>> werte;
    for (int i = 0; i < m_rs->fieldCount(); ++i) {
        const engine::Field& f = m_rs->field(i);
        if (!f.isAutoIncrement() && f.dataUpdatable())
            werte.append({ i, m_rs->value(i) });
    }
    if (!satzAnlegen())
        return false;
    for (const auto& [feld, wert] : werte) {
        try {
            m_rs->setValue(feld, wert);
        } catch (const engine::EngineError&) {
            // A field that takes no value stays at its default.
        }
    }
    m_hinzufuegen = true;
    m_kopie = true;
    m_ansicht.anzeigen();
    return true;
}

bool Maskensteuerung::speichern()
{
    if (!m_rs || !tabellenSpeichern() || !m_ansicht.eingabenPruefen() || !satzSpeichern())
        return false;
    m_hinzufuegen = false;
    m_ansicht.anzeigen();
    return true;
}

bool Maskensteuerung::abbrechen()
{
    bool verworfen = etwasGeaendert(m_ansicht.elementwerte());
    if (m_rs && m_rs->editMode() != engine::dbEditNone) {
        m_rs->cancelUpdate();
        verworfen = true;
    }
    if (m_hinzufuegen) {
        m_hinzufuegen = false;
        m_kopie = false;
        verworfen = true;
    }
    if (verworfen)
        m_ansicht.anzeigen();
    return verworfen;
}

bool Maskensteuerung::loeschen()
{
    if (gesperrt() || m_hinzufuegen || !hatDatensatz())
        return false;
    // The sub-table rows go first; when the record itself cannot go, they come back.
    engine::Workspace* ws = m_db ? m_db->workspace() : nullptr;
    const bool eigeneTransaktion = ws && !ws->inTransaction();
    try {
        if (eigeneTransaktion)
            ws->beginTrans();
        for (int n = 0; n < m_ansicht.tabellenelemente(); ++n) {
            if (engine::Recordset* zeilen = m_ansicht.tabellenzeilen(n))
                loescheAlleZeilen(*zeilen);
        }
        m_rs->remove();
        if (eigeneTransaktion)
            ws->commitTrans();
    } catch (const engine::EngineError& e) {
        if (eigeneTransaktion && ws->inTransaction()) {
            try {
                ws->rollback();
            } catch (const engine::EngineError&) {
                // The message below names the first failure.
            }
        }
        zeigeFehler(QStringLiteral("Fehler beim Löschen des Datensatzes!"), e.number(),
            e.description(), Fehlerkennung::Fehler);
        m_ansicht.anzeigen();
        return false;
    }
    try {
        if (anzahl() > 0) {
            m_rs->moveNext();
            if (m_rs->eof())
                m_rs->moveLast();
        }
    } catch (const engine::EngineError&) {
        // No record left to move to: the mask shows none.
    }
    // Without a record left the window offers a new one, so that what is typed has a place.
    if (anzahl() == 0 && satzAnlegen()) {
        m_hinzufuegen = true;
        m_kopie = false;
    }
    m_ansicht.anzeigen();
    return true;
}

bool Maskensteuerung::schliessen()
{
    if (!m_rs)
        return true;
    return verlassen();
}

} // namespace kv
