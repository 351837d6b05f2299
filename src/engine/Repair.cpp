#include "engine/Repair.h"

#include "engine/Catalog.h"
#include "engine/Sqlite.h"

#include <QFile>
#include <QFileInfo>

namespace kv::engine {

Repair::Repair(QString path)
    : m_path(std::move(path))
{ }

bool Repair::istIntakt()
{
    Connection c;
    c.open(m_path, SQLITE_OPEN_READONLY);
    try {
        Statement st(c.handle(), QStringLiteral("PRAGMA integrity_check"));
        QStringList meldungen;
        while (st.step())
            meldungen << st.value(0).toString();
        return meldungen == QStringList { QStringLiteral("ok") };
    } catch (const EngineError& e) {
        if (e.number() == err::NotADatabase)
            return false;
        throw;
    }
}

void Repair::kopiereTabelle(void* altRoh, void* neuRoh, const QString& tabelle, const QString& sql)
{
    auto* alt = static_cast<Connection*>(altRoh);
    auto* neu = static_cast<Connection*>(neuRoh);
    neu->exec(sql);
    QStringList spalten;
    {
        Statement info(neu->handle(), QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
        info.bind(1, QVariant(tabelle));
        while (info.step())
            spalten << Catalog::quote(info.value(0).toString());
    }
    QStringList platz;
    for (int i = 0; i <= spalten.size(); ++i)
        platz << QStringLiteral("?%1").arg(i + 1);
    Statement einfuegen(neu->handle(),
        QStringLiteral("INSERT OR IGNORE INTO ") + Catalog::quote(tabelle)
            + QStringLiteral(" (rowid, ") + spalten.join(QStringLiteral(", "))
            + QStringLiteral(") VALUES (") + platz.join(QStringLiteral(", ")) + QLatin1Char(')'));
    qint64 letzte = std::numeric_limits<qint64>::min();
    qint64 gerettet = 0;
    int versuche = 0;
    bool fehler = false;
    // After a damaged page, reading goes on behind it when the table's tree still leads there.
    while (versuche < 8) {
        try {
            Statement lesen(alt->handle(),
                QStringLiteral("SELECT rowid, * FROM ") + Catalog::quote(tabelle)
                    + QStringLiteral(" WHERE rowid > ?1 ORDER BY rowid"));
            lesen.bind(1, letzte);
            while (lesen.step()) {
                einfuegen.reset();
                for (int i = 0; i <= spalten.size(); ++i)
                    einfuegen.bind(i + 1, lesen.value(i));
                einfuegen.step();
                letzte = lesen.int64(0);
                ++gerettet;
            }
            break;
        } catch (const EngineError&) {
            fehler = true;
            ++versuche;
            letzte = letzte == std::numeric_limits<qint64>::min()
                ? 0
                : letzte + (qint64(1) << (versuche * 2));
        }
    }
    if (fehler)
        m_verluste << QStringLiteral(
            "Tabelle '%1': nicht alle Datensätze waren lesbar (%2 gerettet).")
                          .arg(tabelle)
                          .arg(gerettet);
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
    if (istIntakt())
        return {};
    const QString neuPfad = m_path + QStringLiteral(".kvneu");
    QFile::remove(neuPfad);
    {
        Connection alt;
        alt.open(m_path, SQLITE_OPEN_READONLY);
        Connection neu;
        neu.open(neuPfad, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        struct Objekt {
            QString typ, name, sql;
        };
        QList<Objekt> objekte;
        try {
            Statement st(alt.handle(),
                QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL "
                               "ORDER BY CASE type WHEN 'table' THEN 0 WHEN 'index' THEN 1 ELSE 2 "
                               "END"));
            while (st.step())
                objekte.append(Objekt {
                    st.value(0).toString(), st.value(1).toString(), st.value(2).toString() });
        } catch (const EngineError&) {
            neu.close();
            QFile::remove(neuPfad);
            throw EngineError(err::NotADatabase,
                QStringLiteral("Die Datei '%1' ist so beschädigt, dass sie nicht repariert werden "
                               "kann.")
                    .arg(m_path));
        }
        neu.exec(QStringLiteral("BEGIN"));
        for (const Objekt& o : objekte) {
            if (o.typ != QLatin1String("table") || o.name.startsWith(QLatin1String("sqlite_")))
                continue;
            try {
                kopiereTabelle(&alt, &neu, o.name, o.sql);
            } catch (const EngineError& e) {
                m_verluste << QStringLiteral("Tabelle '%1': %2").arg(o.name, e.description());
            }
        }
        try {
            Statement seq(alt.handle(), QStringLiteral("SELECT name, seq FROM sqlite_sequence"));
            while (seq.step()) {
                Statement ein(neu.handle(),
                    QStringLiteral("INSERT INTO sqlite_sequence(name, seq) VALUES (?1, ?2)"));
                ein.bind(1, seq.value(0));
                ein.bind(2, seq.value(1));
                ein.step();
            }
        } catch (const EngineError&) {
            // Counters then continue after the highest saved value.
        }
        for (const Objekt& o : objekte) {
            if (o.typ == QLatin1String("table"))
                continue;
            try {
                neu.exec(o.sql);
            } catch (const EngineError& e) {
                m_verluste << QStringLiteral("%1 '%2': %3")
                                  .arg(o.typ == QLatin1String("index") ? QStringLiteral("Index")
                                                                       : QStringLiteral("Objekt"),
                                      o.name, e.description());
            }
        }
        neu.exec(QStringLiteral("COMMIT"));
    }
    const QString beschaedigt = m_path + QStringLiteral(".beschaedigt");
    QFile::remove(beschaedigt);
    if (!QFile::rename(m_path, beschaedigt) || !QFile::rename(neuPfad, m_path))
        throw EngineError(err::Generic,
            QStringLiteral("Die reparierte Datei konnte nicht an die Stelle von '%1' treten.")
                .arg(m_path));
    return m_verluste;
}

} // namespace kv::engine
