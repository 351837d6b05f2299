#pragma once

#include <QString>
#include <QStringList>

namespace kv::engine {

class Connection;

/// Checks a database file and, when it is damaged, copies everything readable (tables row by
/// row, indexes, triggers, views, catalog rows) into a fresh file that takes its place.
class Repair {
public:
    explicit Repair(QString path);

    /// Returns what could not be saved (empty: nothing lost or nothing to repair).
    QStringList run();

private:
    bool isIntact();
    void copyTable(Connection& from, Connection& to, const QString& table, const QString& sql);

    QString m_path;
    QStringList m_losses;
};

} // namespace kv::engine
