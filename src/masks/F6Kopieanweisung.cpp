#include "masks/F6Kopieanweisung.h"

#include "engine/DataType.h"
#include "tables/SqlNamen.h"

namespace kv {

QString f6Kopieanweisung(const QString& feld, const QString& tabelle, int feldtyp)
{
    const QString f = Klammername(feld);
    const QString anweisung = QStringLiteral("SELECT ") + f + QStringLiteral(" FROM ")
        + Klammername(tabelle) + QStringLiteral(" WHERE Trim(") + f + QStringLiteral(") <> ''");
    if (feldtyp == engine::dbMemo || feldtyp == engine::dbLongBinary
        || feldtyp == engine::dbBoolean)
        return anweisung;
    return QStringLiteral("SELECT DISTINCT") + anweisung.mid(6) + QStringLiteral(" ORDER BY ") + f;
}

} // namespace kv
