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
#include <cstring>
#include <optional>
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

/// The input of the table formats: four bytes giving the length of the table part, the table,
/// then its companion file (memo or blob); nullopt for inputs shorter than the length word.
struct Teile {
    QByteArray tabelle;
    QByteArray begleiter;
    uint8_t kennung = 0; ///< the first byte, for choices a target makes
};

inline std::optional<Teile> teile(const uint8_t* data, size_t size)
{
    if (size < 4)
        return std::nullopt;
    uint32_t laenge = 0;
    memcpy(&laenge, data, 4);
    Teile t;
    t.kennung = data[0];
    const size_t rest = size - 4;
    laenge = static_cast<uint32_t>(std::min<size_t>(laenge, rest));
    t.tabelle = QByteArray(reinterpret_cast<const char*>(data) + 4, static_cast<qsizetype>(laenge));
    t.begleiter = QByteArray(
        reinterpret_cast<const char*>(data) + 4 + laenge, static_cast<qsizetype>(rest - laenge));
    return t;
}

/// Runs f; a refusal with IsamError is an answer, anything else stops the fuzzer.
template <class F> void versuche(F&& f)
{
    try {
        f();
    } catch (const engine::isam::IsamError&) { }
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
