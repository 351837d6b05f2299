#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <thread>

namespace kv::engine {

/// Counts the records of a statement in a worker thread that opens the file read-only on a
/// connection of its own, so that the window's thread shows the first rows of a large table at
/// once. The answer comes as a signal on the counter's thread, marked with the generation it
/// was started for; a cancelled count answers nothing.
class RecordCounter : public QObject {
    Q_OBJECT
public:
    explicit RecordCounter(QObject* parent = nullptr);
    /// Cancels a running count and waits for its worker.
    ~RecordCounter() override;

    /// Counts the records of source (a statement) in the database file path (connect: its
    /// password piece); cancels a count still running.
    void start(
        const QString& path, const QString& connect, const QString& source, quint64 generation);
    /// Stops the running count; its answer never arrives.
    void cancel();
    /// Waits for the running count and returns its answer instead of the signal; -1 without
    /// a count running or when the worker could not count.
    qint64 wait();
    bool running() const { return m_job != nullptr; }

Q_SIGNALS:
    /// records: the number counted; -1 when the worker could not count (the caller reads on
    /// by itself then).
    void counted(quint64 generation, qint64 records);

private:
    struct Job;
    void finish(quint64 generation, qint64 records);

    std::shared_ptr<Job> m_job;
    std::thread m_thread;
};

} // namespace kv::engine
