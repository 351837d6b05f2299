#include "engine/sqlite/SqliteError.h"

#include <QRegularExpression>

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

namespace {
// SQLite's messages of the form "<prefix><name>" that a user can cause, in German.
struct NamedMessage {
    const char* prefix;
    int number;
    const char* text; // %1: the name
};

constexpr NamedMessage namedMessages[] = {
    { "no such table: ", err::NoSuchTable, "Die Tabelle oder Abfrage '%1' ist nicht vorhanden." },
    { "no such column: ", err::Generic, "Das Feld '%1' ist nicht vorhanden." },
    { "no such function: ", err::Generic, "Unbekannte Funktion '%1' im Ausdruck." },
    { "no such index: ", err::Generic, "Der Index '%1' ist nicht vorhanden." },
    { "ambiguous column name: ", err::Generic,
        "Der Feldname '%1' kommt in mehreren Tabellen vor; geben Sie die Tabelle an." },
    { "duplicate column name: ", err::Generic, "Das Feld '%1' ist mehrfach vorhanden." },
    { "wrong number of arguments to function ", err::Generic,
        "Falsche Anzahl von Argumenten für die Funktion '%1'." },
    { "misuse of aggregate function ", err::Generic,
        "Die Aggregatfunktion '%1' ist an dieser Stelle nicht erlaubt." },
};

// The German description of a failure SQLite reported with rc and message.
QString germanText(int rc, const QString& message, int& number)
{
    for (const NamedMessage& m : namedMessages) {
        const QLatin1String prefix(m.prefix);
        if (!message.startsWith(prefix))
            continue;
        QString name = message.mid(prefix.size()).trimmed();
        if (name.endsWith(QLatin1String("()")))
            name.chop(2);
        number = m.number;
        return QString::fromUtf8(m.text).arg(name);
    }
    const QRegularExpression exists(QStringLiteral("^(table|index|view) (.+) already exists$"));
    if (const QRegularExpressionMatch match = exists.match(message); match.hasMatch()) {
        return QStringLiteral("Das Objekt '%1' ist bereits vorhanden.").arg(match.captured(2));
    }
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        number = err::FileLocked;
        return QStringLiteral(
            "Die Datenbank ist von einem anderen Benutzer oder Prozess gesperrt.");
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        number = err::NotADatabase;
        return QStringLiteral("Die Datei ist keine Datenbank oder ist beschädigt.");
    case SQLITE_CANTOPEN:
        number = err::FileNotFound;
        return QStringLiteral("Die Datei konnte nicht geöffnet werden.");
    case SQLITE_READONLY:
        if (rc == SQLITE_READONLY_DBMOVED) {
            // The open file was deleted or renamed: writing would go nowhere the user can find.
            number = err::ReadOnly;
            return QStringLiteral("Die Datenbankdatei wurde verschoben, umbenannt oder gelöscht; "
                                  "Änderungen können nicht mehr gespeichert werden.");
        }
        [[fallthrough]];
    case SQLITE_PERM:
    case SQLITE_AUTH:
        number = err::ReadOnly;
        return QStringLiteral("Die Datenbank ist schreibgeschützt.");
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
            number = err::DuplicateKey;
            return QStringLiteral("Die Änderungen wurden nicht durchgeführt, weil sie im Index, "
                                  "Primärschlüssel oder in der Beziehung doppelte Werte "
                                  "erzeugen würden.");
        }
        if (rc == SQLITE_CONSTRAINT_NOTNULL) {
            number = err::Required;
            return QStringLiteral("Das Feld darf keinen Nullwert enthalten.");
        }
        return QStringLiteral("Die Änderung verletzt eine Regel der Tabelle.");
    case SQLITE_FULL:
        return QStringLiteral("Der Datenträger ist voll; die Änderung wurde nicht gespeichert.");
    case SQLITE_IOERR:
        return QStringLiteral("Beim Lesen oder Schreiben der Datenbankdatei ist ein Fehler "
                              "aufgetreten.");
    case SQLITE_NOMEM:
        return QStringLiteral("Nicht genügend Arbeitsspeicher.");
    case SQLITE_INTERRUPT:
        return QStringLiteral("Der Vorgang wurde abgebrochen.");
    case SQLITE_TOOBIG:
        return QStringLiteral("Der Wert oder die Anweisung ist zu groß.");
    case SQLITE_MISMATCH:
        return QStringLiteral("Datentypen unverträglich.");
    case SQLITE_RANGE:
        return QStringLiteral("Ein Parameter liegt außerhalb des gültigen Bereichs.");
    case SQLITE_ERROR:
        // The dialect's own functions report in German; SQLite's words start in lower case
        // (but for "SQL logic error").
        if (!message.isEmpty() && message.front().isUpper()
            && !message.startsWith(QLatin1String("SQL ")))
            return message;
        if (message.contains(QLatin1String("syntax error"))
            || message.contains(QLatin1String("incomplete input"))) {
            number = err::SyntaxError;
            return QStringLiteral("Syntaxfehler in der Anweisung.");
        }
        break;
    default:
        break;
    }
    return QStringLiteral("Die Anweisung konnte nicht ausgeführt werden (Fehlercode %1).").arg(rc);
}
} // namespace

EngineError sqliteError(sqlite3* db, int rc, const QString& context)
{
    const QString message = db ? sqliteMessage(db) : QString::fromUtf8(sqlite3_errstr(rc));
    int number = err::Generic;
    QString text;
    if (ownMessage(message, number, text))
        return EngineError(number, text);
    // SQLite's own words go to the details, so that the cause can be found without showing
    // English to the user.
    text = germanText(rc, message, number);
    if (!context.isEmpty())
        text = context + QLatin1String(": ") + text;
    return EngineError(number, text, message);
}

} // namespace kv::engine
