#include "tables/Feldlistenmodell.h"

#include "tables/Feldtypen.h"
#include "tables/Spaltenhilfe.h"
#include "tables/Strukturbearbeitung.h"

namespace kv {

namespace {

Feldspalte spalteVon(const QModelIndex& index)
{
    return static_cast<Feldspalte>(index.column());
}

bool* jaNein(FeldZeile& z, Feldspalte spalte)
{
    switch (spalte) {
    case Feldspalte::Feldgroesse:
        return &z.fix;
    case Feldspalte::Automatikwert:
        return &z.automatikwert;
    case Feldspalte::WertErforderlich:
        return &z.erforderlich;
    case Feldspalte::NullwertErlaubt:
        return &z.nullwertErlaubt;
    default:
        return nullptr;
    }
}

QString* text(FeldZeile& z, Feldspalte spalte)
{
    switch (spalte) {
    case Feldspalte::Feldname:
        return &z.name;
    case Feldspalte::Vorgabewert:
        return &z.vorgabewert;
    case Feldspalte::Pruefvorschrift:
        return &z.pruefvorschrift;
    case Feldspalte::Fehlertext:
        return &z.fehlertext;
    default:
        return nullptr;
    }
}

} // namespace

Feldlistenmodell::Feldlistenmodell(Strukturbearbeitung& bearbeitung, QObject* parent)
    : QAbstractTableModel(parent)
    , m_bearbeitung(bearbeitung)
{ }

bool Feldlistenmodell::istJaNeinSpalte(Feldspalte spalte)
{
    FeldZeile z;
    return jaNein(z, spalte) != nullptr;
}

int Feldlistenmodell::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_bearbeitung.zeilen().size());
}

int Feldlistenmodell::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FeldspaltenAnzahl;
}

QVariant Feldlistenmodell::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    FeldZeile z = m_bearbeitung.zeilen().at(index.row());
    const Feldspalte spalte = spalteVon(index);
    if (role == Qt::ToolTipRole)
        return feldspaltenhilfe(spalte);
    if (const bool* wert = jaNein(z, spalte)) {
        if (role == Qt::CheckStateRole)
            return *wert ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    if (const QString* t = text(z, spalte))
        return *t;
    switch (spalte) {
    case Feldspalte::Typ:
        return role == Qt::EditRole ? QVariant(int(z.typ)) : QVariant(Feldtypname(z.typ));
    case Feldspalte::Groesse:
        return z.groesse;
    case Feldspalte::Position:
        return z.position;
    default:
        return {};
    }
}

bool Feldlistenmodell::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || !(flags(index) & Qt::ItemIsEnabled))
        return false;
    FeldZeile z = m_bearbeitung.zeilen().at(index.row());
    const Feldspalte spalte = spalteVon(index);
    if (bool* wert = jaNein(z, spalte)) {
        if (role != Qt::CheckStateRole)
            return false;
        *wert = value.toInt() == Qt::Checked;
    } else if (role != Qt::EditRole) {
        return false;
    } else if (QString* t = text(z, spalte)) {
        *t = value.toString();
    } else if (spalte == Feldspalte::Typ) {
        typWechseln(z, static_cast<qint16>(value.toInt()));
    } else if (spalte == Feldspalte::Groesse) {
        z.groesse = value.toInt();
    } else if (spalte == Feldspalte::Position) {
        z.position = value.toInt();
    } else {
        return false;
    }
    if (z == m_bearbeitung.zeilen().at(index.row()))
        return true;
    m_bearbeitung.setzeZeile(index.row(), z);
    // A type change moves size, flags and locks of the whole row.
    Q_EMIT dataChanged(
        this->index(index.row(), 0), this->index(index.row(), FeldspaltenAnzahl - 1));
    return true;
}

Qt::ItemFlags Feldlistenmodell::flags(const QModelIndex& index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    const FeldZeile& z = m_bearbeitung.zeilen().at(index.row());
    const Feldspalte spalte = spalteVon(index);
    if (spalteGesperrt(z, spalte))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!m_bearbeitung.aenderbar())
        return f;
    return f | (istJaNeinSpalte(spalte) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

QVariant Feldlistenmodell::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= FeldspaltenAnzahl)
        return QAbstractTableModel::headerData(section, orientation, role);
    const auto spalte = static_cast<Feldspalte>(section);
    if (role == Qt::DisplayRole)
        return feldspaltentitel(spalte, true);
    if (role == Qt::ToolTipRole)
        return feldspaltenhilfe(spalte);
    return {};
}

void Feldlistenmodell::neuLaden()
{
    beginResetModel();
    endResetModel();
}

} // namespace kv
