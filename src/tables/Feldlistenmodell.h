#pragma once

#include "tables/FeldZeile.h"

#include <QAbstractTableModel>

namespace kv {

class Strukturbearbeitung;

/// The structure editor's field list as an item model over the rows of a Strukturbearbeitung:
/// eleven columns, the four yes/no columns as check boxes, the type shown by name and edited
/// by code (Qt::EditRole), locked cells neither editable nor enabled (so they cannot take the
/// focus), the column help as tool tip. A change of the type applies the rules of the type
/// table to the row. The rows of an attached table are read-only.
class Feldlistenmodell : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit Feldlistenmodell(Strukturbearbeitung& bearbeitung, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// The rows changed in the Strukturbearbeitung (saved, added, dropped, reloaded).
    void neuLaden();

    static bool istJaNeinSpalte(Feldspalte spalte);

private:
    Strukturbearbeitung& m_bearbeitung;
};

} // namespace kv
