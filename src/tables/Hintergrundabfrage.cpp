#include "tables/Hintergrundabfrage.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Workspace.h"

#include <atomic>
#include <thread>

namespace kv {

struct Hintergrundabfrage::Auftrag {
    std::thread faden;
    std::atomic<bool> abgebrochen { false };
    std::atomic<bool> beendet { false };
    // Set on the owner's thread when the answer was delivered: until then the run counts as
    // running, also after its thread ended.
    bool beantwortet = false;
};

namespace {

/// The worker: everything it opens belongs to its own thread and goes with it.
void ausfuehren(const Abfragequelle& quelle, const Hintergrundarbeit& arbeit,
    const std::shared_ptr<std::atomic<bool>>& abgebrochen, QVariant& ergebnis, qint64& nummer,
    QString& beschreibung)
{
    try {
        engine::Workspace ws;
        std::unique_ptr<engine::Database> db
            = ws.openDatabase(quelle.pfad, false, true, quelle.connect);
        // Cancelling stops the statement where it is, not at its end.
        db->setCancelFlag(abgebrochen.get());
        if (*abgebrochen)
            return;
        ergebnis = arbeit(*db);
    } catch (const engine::EngineError& e) {
        nummer = e.number();
        beschreibung = e.description();
    }
}

} // namespace

Hintergrundabfrage::Hintergrundabfrage(QObject* parent)
    : QObject(parent)
{ }

Hintergrundabfrage::~Hintergrundabfrage()
{
    beenden(true);
}

void Hintergrundabfrage::beenden(bool warten)
{
    if (m_auftrag) {
        m_auftrag->abgebrochen = true;
        m_alte.append(std::move(m_auftrag));
        m_auftrag.reset();
    }
    for (qsizetype i = m_alte.size() - 1; i >= 0; --i) {
        const std::shared_ptr<Auftrag>& a = m_alte.at(i);
        if (!warten && !a->beendet)
            continue;
        if (a->faden.joinable())
            a->faden.join();
        m_alte.removeAt(i);
    }
}

quint64 Hintergrundabfrage::starte(const Abfragequelle& quelle, const QString& sql)
{
    return starte(quelle, [sql](engine::Database& db) { return QVariant(db.firstRow(sql)); });
}

quint64 Hintergrundabfrage::starte(const Abfragequelle& quelle, Hintergrundarbeit arbeit)
{
    beenden(false);
    const quint64 lauf = ++m_lauf;
    auto auftrag = std::make_shared<Auftrag>();
    // The flag outlives the run's bookkeeping: the worker reads it to the end.
    auto abgebrochen = std::shared_ptr<std::atomic<bool>>(auftrag, &auftrag->abgebrochen);
    auftrag->faden = std::thread(
        [this, quelle, arbeit = std::move(arbeit), lauf, abgebrochen, a = auftrag.get()] {
            QVariant ergebnis;
            qint64 nummer = 0;
            QString beschreibung;
            ausfuehren(quelle, arbeit, abgebrochen, ergebnis, nummer, beschreibung);
            // The object waits for this thread before it goes, so it is there to receive.
            if (!*abgebrochen) {
                QMetaObject::invokeMethod(
                    this,
                    [this, lauf, ergebnis = std::move(ergebnis), nummer, beschreibung] {
                        if (lauf != m_lauf || !m_auftrag)
                            return;
                        m_auftrag->beantwortet = true;
                        if (nummer != 0)
                            Q_EMIT fehlgeschlagen(lauf, nummer, beschreibung);
                        else
                            Q_EMIT fertig(lauf, ergebnis);
                    },
                    Qt::QueuedConnection);
            }
            a->beendet = true;
        });
    m_auftrag = std::move(auftrag);
    return lauf;
}

void Hintergrundabfrage::abbrechen()
{
    beenden(false);
}

bool Hintergrundabfrage::laeuft() const
{
    return m_auftrag && !m_auftrag->beantwortet;
}

} // namespace kv
