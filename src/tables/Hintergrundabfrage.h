#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>

namespace kv {

/// The database a worker opens for itself: the file and the connect string of the window's own
/// database (a password included).
struct Abfragequelle {
    QString pfad;
    QString connect;
};

/// Runs one statement that gives one row (totals, a count) in a worker thread on a read-only
/// database of its own, so that the window stays usable however large the table is. The answer
/// comes back on the window's thread by signal with the number of the run; a run that was
/// cancelled or replaced by a newer one never answers.
class Hintergrundabfrage : public QObject {
    Q_OBJECT
public:
    explicit Hintergrundabfrage(QObject* parent = nullptr);
    /// Cancels a running statement and waits for its thread.
    ~Hintergrundabfrage() override;

    /// Starts sql (the dialect) on quelle; a run still going is cancelled. Returns the run's
    /// number.
    quint64 starte(const Abfragequelle& quelle, const QString& sql);
    /// Cancels the running statement; no answer follows.
    void abbrechen();
    bool laeuft() const;
    quint64 lauf() const { return m_lauf; }

Q_SIGNALS:
    /// The first row of the result (empty without a row).
    void fertig(quint64 lauf, const QVariantList& werte);
    void fehlgeschlagen(quint64 lauf, qint64 nummer, const QString& beschreibung);

private:
    struct Auftrag;
    void beenden(bool warten);

    quint64 m_lauf = 0;
    std::shared_ptr<Auftrag> m_auftrag;
    QList<std::shared_ptr<Auftrag>> m_alte; // cancelled runs whose threads may still go
};

} // namespace kv
