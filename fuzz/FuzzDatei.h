#pragma once

// Shared by the format fuzzers: the input goes into files in a folder of its own per process,
// and every value of every table is read, as an import would.

#include "engine/isam/IsamError.h"
#include "engine/isam/IsamTable.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <unistd.h>

namespace kv::fuzz {

inline QString fuzzOrdner()
{
    static const QString dir = [] {
        const QString d = QStringLiteral("/dev/shm/kv_fuzz_%1").arg(getpid());
        QDir().mkpath(d);
        return d;
    }();
    return dir;
}

inline QString schreibe(const QString& name, const char* data, size_t size)
{
    const QString path = fuzzOrdner() + QLatin1Char('/') + name;
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(data, static_cast<qint64>(size));
    return path;
}

inline void liesAlles(engine::isam::IsamTable& t)
{
    for (bool deleted : { false, true }) {
        auto c = t.openCursor(deleted);
        while (c->next())
            for (int i = 0; i < t.fields().size(); ++i)
                (void)c->value(i);
    }
    (void)t.rowCount();
}

inline void liesAlles(engine::isam::IsamDatabase& db)
{
    for (const QString& name : db.tableNames()) {
        try {
            auto t = db.openTable(name);
            liesAlles(*t);
        } catch (const engine::isam::IsamError&) { }
    }
}

} // namespace kv::fuzz
