#include "tables/Datenaustausch.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/ForeignTableSource.h"
#include "engine/Recordset.h"
#include "engine/TransferRows.h"
#include "engine/Workspace.h"
#include "engine/isam/IsamError.h"
#include "tables/SqlNamen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <memory>
#include <optional>
#include <utility>

namespace kv {

namespace {

struct Format {
    const char* praefix;
    const char* filter;
};

constexpr std::array<Format, 14> Formate { { { "", "Access (*.MDB)|*.MDB" },
    { "dBASE III;", "dBase III (*.DBF)|*.DBF" }, { "dBASE IV;", "dBase IV (*.DBF)|*.DBF" },
    { "dBASE 5;", "dBase 5 (*.DBF)|*.DBF" }, { "FoxPro 2.0;", "FoxPro 2.0 (*.DBF)|*.DBF" },
    { "FoxPro 2.5;", "FoxPro 2.5 (*.DBF)|*.DBF" }, { "FoxPro 2.6;", "FoxPro 2.6 (*.DBF)|*.DBF" },
    { "FoxPro 3.0;", "FoxPro 3.0 (*.DBF)|*.DBF" }, { "Paradox 3.x;", "Paradox 3.X (*.DB)|*.DB" },
    { "Paradox 4.x;", "Paradox 4.X (*.DB)|*.DB" }, { "Paradox 5.x;", "Paradox 5.X (*.DB)|*.DB" },
    { "Excel 3.0;", "Excel 3.0 (*.XLS)|*.XLS" }, { "Excel 4.0;", "Excel 4.0 (*.XLS)|*.XLS" },
    { "Excel 5.0;", "Excel 5.0/95 (*.XLS)|*.XLS" } } };

QString inAnfuehrung(QString text)
{
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''"))
        + QLatin1Char('\'');
}

} // namespace

QString Austauschpraefix(int formatIndex)
{
    if (formatIndex < 0 || formatIndex >= int(Formate.size()))
        return QString();
    return QString::fromLatin1(Formate.at(std::size_t(formatIndex)).praefix);
}

QString Austauschfilter()
{
    QStringList teile;
    for (const Format& f : Formate)
        teile << QString::fromLatin1(f.filter);
    return teile.join(QLatin1Char('|'));
}

bool IstArbeitsmappe(int formatIndex)
{
    return formatIndex >= 11 && formatIndex <= 13;
}

Datenaustausch::Datenaustausch(engine::Database& offen, bool export_)
    : m_db(offen)
    , m_export(export_)
{ }

QString Datenaustausch::connectText() const
{
    const QString ort = IstArbeitsmappe(m_format) ? m_pfad : QFileInfo(m_pfad).absolutePath();
    return Austauschpraefix(m_format) + QStringLiteral("DATABASE=") + ort + QLatin1Char(';');
}

void Datenaustausch::oeffneAndereDatei(QString pfad, int formatIndex)
{
    QStringList tabellen;
    if (formatIndex == 0) {
        // A workspace of its own: the open database's transactions must not reach this file.
        engine::Workspace ws;
        std::unique_ptr<engine::Database> db = ws.openDatabase(pfad, false, true);
        for (const engine::TableDef* t : db->tableDefs().items())
            if (!t->isSystem() && !t->isAttached())
                tabellen << t->name();
        db->close();
    } else {
        const QString alt = std::exchange(m_pfad, pfad);
        const int altFormat = std::exchange(m_format, formatIndex);
        try {
            // A new workbook is written by the export itself.
            if (!(m_export && IstArbeitsmappe(formatIndex) && !QFileInfo::exists(pfad)))
                tabellen = engine::foreignTableNames(connectText());
        } catch (const engine::isam::IsamError& e) {
            m_pfad = alt;
            m_format = altFormat;
            throw engine::EngineError(e.number(), e.description());
        }
    }
    m_pfad = pfad;
    m_format = formatIndex;
    m_tabellen = tabellen;
}

QString Datenaustausch::externeReferenz() const
{
    if (m_format == 0)
        return QStringLiteral(" IN ") + inAnfuehrung(m_pfad);
    const QString ort = IstArbeitsmappe(m_format)
        ? m_pfad
        : QDir::toNativeSeparators(QFileInfo(m_pfad).absolutePath()) + QDir::separator();
    return QStringLiteral(" IN ") + inAnfuehrung(ort) + QLatin1Char(' ')
        + inAnfuehrung(Austauschpraefix(m_format));
}

bool Datenaustausch::zielVorhanden(const QString& ziel) const
{
    if (m_export)
        return m_tabellen.contains(ziel, Qt::CaseInsensitive);
    for (const engine::TableDef* t : m_db.tableDefs().items())
        if (t->name().compare(ziel, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString Datenaustausch::befehl(const QString& quelle, const QString& ziel) const
{
    const QString z = Klammername(ziel);
    const QString q = Klammername(quelle);
    const QString in = externeReferenz();
    if (!m_export)
        return zielVorhanden(ziel)
            ? QStringLiteral("INSERT INTO ") + z + QStringLiteral(" SELECT * FROM ") + q + in
            : QStringLiteral("SELECT * INTO ") + z + QStringLiteral(" FROM ") + q + in;
    return zielVorhanden(ziel)
        ? QStringLiteral("INSERT INTO ") + z + in + QStringLiteral(" SELECT * FROM ") + q
        : QStringLiteral("SELECT * INTO ") + z + in + QStringLiteral(" FROM ") + q;
}

QString Datenaustausch::loeschBefehl(const QString& ziel) const
{
    return QStringLiteral("DELETE * FROM ") + Klammername(ziel)
        + (m_export ? externeReferenz() : QString());
}

QString Datenaustausch::ersatzArbeitsmappe() const
{
    if (!m_export || !IstArbeitsmappe(m_format))
        return QString();
    const QString ziel = engine::excelTargetPath(m_pfad);
    return ziel == m_pfad ? QString() : ziel;
}

qint64 Datenaustausch::quellZeilen(const QString& quelle) const
{
    try {
        if (m_export)
            return m_db
                .openRecordset(QStringLiteral("SELECT count(*) FROM ") + Klammername(quelle))
                ->field(0)
                .value()
                .toLongLong();
        if (m_format != 0 && hatAndereDatei())
            return engine::openForeignTable(connectText(), quelle)->rowCount();
    } catch (const std::exception&) {
        // the statement itself reports what is wrong with the table
    }
    return -1;
}

qint64 Datenaustausch::ausfuehren(const QString& sql, bool zielLoeschen, const QString& ziel,
    const std::function<void(const QString&)>& status, const Austauschfortschritt& fortschritt,
    qint64 gesamt)
{
    auto melde = [&](const char* text) {
        if (status)
            status(QString::fromUtf8(text));
    };
    engine::Workspace* ws = m_db.workspace();
    if (!ws)
        throw Austauschfehler { QStringLiteral("Fehler beim Hinzufügen zur Ziel-Tabelle!"), 3000,
            QStringLiteral("Die Datenbank ist geschlossen.") };
    qint64 anzahl = 0;
    m_bericht = {};
    m_db.setVerificationReport(&m_bericht);
    const std::unique_ptr<engine::Database, void (*)(engine::Database*)> berichtEnde(
        &m_db, [](engine::Database* db) { db->setVerificationReport(nullptr); });
    // Ended before a rollback: that must run to its end whatever the user clicks meanwhile.
    std::optional<engine::TransferRows> zeilen;
    zeilen.emplace(m_db.connection(),
        fortschritt ? engine::TransferRows::Check(
            [&](qint64 erledigt) { return fortschritt(erledigt, gesamt); })
                    : engine::TransferRows::Check());
    const auto abbruch = [&] {
        return Austauschfehler { QStringLiteral("Der Vorgang wurde abgebrochen."), 0, {}, true };
    };
    try {
        ws->beginTrans();
    } catch (const engine::EngineError& e) {
        throw Austauschfehler { QStringLiteral("Fehler beim Beginnen der Transaktion!"), e.number(),
            e.description() };
    }
    try {
        if (zielLoeschen) {
            melde("Löschen in Zieltabelle. Bitte warten...");
            try {
                m_db.execute(loeschBefehl(ziel));
            } catch (const engine::EngineError& e) {
                if (zeilen->cancelled())
                    throw abbruch();
                throw Austauschfehler { QStringLiteral("Fehler beim Löschen in der Ziel-Tabelle!"),
                    e.number(), e.description() };
            }
        }
        melde("Hinzufügen zur Zieltabelle. Bitte warten...");
        try {
            m_db.execute(sql);
            anzahl = m_db.recordsAffected();
            ws->commitTrans();
            zeilen.reset();
        } catch (const engine::EngineError& e) {
            if (zeilen->cancelled())
                throw abbruch();
            throw Austauschfehler { QStringLiteral("Fehler beim Hinzufügen zur Ziel-Tabelle!"),
                e.number(), e.description() };
        }
    } catch (const Austauschfehler&) {
        zeilen.reset();
        try {
            ws->rollback();
        } catch (const engine::EngineError&) {
            // the transaction had already ended
        }
        throw;
    }
    m_db.tableDefs().refresh();
    if (m_export && hatAndereDatei()) {
        try {
            oeffneAndereDatei(m_pfad, m_format);
        } catch (const engine::EngineError&) {
            // the list stays as it was; the copy itself has succeeded
        }
    }
    return anzahl;
}

void Datenaustausch::speichereAbfrage(const QString& name, const QString& sql)
{
    try {
        if (m_db.queryDefs().contains(name))
            m_db.queryDefs().remove(name);
        m_db.createQueryDef(name, sql);
    } catch (const engine::EngineError& e) {
        throw Austauschfehler { QStringLiteral("Fehler beim Speichern der Abfrage!"), e.number(),
            e.description() };
    }
}

} // namespace kv
