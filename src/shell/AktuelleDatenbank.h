#pragma once

#include <QString>
#include <memory>

namespace kv::engine {
class Database;
class Workspace;
} // namespace kv::engine

namespace kv {

/// Connect prefix of a database type (1 to 14), index = type - 1; empty for the engine's own
/// file and for types outside the range.
QString IsamTyp(int typ);

/// The one open database and its description. All windows use it and never open a second one.
class AktuelleDatenbank {
public:
    AktuelleDatenbank();
    ~AktuelleDatenbank();
    AktuelleDatenbank(const AktuelleDatenbank&) = delete;
    AktuelleDatenbank& operator=(const AktuelleDatenbank&) = delete;

    /// Full path of the chosen file.
    QString Datenbank;
    /// 1 to 14 (see IsamTyp); 0 when none is chosen.
    int DatenbankTyp = 1;
    bool DatenbankNurLesen = false;

    /// The directory of Datenbank with a trailing separator; the program's directory when the
    /// path has none.
    QString Datenbankverzeichnis() const;

    /// The open database; nullptr when none is open.
    engine::Database* db() const { return m_db.get(); }
    bool offen() const { return m_db != nullptr; }
    engine::Workspace& workspace() { return *m_workspace; }
    /// The connect text of the last successful open (";pwd=…" or empty).
    const QString& connect() const { return m_connect; }

    /// What the engine opens: the folder of Datenbank for the types 2 to 11 (dBASE, FoxPro,
    /// Paradox), Datenbank itself for the others.
    QString Datenbankname() const;

    /// Opens Datenbank shared with the current type and read-only flag: type 1 with connect,
    /// the others with their connect prefix. Throws engine::EngineError.
    void oeffne(const QString& connect = QString());
    /// Closes the database; it counts as closed even when the engine reports a failure, which
    /// is rethrown.
    void schliesse();

private:
    std::unique_ptr<engine::Workspace> m_workspace;
    std::unique_ptr<engine::Database> m_db;
    QString m_connect;
};

/// The program's open database.
AktuelleDatenbank& aktuelleDatenbank();

} // namespace kv
