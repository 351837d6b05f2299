#pragma once

#include "engine/isam/VerificationReport.h"

#include <QAbstractTableModel>

namespace kv {

/// One part of a verification report as a table for a view: the counts per table, or one row
/// per changed value followed by one per refused record. Reads the report in place, so that a
/// report of a hundred thousand values opens at once.
class Pruefberichtmodell : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Teil { Zaehler, Werte };

    Pruefberichtmodell(
        const engine::isam::VerificationReport& bericht, Teil teil, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// The text of a cell as shown.
    QString text(int zeile, int spalte) const;

private:
    const engine::isam::VerificationReport& m_bericht;
    Teil m_teil;
};

} // namespace kv
