#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

namespace kv {

namespace engine {
class Database;
}

/// The database a worker opens for itself: the file and the connect string of the window's own
/// database (a password included).
struct Abfragequelle {
    QString pfad;
    QString connect;
};

/// Work for a worker thread on its own read-only database; its answer goes back to the window.
using Hintergrundarbeit = std::function<QVariant(engine::Database&)>;

/// Runs work (one statement that gives one row, such as totals and a count, or the keys of a
/// sorted set) in a worker thread on a read-only database of its own, so that the window stays
/// usable however large the table is. The answer comes back on the window's thread by signal
/// with the number of the run; a run that was cancelled or replaced by a newer one never
/// answers, and its statement is stopped where it is.
class Hintergrundabfrage : public QObject {
    Q_OBJECT
public:
    explicit Hintergrundabfrage(QObject* parent = nullptr);
    /// Cancels a running statement and waits for its thread.
    ~Hintergrundabfrage() override;

    /// Starts sql (the dialect) on quelle; a run still going is cancelled. Returns the run's
    /// number. The answer is the first row of the result (an empty list without a row).
    quint64 starte(const Abfragequelle& quelle, const QString& sql);
    /// Starts arbeit on quelle; a run still going is cancelled.
    quint64 starte(const Abfragequelle& quelle, Hintergrundarbeit arbeit);
    /// Cancels the running statement; no answer follows.
    void abbrechen();
    bool laeuft() const;
    quint64 lauf() const { return m_lauf; }

Q_SIGNALS:
    void fertig(quint64 lauf, const QVariant& ergebnis);
    void fehlgeschlagen(quint64 lauf, qint64 nummer, const QString& beschreibung);

private:
    struct Auftrag;
    void beenden(bool warten);

    quint64 m_lauf = 0;
    std::shared_ptr<Auftrag> m_auftrag;
    QList<std::shared_ptr<Auftrag>> m_alte; // cancelled runs whose threads may still go
};

} // namespace kv
