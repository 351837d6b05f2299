#include "tables/ui/Strukturmodell.h"

#include "widgets/Symboldatei.h"

namespace kv {

Strukturmodell::Strukturmodell(const QString& grafikverzeichnis, QObject* parent)
    : QAbstractTableModel(parent)
{
    for (Strukturgruppe g :
        { Strukturgruppe::Tabellen, Strukturgruppe::Abfragen, Strukturgruppe::Relationen }) {
        const QString datei = Symboldatei(grafikverzeichnis, strukturbild(g), true);
        if (!datei.isEmpty())
            m_bilder[static_cast<size_t>(g)] = QIcon(datei);
    }
}

void Strukturmodell::setzeZeilen(const QList<Strukturzeile>& zeilen)
{
    beginResetModel();
    m_zeilen = zeilen;
    endResetModel();
}

int Strukturmodell::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_zeilen.size());
}

int Strukturmodell::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Strukturspalten;
}

QVariant Strukturmodell::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Strukturzeile& z = m_zeilen.at(index.row());
    if (role == Qt::DisplayRole)
        return z.spalten.value(index.column());
    if (role == Qt::DecorationRole && index.column() == 0) {
        const QIcon& bild = m_bilder.at(static_cast<size_t>(z.gruppe));
        return bild.isNull() ? QVariant() : QVariant(bild);
    }
    if (role == Qt::TextAlignmentRole && index.column() == 2
        && z.gruppe != Strukturgruppe::Relationen)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant Strukturmodell::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= Strukturspalten)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const titel[] = { "Objektart", "Name", "Datensätze/Typ", "Erstellt am",
        "Geändert am", "Quelltabelle", "Verbindung" };
    return QString::fromUtf8(titel[section]);
}

} // namespace kv
