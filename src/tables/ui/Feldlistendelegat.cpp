#include "tables/ui/Feldlistendelegat.h"

#include "tables/FeldZeile.h"
#include "tables/Feldtypen.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QTimer>

namespace kv {

Feldlistendelegat::Feldlistendelegat(Ablehnung ablehnung, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_ablehnung(std::move(ablehnung))
{ }

QWidget* Feldlistendelegat::createEditor(
    QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (static_cast<Feldspalte>(index.column()) != Feldspalte::Typ) {
        // Numbers too are typed as text, so that the entry check sees what was typed.
        auto* zeile = new QLineEdit(parent);
        zeile->setFrame(false);
        m_editor = zeile;
        return zeile;
    }
    auto* liste = new QComboBox(parent);
    for (const Feldtypeintrag& typ : feldtypliste())
        liste->addItem(typ.name, int(typ.code));
    // A choice is taken at once, so that size and locks follow while the row is still open.
    connect(liste, &QComboBox::activated, this, [this, liste] {
        auto* self = const_cast<Feldlistendelegat*>(this);
        Q_EMIT self->commitData(liste);
    });
    static_cast<void>(option);
    m_editor = liste;
    return liste;
}

void Feldlistendelegat::offenenEintragUebernehmen()
{
    if (!m_editor)
        return;
    QWidget* editor = m_editor;
    m_editor = nullptr;
    Q_EMIT commitData(editor);
    Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void Feldlistendelegat::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* liste = qobject_cast<QComboBox*>(editor)) {
        liste->setCurrentIndex(liste->findData(index.data(Qt::EditRole).toInt()));
        return;
    }
    if (auto* zeile = qobject_cast<QLineEdit*>(editor))
        zeile->setText(index.data(Qt::EditRole).toString());
}

void Feldlistendelegat::setModelData(
    QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* liste = qobject_cast<QComboBox*>(editor)) {
        if (liste->currentIndex() >= 0)
            model->setData(index, liste->currentData(), Qt::EditRole);
        return;
    }
    auto* zeile = qobject_cast<QLineEdit*>(editor);
    if (!zeile)
        return;
    const QString text = zeile->text();
    const auto spalte = static_cast<Feldspalte>(index.column());
    if (const std::optional<QString> meldung = pruefeZelle(spalte, text)) {
        // A message box now would take the focus from the closing editor and commit it again.
        QTimer::singleShot(
            0, this, [this, zelle = QPersistentModelIndex(index), meldung = *meldung] {
                if (m_ablehnung)
                    m_ablehnung(zelle, meldung);
            });
        return;
    }
    if (spalte == Feldspalte::Groesse || spalte == Feldspalte::Position)
        model->setData(index, *leseGroesse(text), Qt::EditRole);
    else
        model->setData(index, text, Qt::EditRole);
}

} // namespace kv
