#pragma once

#include <QPointer>
#include <QStyledItemDelegate>
#include <functional>

namespace kv {

/// Editors of the structure editor's field list: the type as a drop-down of the offered types,
/// every other cell as a line whose entry is checked when it is taken. A refused entry is not
/// written; the refusal is handed on (after the editor has closed) with the message to show.
class Feldlistendelegat : public QStyledItemDelegate {
    Q_OBJECT
public:
    using Ablehnung = std::function<void(const QModelIndex& zelle, const QString& meldung)>;

    explicit Feldlistendelegat(Ablehnung ablehnung, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(
        QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

    /// Takes the entry of an open editor and closes it, as leaving the cell would.
    void offenenEintragUebernehmen();

private:
    Ablehnung m_ablehnung;
    mutable QPointer<QWidget> m_editor;
};

} // namespace kv
