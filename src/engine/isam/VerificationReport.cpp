#include "engine/isam/VerificationReport.h"

#include <QDateTime>
#include <cmath>

namespace kv::engine::isam {

QString issueKindText(IssueKind kind)
{
    switch (kind) {
    case IssueKind::TextCut:
        return QStringLiteral("Text gekürzt");
    case IssueKind::NumberOutOfRange:
        return QStringLiteral("Zahl außerhalb des Bereichs");
    case IssueKind::NumberRounded:
        return QStringLiteral("Zahl gerundet");
    case IssueKind::DateOutOfRange:
        return QStringLiteral("Datum außerhalb des Bereichs");
    case IssueKind::TimeDropped:
        return QStringLiteral("Uhrzeit entfällt");
    case IssueKind::CharactersMissing:
        return QStringLiteral("Zeichen fehlen in der Codeseite");
    case IssueKind::NotRepresentable:
        return QStringLiteral("Wert nicht darstellbar");
    }
    return {};
}

VerificationReport::TableCounts& VerificationReport::counts(const QString& table)
{
    for (TableCounts& t : m_tables)
        if (t.table == table)
            return t;
    m_tables.append({ table });
    return m_tables.last();
}

void VerificationReport::countRead(const QString& table, qint64 rows)
{
    counts(table).read += rows;
}

void VerificationReport::countWritten(const QString& table, qint64 rows)
{
    counts(table).written += rows;
}

void VerificationReport::refuse(const QString& table, qint64 row, const QString& reason)
{
    ++counts(table).refused;
    if (m_refusals.size() < MaxEntries)
        m_refusals.append({ table, row, reason });
}

void VerificationReport::addIssue(const QString& table, const ValueIssue& issue)
{
    counts(table);
    ++m_issueCount;
    if (m_entries.size() < MaxEntries)
        m_entries.append({ table, issue });
}

IssueSink VerificationReport::sink(const QString& table)
{
    return [this, table](const ValueIssue& issue) { addIssue(table, issue); };
}

bool VerificationReport::isClean() const
{
    if (m_issueCount > 0)
        return false;
    for (const TableCounts& t : m_tables)
        if (t.refused > 0)
            return false;
    return true;
}

QString VerificationReport::valueText(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QStringLiteral("(Null)");
    switch (v.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.toString(dt.time() == QTime(0, 0) ? QStringLiteral("dd.MM.yyyy")
                                                    : QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    }
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    case QMetaType::QByteArray:
        return QStringLiteral("(Binärdaten, %1 Bytes)").arg(v.toByteArray().size());
    default:
        return v.toString();
    }
}

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvLine(const QStringList& fields)
{
    QStringList out;
    for (const QString& f : fields)
        out.append(csvField(f));
    return out.join(QLatin1Char(';')) + QStringLiteral("\r\n");
}

} // namespace

QString VerificationReport::toCsv() const
{
    QString out = csvLine({ QStringLiteral("Tabelle"), QStringLiteral("Gelesen"),
        QStringLiteral("Geschrieben"), QStringLiteral("Abgewiesen") });
    for (const TableCounts& t : m_tables)
        out += csvLine({ t.table, QString::number(t.read), QString::number(t.written),
            QString::number(t.refused) });
    out += QStringLiteral("\r\n");
    out += csvLine({ QStringLiteral("Tabelle"), QStringLiteral("Zeile"), QStringLiteral("Feld"),
        QStringLiteral("Art"), QStringLiteral("Quellwert"), QStringLiteral("Zielwert") });
    for (const Entry& e : m_entries)
        out += csvLine({ e.table, QString::number(e.issue.row), e.issue.fieldName,
            issueKindText(e.issue.kind), valueText(e.issue.source), valueText(e.issue.target) });
    for (const Refusal& r : m_refusals)
        out += csvLine({ r.table, QString::number(r.row), QString(),
            QStringLiteral("Datensatz abgewiesen"), r.reason, QString() });
    return out;
}

QStringList VerificationReport::summary(int maxValues) const
{
    QStringList lines;
    for (const TableCounts& t : m_tables)
        lines.append(QStringLiteral("%1: %2 gelesen, %3 geschrieben, %4 abgewiesen")
                         .arg(t.table)
                         .arg(t.read)
                         .arg(t.written)
                         .arg(t.refused));
    if (m_issueCount == 0)
        return lines;
    lines.append(m_issueCount == 1
            ? QStringLiteral("1 Wert kam nicht unverändert an:")
            : QStringLiteral("%1 Werte kamen nicht unverändert an:").arg(m_issueCount));
    for (int i = 0; i < m_entries.size() && i < maxValues; ++i) {
        const Entry& e = m_entries[i];
        lines.append(QStringLiteral("%1, Zeile %2, Feld %3: %4 (%5 → %6)")
                         .arg(e.table)
                         .arg(e.issue.row)
                         .arg(e.issue.fieldName, issueKindText(e.issue.kind),
                             valueText(e.issue.source), valueText(e.issue.target)));
    }
    if (m_issueCount > maxValues)
        lines.append(QStringLiteral("…"));
    return lines;
}

std::optional<IssueKind> fitToField(const IsamField& field, const QVariant& value, QVariant* fitted)
{
    auto keep = [fitted](const QVariant& v) {
        if (fitted)
            *fitted = v;
    };
    keep(value);
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    auto range = [&](double low, double high) -> std::optional<IssueKind> {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (value.typeId() == QMetaType::Bool)
            return std::nullopt;
        if (!ok || !std::isfinite(d) || d < low || d > high) {
            keep(QVariant());
            return IssueKind::NumberOutOfRange;
        }
        if (field.type != dbCurrency && d != std::round(d)) {
            keep(static_cast<qlonglong>(std::llround(d)));
            return IssueKind::NumberRounded;
        }
        if (field.type == dbCurrency && std::round(d * 10000.0) / 10000.0 != d) {
            keep(std::round(d * 10000.0) / 10000.0);
            return IssueKind::NumberRounded;
        }
        return std::nullopt;
    };
    switch (field.type) {
    case dbText:
    case dbChar: {
        const QString text = value.toString();
        if (field.size > 0 && text.size() > field.size) {
            keep(text.left(field.size));
            return IssueKind::TextCut;
        }
        return std::nullopt;
    }
    case dbByte:
        return range(0, 255);
    case dbInteger:
        return range(-32768, 32767);
    case dbLong:
        return range(-2147483648.0, 2147483647.0);
    case dbCurrency:
        return range(-922337203685477.5808, 922337203685477.5807);
    case dbDate: {
        const QDateTime dt = value.toDateTime();
        if (!dt.isValid() || dt.date().year() < 100 || dt.date().year() > 9999) {
            keep(QVariant());
            return IssueKind::DateOutOfRange;
        }
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

} // namespace kv::engine::isam
