#include "tables/Indexlistenmodell.h"

#include "tables/Spaltenhilfe.h"
#include "tables/Strukturbearbeitung.h"

namespace kv {

Indexlistenmodell::Indexlistenmodell(Strukturbearbeitung& bearbeitung, QObject* parent)
    : QAbstractTableModel(parent)
    , m_bearbeitung(bearbeitung)
{ }

int Indexlistenmodell::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_bearbeitung.indizes().size());
}

int Indexlistenmodell::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Spaltenanzahl;
}

QVariant Indexlistenmodell::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const IndexZeile& z = m_bearbeitung.indizes().at(index.row());
    if (role == Qt::ToolTipRole)
        return index.column() == Name ? indexnamenhilfe(z.fremdschluessel)
                                      : indexeigenschaftenhilfe();
    if (index.column() == Name || index.column() == Felder) {
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        return index.column() == Name ? z.name : z.felder;
    }
    if (role != Qt::CheckStateRole)
        return {};
    const bool werte[]
        = { z.primaer, z.eindeutig, z.erforderlich, z.nullwerteIgnorieren, z.fremdschluessel };
    return werte[index.column() - Primaer] ? Qt::Checked : Qt::Unchecked;
}

bool Indexlistenmodell::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::EditRole
        || !(flags(index) & Qt::ItemIsEditable))
        return false;
    if (!m_bearbeitung.benenneIndexUm(index.row(), value.toString()))
        return false;
    // Renaming keeps the number of rows; the order may follow the new name.
    Q_EMIT dataChanged(this->index(0, 0), this->index(rowCount() - 1, Spaltenanzahl - 1));
    return true;
}

Qt::ItemFlags Indexlistenmodell::flags(const QModelIndex& index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Name && !m_bearbeitung.indizes().at(index.row()).fremdschluessel
        && m_bearbeitung.aenderbar())
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant Indexlistenmodell::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= Spaltenanzahl)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::ToolTipRole)
        return section == Name ? indexnamenhilfe(false) : indexeigenschaftenhilfe();
    if (role != Qt::DisplayRole)
        return {};
    static const char* const titel[] = { "Indexname", "Felder", "Primärschlüssel", "Eindeutig",
        "Erforderlich", "Nullwerte ignorieren", "Fremdschlüssel" };
    return QString::fromUtf8(titel[section]);
}

void Indexlistenmodell::neuLaden()
{
    beginResetModel();
    endResetModel();
}

} // namespace kv
