#pragma once

#include "tables/Strukturuebersicht.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <array>

namespace kv {

/// The rows of the structure overview for its grid; the kind column carries the group's picture.
class Strukturmodell : public QAbstractTableModel {
    Q_OBJECT
public:
    /// grafikverzeichnis: where the group pictures are (none shown when they are missing).
    explicit Strukturmodell(const QString& grafikverzeichnis, QObject* parent = nullptr);

    void setzeZeilen(const QList<Strukturzeile>& zeilen);
    const QList<Strukturzeile>& zeilen() const { return m_zeilen; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<Strukturzeile> m_zeilen;
    std::array<QIcon, 3> m_bilder;
};

} // namespace kv
