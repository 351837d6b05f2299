#include "shell/AktuelleDatenbank.h"

#include "base/Pfade.h"
#include "engine/Database.h"
#include "engine/Workspace.h"
#include "shell/Programmverzeichnis.h"

#include <QFileInfo>
#include <array>

namespace kv {

namespace {

constexpr std::array<const char*, 14> Isam { "", "dBASE III;", "dBASE IV;", "dBASE 5;",
    "FoxPro 2.0;", "FoxPro 2.5;", "FoxPro 2.6;", "FoxPro 3.0;", "Paradox 3.x;", "Paradox 4.x;",
    "Paradox 5.x;", "Excel 3.0;", "Excel 4.0;", "Excel 5.0;" };

} // namespace

QString IsamTyp(int typ)
{
    if (typ < 1 || typ > static_cast<int>(Isam.size()))
        return QString();
    return QString::fromLatin1(Isam.at(static_cast<std::size_t>(typ - 1)));
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
