#include "shell/AktuelleDatenbank.h"

#include "base/Pfade.h"
#include "base/Programmverzeichnis.h"
#include "engine/Database.h"
#include "engine/Workspace.h"
#include "tables/Datenaustausch.h"

#include <QFileInfo>

namespace kv {

QString IsamTyp(int typ)
{
    // The exchange formats count from 0 for the engine's own format.
    return typ < 1 ? QString() : Austauschpraefix(typ - 1);
}

AktuelleDatenbank::AktuelleDatenbank()
    : m_workspace(std::make_unique<engine::Workspace>())
{ }

AktuelleDatenbank::~AktuelleDatenbank() = default;

QString AktuelleDatenbank::Datenbankverzeichnis() const
{
    return Verzeichnis(Datenbank, Programmverzeichnis());
}

QString AktuelleDatenbank::Datenbankname() const
{
    // A folder type opens the whole folder of the chosen table file.
    if (DatenbankTyp >= 2 && DatenbankTyp <= 11)
        return QFileInfo(Datenbank).absolutePath();
    return Datenbank;
}

void AktuelleDatenbank::oeffne(const QString& connect)
{
    const QString verbindung = DatenbankTyp == 1 ? connect : IsamTyp(DatenbankTyp);
    m_db = m_workspace->openDatabase(Datenbankname(), false, DatenbankNurLesen, verbindung);
    m_connect = DatenbankTyp == 1 ? connect : QString();
}

void AktuelleDatenbank::schliesse()
{
    std::unique_ptr<engine::Database> db = std::move(m_db);
    m_connect.clear();
    if (db)
        db->close();
}

AktuelleDatenbank& aktuelleDatenbank()
{
    static AktuelleDatenbank datenbank;
    return datenbank;
}

} // namespace kv
