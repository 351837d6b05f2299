#include "testutils/Testdatenkopie.h"

#include "testutils/TempDir.h"

#include <QDir>
#include <QFile>

namespace kv::test {

bool kopiereTestdaten(const QString& quellordner, const QStringList& dateien, const QString& ziel)
{
    QDir().mkpath(ziel);
    const QDir quelle(testdataDir() + QLatin1Char('/') + quellordner);
    for (const QString& datei : dateien) {
        const QString kopie = QDir(ziel).filePath(datei);
        if (!QFile::copy(quelle.filePath(datei), kopie))
            return false;
        QFile(kopie).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    return true;
}

} // namespace kv::test
