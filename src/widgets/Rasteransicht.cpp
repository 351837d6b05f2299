#include "widgets/Rasteransicht.h"

#include "base/Rastermodell.h"
#include "widgets/DataGrid.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace kv {

Rasteransicht::Rasteransicht(DataGrid* grid)
    : QTableView(grid)
    , m_grid(grid)
{
    setObjectName(QStringLiteral("Raster"));
    // Rows are marked by their record selectors only; a click into a cell just moves the cursor.
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setTabKeyNavigation(true);
    // Uniform rows keep a header of millions of rows small and fast.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void Rasteransicht::editorSchliessen(QWidget* editor, bool uebernehmen)
{
    if (uebernehmen)
        QTableView::commitData(editor);
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

int Rasteransicht::sichtbareZeilenanzahl() const
{
    const int hoehe = qMax(1, verticalHeader()->defaultSectionSize());
    return qMax(1, viewport()->height() / hoehe);
}

void Rasteransicht::keyPressEvent(QKeyEvent* e)
{
    if (m_grid->taste(e))
        return;
    QTableView::keyPressEvent(e);
}

bool Rasteransicht::edit(const QModelIndex& index, EditTrigger trigger, QEvent* e)
{
    const bool oeffnet
        = trigger == QAbstractItemView::AllEditTriggers || (editTriggers() & trigger);
    if (oeffnet && index.isValid() && state() != QAbstractItemView::EditingState) {
        // An editor only ever opens in the current cell; a move refused just before would
        // otherwise leave it elsewhere.
        if (index != currentIndex())
            return false;
        Rastermodell* m = m_grid->rastermodell();
        if (m && (model()->flags(index) & Qt::ItemIsEditable) && m_grid->istNeuzeile(index.row())
            && !m->neueZeileBeginnen())
            return false;
    }
    return QTableView::edit(index, trigger, e);
}

void Rasteransicht::commitData(QWidget* editor)
{
    if (m_grid->editorPruefen(editor))
        QTableView::commitData(editor);
}

void Rasteransicht::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (m_grid->m_editorAbgelehnt) {
        m_grid->m_editorAbgelehnt = false;
        if (editor)
            editor->setFocus();
        return;
    }
    QTableView::closeEditor(editor, hint);
}

void Rasteransicht::currentChanged(const QModelIndex& aktuell, const QModelIndex& vorher)
{
    QTableView::currentChanged(aktuell, vorher);
    m_grid->aktuellGeaendert(aktuell, vorher);
}

QModelIndex Rasteransicht::naechsteFreieZelle(bool vorwaerts) const
{
    const QModelIndex aktuell = currentIndex();
    const QHeaderView* kopf = horizontalHeader();
    const int spalten = kopf->count();
    if (!aktuell.isValid() || spalten == 0)
        return {};
    const int zeilen = model()->rowCount();
    int zeile = aktuell.row();
    int visuell = kopf->visualIndex(aktuell.column());
    for (int schritt = 0; schritt < 2 * spalten; ++schritt) {
        visuell += vorwaerts ? 1 : -1;
        if (visuell >= spalten) {
            if (zeile + 1 >= zeilen)
                return aktuell;
            ++zeile;
            visuell = 0;
        } else if (visuell < 0) {
            if (zeile == 0)
                return aktuell;
            --zeile;
            visuell = spalten - 1;
        }
        const int logisch = kopf->logicalIndex(visuell);
        if (!kopf->isSectionHidden(logisch) && !m_grid->spalteGesperrt(logisch))
            return model()->index(zeile, logisch);
    }
    return {};
}

QModelIndex Rasteransicht::moveCursor(CursorAction aktion, Qt::KeyboardModifiers modifikatoren)
{
    if (aktion == MoveNext || aktion == MovePrevious) {
        // Tab passes over locked columns.
        const QModelIndex ziel = naechsteFreieZelle(aktion == MoveNext);
        if (ziel.isValid())
            return ziel;
    }
    const bool ende = aktion == MoveEnd && (modifikatoren & Qt::ControlModifier);
    Rastermodell* m = m_grid->rastermodell();
    if (ende && m && m->zaehltNoch())
        m->anzahlErmitteln();
    QModelIndex ziel = QTableView::moveCursor(aktion, modifikatoren);
    // Ctrl+End goes to the last record, not into the empty add-new row below it.
    if (ende && ziel.isValid() && ziel.row() > 0 && m_grid->istNeuzeile(ziel.row()))
        ziel = model()->index(ziel.row() - 1, ziel.column());
    return ziel;
}

void Rasteransicht::updateGeometries()
{
    QTableView::updateGeometries();
    m_grid->laufleisteAbgleichen();
}

void Rasteransicht::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTableView::mouseDoubleClickEvent(e);
    const QModelIndex index = currentIndex();
    if (state() != QAbstractItemView::EditingState && index.isValid()
        && indexAt(e->position().toPoint()) == index)
        Q_EMIT m_grid->zeileGewaehlt(index.row());
}

void Rasteransicht::resizeEvent(QResizeEvent* e)
{
    QTableView::resizeEvent(e);
    m_grid->proportionalAnpassen();
}

Rasterauswahl::Rasterauswahl(QAbstractItemModel* modell, DataGrid* grid)
    : QItemSelectionModel(modell, grid)
    , m_grid(grid)
{ }

void Rasterauswahl::setCurrentIndex(
    const QModelIndex& index, QItemSelectionModel::SelectionFlags flags)
{
    if (index != currentIndex() && !m_grid->darfWechseln(index))
        return;
    QItemSelectionModel::setCurrentIndex(index, flags);
}

} // namespace kv
