#include "base/DefinitionsTitel.h"

#include "base/Windows1252.h"

namespace kv {

QString DefinitionsTitel(const QString& pfad, const QString& schluesselwort)
{
    const std::optional<QString> text = leseTextdatei(pfad);
    QStringView zeile;
    if (text) {
        zeile = *text;
        for (qsizetype i = 0; i < zeile.size(); ++i) {
            if (zeile.at(i) == u'\r' || zeile.at(i) == u'\n') {
                zeile = zeile.left(i);
                break;
            }
        }
    }
    if (zeile.isEmpty())
        return QStringLiteral("Fehler beim Lesen der Titelinformation");
    const qsizetype pos = zeile.indexOf(schluesselwort, 0, Qt::CaseInsensitive);
    if (pos < 0)
        return QStringLiteral("kein Titel vorhanden");
    return zeile.mid(pos + schluesselwort.size()).trimmed().toString();
}

} // namespace kv
