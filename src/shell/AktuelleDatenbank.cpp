#include "shell/AktuelleDatenbank.h"

#include "base/Pfade.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Workspace.h"
#include "shell/Programmverzeichnis.h"

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

void AktuelleDatenbank::oeffne(const QString& connect)
{
    if (DatenbankTyp != 1) {
        // The foreign table formats have no driver yet.
        QString format = IsamTyp(DatenbankTyp);
        format.chop(1);
        throw engine::EngineError(3170,
            QStringLiteral("Das Datenbankformat '%1' wird noch nicht unterstützt.").arg(format));
    }
    m_db = m_workspace->openDatabase(Datenbank, false, DatenbankNurLesen, connect);
    m_connect = connect;
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
