#include "tables/Pruefberichtdatei.h"

#include <QDir>
#include <QSaveFile>

namespace kv {

QString speicherePruefbericht(const engine::isam::VerificationReport& bericht, const QString& pfad)
{
    QSaveFile datei(pfad);
    const QByteArray inhalt = QByteArrayLiteral("\xEF\xBB\xBF") + bericht.toCsv().toUtf8();
    if (datei.open(QIODevice::WriteOnly) && datei.write(inhalt) == inhalt.size() && datei.commit())
        return QString();
    return QStringLiteral(
        "Der Prüfbericht konnte nicht in die Datei '%1' gespeichert werden:\n\n%2")
        .arg(QDir::toNativeSeparators(pfad), datei.errorString());
}

} // namespace kv
