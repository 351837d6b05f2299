#include "widgets/Symboldatei.h"

#include "base/Text.h"

#include <QDir>
#include <QFileInfo>

namespace kv {

QString Symboldatei(const QString& verzeichnis, const QString& symbol, bool klein)
{
    const QString name = TrimNul(symbol).trimmed();
    if (name.isEmpty())
        return {};
    QString datei;
    if (name.endsWith(QLatin1String("16")) || name.endsWith(QLatin1String("32")))
        datei = name + QStringLiteral(".ico");
    else
        datei
            = name + (klein ? QStringLiteral("16") : QStringLiteral("32")) + QStringLiteral(".ICO");

    const QDir ordner(verzeichnis);
    if (QFileInfo(ordner.filePath(datei)).isFile())
        return ordner.filePath(datei);
    // Name filters ignore letter case unless QDir::CaseSensitive is given.
    const QStringList ohneFall = ordner.entryList({ datei }, QDir::Files);
    if (!ohneFall.isEmpty())
        return ordner.filePath(ohneFall.constFirst());
    return {};
}

} // namespace kv
