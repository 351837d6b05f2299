#pragma once

// Private to the engine: rebuilding a damaged database file.

#include <QString>
#include <QStringList>

namespace kv::engine {

/// Checks a database file and, when it is damaged, copies everything readable (tables row by
/// row, indexes, triggers, views, catalog rows) into a fresh file that takes its place.
class Repair {
public:
    explicit Repair(QString path);

    /// Returns what could not be saved (empty: nothing lost or nothing to repair).
    QStringList run();

private:
    bool istIntakt();
    void kopiereTabelle(void* alt, void* neu, const QString& tabelle, const QString& sql);

    QString m_path;
    QStringList m_verluste;
};

} // namespace kv::engine
