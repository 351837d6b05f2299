#include "widgets/Rasterproxy.h"

#include "base/Rastermodell.h"
#include "widgets/DataGrid.h"

namespace kv {

Rasterproxy::Rasterproxy(DataGrid* grid)
    : QIdentityProxyModel(grid)
    , m_grid(grid)
{ }

QVariant Rasterproxy::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Horizontal) {
        switch (role) {
        case Qt::DisplayRole:
            return m_grid->spaltentitel(section);
        case Qt::DecorationRole:
            return m_grid->kopfbild(section);
        case Qt::ToolTipRole:
            return m_grid->kopftipp(section);
        default:
            return QIdentityProxyModel::headerData(section, o, role);
        }
    }
    if (role != Qt::DisplayRole)
        return QIdentityProxyModel::headerData(section, o, role);
    const Rastermodell* m = m_grid->rastermodell();
    if (m && section == m->bearbeiteteZeile())
        return QStringLiteral("✎");
    if (m_grid->istNeuzeile(section))
        return QStringLiteral("*");
    if (section == m_aktuell)
        return QStringLiteral("▶");
    return QString();
}

Qt::ItemFlags Rasterproxy::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QIdentityProxyModel::flags(index);
    if (!m_grid->bearbeitbar(index.column()))
        f &= ~Qt::ItemIsEditable;
    return f;
}

QVariant Rasterproxy::data(const QModelIndex& index, int role) const
{
    if (role == Qt::TextAlignmentRole && index.column() < m_grid->m_spalten.size()
        && m_grid->m_spaltenGesetzt)
        return QVariant::fromValue(
            AlsQtAusrichtung(m_grid->m_spalten.at(index.column()).def.ausrichtung));
    return QIdentityProxyModel::data(index, role);
}

void Rasterproxy::zeilenkopfGeaendert(int zeile)
{
    if (zeile >= 0 && zeile < rowCount())
        Q_EMIT headerDataChanged(Qt::Vertical, zeile, zeile);
}

void Rasterproxy::setzeAktuelleZeile(int zeile)
{
    const int vorher = m_aktuell;
    m_aktuell = zeile;
    zeilenkopfGeaendert(vorher);
    zeilenkopfGeaendert(zeile);
}

void Rasterproxy::spaltenkoepfeGeaendert()
{
    if (columnCount() > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

} // namespace kv
