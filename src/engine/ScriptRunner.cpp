#include "engine/ScriptRunner.h"

#include "engine/Database.h"
#include "engine/QueryDef.h"
#include "engine/Recordset.h"
#include "engine/core/EngineError.h"
#include "engine/sql/StatementType.h"

#include <QDateTime>

namespace kv::engine {

ScriptRunner::ScriptRunner(Database& db, Options options, QTextStream& out)
    : m_db(db)
    , m_options(std::move(options))
    , m_out(out)
{ }

QStringList ScriptRunner::split(const QString& script)
{
    QStringList statements;
    QString current;
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        current += (current.isEmpty() ? QString() : QStringLiteral("\n")) + line;
        const QString trimmed = current.trimmed();
        const bool onlyParameters
            = trimmed.startsWith(QLatin1String("PARAMETERS"), Qt::CaseInsensitive)
            && trimmed.count(QLatin1Char(';')) == 1;
        if (line.trimmed().endsWith(QLatin1Char(';')) && !onlyParameters) {
            if (trimmed != QLatin1String(";"))
                statements << trimmed;
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

QString ScriptRunner::storedText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("-1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QByteArray:
        return QString::fromLatin1(value.toByteArray().toHex());
    default:
        return value.toString();
    }
}

void ScriptRunner::run(const QString& statement)
{
    // The statement goes the way every other caller's goes: through a query definition, which
    // lends the dialect the database (a crosstab without IN list reads its columns there).
    QueryDef& q = m_db.createQueryDef(QString(), statement);
    for (const auto& [name, value] : std::as_const(m_options.parameters)) {
        try {
            q.setParameter(name, value);
        } catch (const EngineError& e) {
            if (e.number() != err::ItemNotFound)
                throw;
        }
    }
    if (!sql::returnsRows(statement)) {
        m_out << q.execute() << Qt::endl;
        return;
    }
    std::unique_ptr<Recordset> rs = q.openRecordset(4); // snapshot
    QStringList names;
    for (int i = 0; i < rs->fieldCount(); ++i)
        names << rs->field(i).name();
    QList<QStringList> rows;
    while (!rs->eof()) {
        QStringList row;
        for (int i = 0; i < rs->fieldCount(); ++i)
            row << storedText(rs->value(i));
        rows << row;
        rs->moveNext();
    }
    writeRows(names, rows);
}

namespace {

QString csvField(const QString& s)
{
    if (!s.contains(QLatin1Char(',')) && !s.contains(QLatin1Char('"'))
        && !s.contains(QLatin1Char('\n')) && !s.contains(QLatin1Char('\r')))
        return s;
    QString quoted = s;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

void ScriptRunner::writeRows(const QStringList& names, const QList<QStringList>& rows)
{
    if (!m_options.table) {
        QStringList header;
        for (const QString& n : names)
            header << csvField(n);
        m_out << header.join(QLatin1Char(',')) << '\n';
        for (const QStringList& row : rows) {
            QStringList fields;
            for (const QString& v : row)
                fields << csvField(v);
            m_out << fields.join(QLatin1Char(',')) << '\n';
        }
        m_out.flush();
        return;
    }
    QList<qsizetype> widths;
    for (const QString& n : names)
        widths << n.size();
    for (const QStringList& row : rows) {
        for (int i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    }
    auto line = [&](const QStringList& cells) {
        QStringList padded;
        for (int i = 0; i < cells.size(); ++i)
            padded << cells[i].leftJustified(widths[i]);
        m_out << padded.join(QLatin1String(" | ")).trimmed() << '\n';
    };
    line(names);
    QStringList rule;
    for (const qsizetype w : std::as_const(widths))
        rule << QString(w, QLatin1Char('-'));
    m_out << rule.join(QLatin1String("-+-")) << '\n';
    for (const QStringList& row : rows)
        line(row);
    m_out.flush();
}

} // namespace kv::engine
