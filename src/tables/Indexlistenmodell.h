#pragma once

#include <QAbstractTableModel>

namespace kv {

class Strukturbearbeitung;

/// The structure editor's index list: name (renamed in place, except a foreign-key index),
/// fields as "+Feld;-Feld", and the properties as check boxes that only show.
class Indexlistenmodell : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Spalte {
        Name,
        Felder,
        Primaer,
        Eindeutig,
        Erforderlich,
        NullwerteIgnorieren,
        Fremdschluessel,
        Spaltenanzahl
    };

    explicit Indexlistenmodell(Strukturbearbeitung& bearbeitung, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    /// Renaming asks the Strukturbearbeitung, which shows its messages.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void neuLaden();

private:
    Strukturbearbeitung& m_bearbeitung;
};

} // namespace kv
