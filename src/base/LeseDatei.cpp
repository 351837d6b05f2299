#include "base/LeseDatei.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "base/Windows1252.h"

namespace kv {

QString LeseDatei(const QString& pfad)
{
    const std::optional<QString> text = leseTextdatei(pfad);
    if (text && !text->isEmpty() && !text->contains(QChar(0)))
        return *text;
    zeigeMeldung(QStringLiteral("Fehler beim Lesen der Definitionsdatei!") + Zeilenumbruch
        + QStringLiteral("Datei: ") + pfad);
    return {};
}

} // namespace kv
