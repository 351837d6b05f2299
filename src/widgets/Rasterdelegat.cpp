#include "widgets/Rasterdelegat.h"

#include "base/Text.h"
#include "widgets/DataGrid.h"
#include "widgets/Zelleneditor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

namespace kv {

Rasterdelegat::Rasterdelegat(DataGrid* grid)
    : QStyledItemDelegate(grid)
    , m_grid(grid)
{ }

QWidget* Rasterdelegat::createEditor(
    QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    Q_UNUSED(option)
    Q_UNUSED(index)
    auto* editor = new Zelleneditor(parent);
    QPalette p = editor->palette();
    p.setColor(QPalette::Base, m_grid->farbe(Rasterfarbe::HintergrundAllgemein));
    p.setColor(QPalette::Text, m_grid->farbe(Rasterfarbe::TextAllgemein));
    editor->setPalette(p);
    m_grid->m_editor = editor;
    return editor;
}

void Rasterdelegat::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (m_grid->m_editor == editor)
        m_grid->m_editor = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

void Rasterdelegat::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* e = qobject_cast<Zelleneditor*>(editor))
        e->setzeAusgangstext(index.data(Qt::EditRole).toString());
}

void Rasterdelegat::setModelData(
    QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* e = qobject_cast<Zelleneditor*>(editor);
    if (e && e->geaendert())
        model->setData(index, e->text(), Qt::EditRole);
}

void Rasterdelegat::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (!opt.icon.isNull() || (opt.features & QStyleOptionViewItem::HasCheckIndicator)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget* widget = opt.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    painter->save();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
    if (!opt.text.isEmpty()) {
        QPalette::ColorGroup gruppe
            = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        if (gruppe == QPalette::Normal && !(opt.state & QStyle::State_Active))
            gruppe = QPalette::Inactive;
        painter->setPen(opt.palette.color(gruppe,
            opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(opt.font);
        const int rand = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect textRect = opt.rect.adjusted(rand, 0, -rand, 0);
        // One line per cell: the first, marked as cut when more follows.
        const qsizetype umbruch = opt.text.indexOf(QLatin1Char('\n'));
        QString zeile = umbruch < 0 ? opt.text : opt.text.left(umbruch) + QChar(0x2026);
        zeile = opt.fontMetrics.elidedText(zeile, opt.textElideMode, textRect.width());
        painter->drawText(textRect, int(opt.displayAlignment) | Qt::TextSingleLine, zeile);
    }
    if (opt.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect fokus;
        fokus.QStyleOption::operator=(opt);
        fokus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &opt, widget);
        fokus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        fokus.backgroundColor = opt.palette.color(
            opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
            opt.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &fokus, painter, widget);
    }
    painter->restore();
}

void Rasterdelegat::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // The cell is one line high; the first line of a multi-line text is what fits.
    if (option->text.contains(QLatin1Char('\r')))
        ErsetzeAlle(option->text, QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Laying a text out costs its whole length, while a cell shows what fits its width; no
    // character is narrower than two pixels, so the rest can go before it is laid out.
    const qsizetype passt = option->rect.width() / 2 + 2;
    if (option->rect.width() > 0 && option->text.size() > passt) {
        const bool halbesZeichen = option->text.at(passt - 1).isHighSurrogate();
        option->text.truncate(halbesZeichen ? passt - 1 : passt);
    }
    if (option->state & QStyle::State_Selected) {
        option->palette.setColor(
            QPalette::Highlight, m_grid->farbe(Rasterfarbe::HintergrundAuswahlzeile));
        option->palette.setColor(
            QPalette::HighlightedText, m_grid->farbe(Rasterfarbe::TextAuswahlzeile));
        return;
    }
    Rasterfarbe hintergrund = Rasterfarbe::HintergrundAllgemein;
    Rasterfarbe text = Rasterfarbe::TextAllgemein;
    if (m_grid->zebramuster()) {
        // Rows counted from 1: odd rows are the normal rows, even rows the alternate ones.
        const bool gerade = index.row() % 2 == 1;
        hintergrund
            = gerade ? Rasterfarbe::HintergrundZebramuster : Rasterfarbe::HintergrundNormalzeile;
        text = gerade ? Rasterfarbe::TextZebramuster : Rasterfarbe::TextNormalzeile;
    }
    option->backgroundBrush = m_grid->farbe(hintergrund);
    option->palette.setColor(QPalette::Text, m_grid->farbe(text));
}

bool Rasterdelegat::eventFilter(QObject* objekt, QEvent* ereignis)
{
    auto* editor = qobject_cast<Zelleneditor*>(objekt);
    if (editor && ereignis->type() == QEvent::KeyPress) {
        auto* taste = static_cast<QKeyEvent*>(ereignis);
        switch (taste->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (taste->modifiers() & Qt::ShiftModifier) {
                editor->zeilenumbruchEinfuegen();
            } else {
                Q_EMIT commitData(editor);
                Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
            }
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // Qt leaves these keys to text editors; in a cell they move to the next cell.
            Q_EMIT commitData(editor);
            Q_EMIT closeEditor(editor,
                taste->key() == Qt::Key_Tab ? QAbstractItemDelegate::EditNextItem
                                            : QAbstractItemDelegate::EditPreviousItem);
            return true;
        case Qt::Key_F6:
        case Qt::Key_F7:
            // The grid fills the cell; the editor has no use for these keys.
            if (m_grid->taste(taste))
                return true;
            break;
        default:
            break;
        }
    }
    return QStyledItemDelegate::eventFilter(objekt, ereignis);
}

} // namespace kv
