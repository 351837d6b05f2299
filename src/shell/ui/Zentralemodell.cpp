#include "shell/ui/Zentralemodell.h"

#include "base/Programmverzeichnis.h"
#include "widgets/Symboldatei.h"

#include <QApplication>
#include <QStyle>

namespace kv {

namespace {

constexpr int Spalten = 2;

} // namespace

Zentralemodell::Zentralemodell(QObject* parent)
    : QAbstractTableModel(parent)
{
    for (const Zeilenart art : { Zeilenart::StandardMaske, Zeilenart::StandardTabelle,
             Zeilenart::BenutzerMaske, Zeilenart::BenutzerTabelle, Zeilenart::Abfrage })
        m_bilder[static_cast<size_t>(art)] = bild(art);
}

QIcon Zentralemodell::bild(Zeilenart art)
{
    // The pictures the receiving windows use as their window icons.
    QString name;
    QStyle::StandardPixmap ersatz = QStyle::SP_FileIcon;
    switch (art) {
    case Zeilenart::StandardMaske:
        name = QStringLiteral("MaskeStandard32");
        break;
    case Zeilenart::BenutzerMaske:
        name = QStringLiteral("MaskeBenutzer32");
        break;
    case Zeilenart::StandardTabelle:
        name = QStringLiteral("TabelleStandard32");
        ersatz = QStyle::SP_FileDialogListView;
        break;
    case Zeilenart::BenutzerTabelle:
        name = QStringLiteral("TabelleBenutzer32");
        ersatz = QStyle::SP_FileDialogDetailedView;
        break;
    case Zeilenart::Abfrage:
        name = QStringLiteral("Abfragen32");
        ersatz = QStyle::SP_FileDialogContentsView;
        break;
    }
    const QString datei = Symboldatei(Grafikverzeichnis(), name, false);
    if (!datei.isEmpty()) {
        QIcon icon(datei);
        if (!icon.isNull())
            return icon;
    }
    return QApplication::style()->standardIcon(ersatz);
}

void Zentralemodell::setzeZeilen(const QList<Zentralezeile>& zeilen)
{
    beginResetModel();
    m_zeilen = zeilen;
    endResetModel();
}

int Zentralemodell::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_zeilen.size());
}

int Zentralemodell::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Spalten;
}

QVariant Zentralemodell::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Zentralezeile& z = m_zeilen.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return index.column() == 0 ? z.artText() : z.anzeige;
    case Qt::DecorationRole:
        if (index.column() == 0)
            return m_bilder[static_cast<size_t>(z.art)];
        break;
    default:
        break;
    }
    return {};
}

QVariant Zentralemodell::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= Spalten)
        return {};
    return section == 0 ? QStringLiteral("Objektart") : QStringLiteral("Datenbankobjekt");
}

} // namespace kv
