#include "widgets/Rasterdelegat.h"

#include "base/Text.h"
#include "widgets/DataGrid.h"
#include "widgets/Zelleneditor.h"

#include <QKeyEvent>

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

void Rasterdelegat::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // The cell is one line high; the first line of a multi-line text is what fits.
    if (option->text.contains(QLatin1Char('\r')))
        ErsetzeAlle(option->text, QStringLiteral("\r\n"), QStringLiteral("\n"));
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
