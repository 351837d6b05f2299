#include "tables/Pruefberichtmodell.h"

namespace kv {

using engine::isam::VerificationReport;

namespace {

const char* const Zaehlerkoepfe[] = { "Tabelle", "Gelesen", "Geschrieben", "Abgewiesen" };
const char* const Wertkoepfe[] = { "Tabelle", "Zeile", "Feld", "Art", "Quellwert", "Zielwert" };

} // namespace

Pruefberichtmodell::Pruefberichtmodell(
    const VerificationReport& bericht, Teil teil, QObject* parent)
    : QAbstractTableModel(parent)
    , m_bericht(bericht)
    , m_teil(teil)
{ }

int Pruefberichtmodell::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    if (m_teil == Teil::Zaehler)
        return int(m_bericht.tables().size());
    return int(m_bericht.entries().size() + m_bericht.refusals().size());
}

int Pruefberichtmodell::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_teil == Teil::Zaehler ? int(std::size(Zaehlerkoepfe)) : int(std::size(Wertkoepfe));
}

QString Pruefberichtmodell::text(int zeile, int spalte) const
{
    if (zeile < 0 || zeile >= rowCount() || spalte < 0 || spalte >= columnCount())
        return QString();
    if (m_teil == Teil::Zaehler) {
        const VerificationReport::TableCounts& t = m_bericht.tables().at(zeile);
        const qint64 zahlen[] = { t.read, t.written, t.refused };
        return spalte == 0 ? t.table : QString::number(zahlen[spalte - 1]);
    }
    if (zeile < m_bericht.entries().size()) {
        const VerificationReport::Entry& e = m_bericht.entries().at(zeile);
        switch (spalte) {
        case 0:
            return e.table;
        case 1:
            return QString::number(e.issue.row);
        case 2:
            return e.issue.fieldName;
        case 3:
            return engine::isam::issueKindText(e.issue.kind);
        case 4:
            return VerificationReport::valueText(e.issue.source);
        default:
            return VerificationReport::valueText(e.issue.target);
        }
    }
    const VerificationReport::Refusal& r
        = m_bericht.refusals().at(zeile - m_bericht.entries().size());
    switch (spalte) {
    case 0:
        return r.table;
    case 1:
        return QString::number(r.row);
    case 3:
        return QStringLiteral("Datensatz abgewiesen");
    case 4:
        return r.reason;
    default:
        return QString();
    }
}

QVariant Pruefberichtmodell::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return text(index.row(), index.column());
    // Numbers line up on the right as everywhere else in the program.
    const bool zahl = m_teil == Teil::Zaehler ? index.column() > 0 : index.column() == 1;
    if (role == Qt::TextAlignmentRole && zahl)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant Pruefberichtmodell::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf8(
        m_teil == Teil::Zaehler ? Zaehlerkoepfe[section] : Wertkoepfe[section]);
}

} // namespace kv
