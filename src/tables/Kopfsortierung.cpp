#include "tables/Kopfsortierung.h"

#include "engine/DataType.h"
#include "tables/SqlNamen.h"

namespace kv {

std::optional<QString> Kopfsortierung::klick(const QString& feld, int typ)
{
    if (typ == engine::dbMemo || feld.isEmpty())
        return std::nullopt;
    if (feld.compare(m_feld, Qt::CaseInsensitive) != 0) {
        m_feld = feld;
        if (m_richtung.isEmpty())
            m_richtung = QStringLiteral("ASC");
    } else {
        m_richtung = aufsteigend() ? QStringLiteral("DESC") : QStringLiteral("ASC");
    }
    return m_richtung;
}

QString Kopfsortierung::anwenden(const QString& sql) const
{
    return aktiv() ? SortierSQL(sql, m_feld, m_richtung) : sql;
}

void Kopfsortierung::setze(const QString& feld, const QString& richtung)
{
    m_feld = feld;
    m_richtung = richtung;
}

} // namespace kv
