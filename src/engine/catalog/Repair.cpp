#include "engine/catalog/Repair.h"

#include "engine/core/EngineError.h"
#include "engine/sql/Dialect.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqlText.h"

#include <QFile>
#include <QFileInfo>
#include <limits>

namespace kv::engine {

Repair::Repair(QString path)
    : m_path(std::move(path))
{ }

bool Repair::isIntact()
{
    Connection c;
    sql::openConnection(c, m_path, OpenMode::ReadOnly);
    try {
        Statement st(c.handle(), QStringLiteral("PRAGMA integrity_check"));
        QStringList messages;
        while (st.step())
            messages << st.value(0).toString();
        return messages == QStringList { QStringLiteral("ok") };
    } catch (const EngineError& e) {
        if (e.number() == err::NotADatabase)
            return false;
        throw;
    }
}

void Repair::copyTable(Connection& from, Connection& to, const QString& table, const QString& sql)
{
    to.exec(sql);
    QStringList columns;
    {
        Statement info(to.handle(), QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
        info.bind(1, QVariant(table));
        while (info.step())
            columns << quoteIdentifier(info.value(0).toString());
    }
    QStringList placeholders;
    for (int i = 0; i <= columns.size(); ++i)
        placeholders << QStringLiteral("?%1").arg(i + 1);
    Statement insert(to.handle(),
        QStringLiteral("INSERT OR IGNORE INTO ") + quoteIdentifier(table)
            + QStringLiteral(" (rowid, ") + columns.join(QStringLiteral(", "))
            + QStringLiteral(") VALUES (") + placeholders.join(QStringLiteral(", "))
            + QLatin1Char(')'));
    qint64 last = std::numeric_limits<qint64>::min();
    qint64 saved = 0;
    int attempts = 0;
    bool failed = false;
    // After a damaged page, reading goes on behind it when the table's tree still leads there.
    while (attempts < 8) {
        try {
            Statement read(from.handle(),
                QStringLiteral("SELECT rowid, * FROM ") + quoteIdentifier(table)
                    + QStringLiteral(" WHERE rowid > ?1 ORDER BY rowid"));
            read.bind(1, last);
            while (read.step()) {
                insert.reset();
                for (int i = 0; i <= columns.size(); ++i)
                    insert.bind(i + 1, read.value(i));
                insert.step();
                last = read.int64(0);
                ++saved;
            }
            break;
        } catch (const EngineError&) {
            failed = true;
            ++attempts;
            last = last == std::numeric_limits<qint64>::min()
                ? 0
                : last + (qint64(1) << (attempts * 2));
        }
    }
    if (failed)
        m_losses << QStringLiteral(
            "Tabelle '%1': nicht alle Datensätze waren lesbar (%2 gerettet).")
                        .arg(table)
                        .arg(saved);
}

QStringList Repair::run()
{
    const QFileInfo info(m_path);
    if (!info.exists())
        throw EngineError(
            err::FileNotFound, QStringLiteral("Die Datei '%1' wurde nicht gefunden.").arg(m_path));
    if (info.isDir())
        throw EngineError(err::InvalidPath,
            QStringLiteral("'%1' ist ein Verzeichnis und keine Datenbankdatei.").arg(m_path));
    if (isIntact())
        return {};
    const QString newPath = m_path + QStringLiteral(".kvneu");
    QFile::remove(newPath);
    {
        Connection from;
        sql::openConnection(from, m_path, OpenMode::ReadOnly);
        Connection to;
        sql::openConnection(to, newPath, OpenMode::Create);
        struct Object {
            QString type, name, sql;
        };
        QList<Object> objects;
        try {
            Statement st(from.handle(),
                QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL "
                               "ORDER BY CASE type WHEN 'table' THEN 0 WHEN 'index' THEN 1 ELSE 2 "
                               "END"));
            while (st.step())
                objects.append(Object {
                    st.value(0).toString(), st.value(1).toString(), st.value(2).toString() });
        } catch (const EngineError&) {
            to.close();
            QFile::remove(newPath);
            throw EngineError(err::NotADatabase,
                QStringLiteral("Die Datei '%1' ist so beschädigt, dass sie nicht repariert werden "
                               "kann.")
                    .arg(m_path));
        }
        to.exec(QStringLiteral("BEGIN"));
        for (const Object& o : objects) {
            if (o.type != QLatin1String("table") || o.name.startsWith(QLatin1String("sqlite_")))
                continue;
            try {
                copyTable(from, to, o.name, o.sql);
            } catch (const EngineError& e) {
                m_losses << QStringLiteral("Tabelle '%1': %2").arg(o.name, e.description());
            }
        }
        try {
            Statement seq(from.handle(), QStringLiteral("SELECT name, seq FROM sqlite_sequence"));
            while (seq.step()) {
                Statement insert(to.handle(),
                    QStringLiteral("INSERT INTO sqlite_sequence(name, seq) VALUES (?1, ?2)"));
                insert.bind(1, seq.value(0));
                insert.bind(2, seq.value(1));
                insert.step();
            }
        } catch (const EngineError&) {
            // Counters then continue after the highest saved value.
        }
        for (const Object& o : objects) {
            if (o.type == QLatin1String("table"))
                continue;
            try {
                to.exec(o.sql);
            } catch (const EngineError& e) {
                m_losses << QStringLiteral("%1 '%2': %3")
                                .arg(o.type == QLatin1String("index") ? QStringLiteral("Index")
                                                                      : QStringLiteral("Object"),
                                    o.name, e.description());
            }
        }
        to.exec(QStringLiteral("COMMIT"));
    }
    const QString damaged = m_path + QStringLiteral(".beschaedigt");
    QFile::remove(damaged);
    if (!QFile::rename(m_path, damaged) || !QFile::rename(newPath, m_path))
        throw EngineError(err::Generic,
            QStringLiteral("Die reparierte Datei konnte nicht an die Stelle von '%1' treten.")
                .arg(m_path));
    return m_losses;
}

} // namespace kv::engine
