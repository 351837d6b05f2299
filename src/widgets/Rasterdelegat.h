#pragma once

#include <QStyledItemDelegate>

namespace kv {

class DataGrid;

/// Paints the grid's cells in its colours and alignment and edits them with a Zelleneditor:
/// Enter takes the entry, Shift+Enter inserts a line break, an unchanged entry is not written.
class Rasterdelegat : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit Rasterdelegat(DataGrid* grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(
        QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    /// A cell's background, text and focus frame as the style paints them, with the text laid
    /// out once instead of once for measuring, once for eliding and once for drawing.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    DataGrid* m_grid;
};

} // namespace kv
