#include "engine/sqlite/SqliteError.h"

namespace kv::engine {

namespace {
// Our triggers raise "KVnnnn|German text"; the number survives into the engine error.
bool ownMessage(const QString& message, int& number, QString& text)
{
    if (!message.startsWith(QLatin1String("KV")))
        return false;
    const qsizetype bar = message.indexOf(QLatin1Char('|'));
    if (bar < 3)
        return false;
    bool ok = false;
    const int n = message.mid(2, bar - 2).toInt(&ok);
    if (!ok)
        return false;
    number = n;
    text = message.mid(bar + 1);
    return true;
}
} // namespace

QString sqliteMessage(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

EngineError sqliteError(sqlite3* db, int rc, const QString& context)
{
    const QString message = db ? sqliteMessage(db) : QString::fromUtf8(sqlite3_errstr(rc));
    int number = err::Generic;
    QString text;
    if (ownMessage(message, number, text))
        return EngineError(number, text);
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        number = err::FileLocked;
        text
            = QStringLiteral("Die Datenbank ist von einem anderen Benutzer oder Prozess gesperrt.");
        break;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        number = err::NotADatabase;
        text = QStringLiteral("Die Datei ist keine Datenbank oder ist beschädigt.");
        break;
    case SQLITE_CANTOPEN:
        number = err::FileNotFound;
        text = QStringLiteral("Die Datei konnte nicht geöffnet werden.");
        break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        number = err::ReadOnly;
        text = QStringLiteral("Die Datenbank ist schreibgeschützt.");
        break;
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
            number = err::DuplicateKey;
            text = QStringLiteral("Die Änderungen wurden nicht durchgeführt, weil sie im Index, "
                                  "Primärschlüssel oder in der Beziehung doppelte Werte "
                                  "erzeugen würden.");
        } else if (rc == SQLITE_CONSTRAINT_NOTNULL) {
            number = err::Required;
            text = QStringLiteral("Das Feld darf keinen Nullwert enthalten.");
        }
        break;
    case SQLITE_ERROR:
        if (message.contains(QLatin1String("syntax error"))
            || message.contains(QLatin1String("incomplete input")))
            number = err::SyntaxError;
        else if (message.startsWith(QLatin1String("no such table")))
            number = err::NoSuchTable;
        break;
    default:
        break;
    }
    // SQLite's own words stay in the description so that the cause can be found.
    if (text.isEmpty())
        text = QStringLiteral("Fehler in der Datenbank-Engine (%1).").arg(message);
    else
        text += QStringLiteral(" (%1)").arg(message);
    if (!context.isEmpty())
        text = context + QLatin1String(": ") + text;
    return EngineError(number, text);
}

} // namespace kv::engine
