#include "widgets/Rasterfuss.h"

#include "widgets/DataGrid.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>

namespace kv {

Rasterfuss::Rasterfuss(DataGrid* grid, QTableView* ansicht)
    : QWidget(grid)
    , m_grid(grid)
    , m_ansicht(ansicht)
{
    setObjectName(QStringLiteral("Fusszeile"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QHeaderView* kopf = ansicht->horizontalHeader();
    const auto neuZeichnen = [this] { update(); };
    connect(kopf, &QHeaderView::sectionResized, this, neuZeichnen);
    connect(kopf, &QHeaderView::sectionMoved, this, neuZeichnen);
    connect(kopf, &QHeaderView::geometriesChanged, this, neuZeichnen);
}

QSize Rasterfuss::sizeHint() const
{
    return { 0, fontMetrics().height() + 6 };
}

void Rasterfuss::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_grid->farbe(Rasterfarbe::HintergrundFusszeile));
    // The footer lies under the view in the same column of the layout, so the cells start where
    // the view's cells start.
    const QRect bereich = m_ansicht->viewport()->geometry().translated(m_ansicht->pos() - pos());
    const int links = bereich.left();
    p.setClipRect(QRect(links, 0, bereich.width(), height()));
    p.setPen(m_grid->farbe(Rasterfarbe::TextFusszeile));
    const QHeaderView* kopf = m_ansicht->horizontalHeader();
    const QColor linie = palette().color(QPalette::Mid);
    for (int spalte = 0; spalte < kopf->count(); ++spalte) {
        if (kopf->isSectionHidden(spalte))
            continue;
        const int x = links + kopf->sectionViewportPosition(spalte);
        const int breite = kopf->sectionSize(spalte);
        const QRect zelle(x + 3, 0, breite - 6, height());
        p.drawText(zelle, int(AlsQtAusrichtung(m_grid->fussausrichtung(spalte))),
            m_grid->fusstext(spalte));
        p.save();
        p.setPen(linie);
        p.drawLine(x + breite - 1, 0, x + breite - 1, height());
        p.restore();
    }
}

} // namespace kv
