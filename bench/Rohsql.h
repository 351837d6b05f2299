#pragma once

// Plain SQLite work for the benchmarks: set-ups and the references they are measured against.

#include "engine/sql/Dialect.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <sqlite3.h>

namespace kv::bench {

/// Runs sql on db; an error goes to stderr with the start of the statement.
inline bool rohAusfuehren(sqlite3* db, const QByteArray& sql)
{
    char* fehler = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &fehler) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "%s: %s\n", sql.left(80).constData(), fehler);
    sqlite3_free(fehler);
    return false;
}

/// Runs sql on the file through a connection of its own that knows the dialect's functions.
inline bool rohAusfuehren(const QString& datei, const QByteArray& sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(datei.toUtf8().constData(), &db) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(datei), sqlite3_errmsg(db));
        sqlite3_close(db);
        return false;
    }
    kv::engine::sql::registerFunctions(db);
    const bool ok = rohAusfuehren(db, sql);
    sqlite3_close(db);
    return ok;
}

} // namespace kv::bench
