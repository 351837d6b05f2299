#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>

namespace kv::test {

/// Every file of a folder with its bytes: a folder compared before and after shows what changed.
inline QMap<QString, QByteArray> ordnerinhalt(const QString& ordner)
{
    QMap<QString, QByteArray> alle;
    QDirIterator it(ordner, QDir::Files);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            alle.insert(it.fileName(), f.readAll());
    }
    return alle;
}

} // namespace kv::test
