#pragma once

#include "shell/Zentraleliste.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <array>

namespace kv {

/// The navigator's rows for the grid: kind and display name, with the picture of the kind.
class Zentralemodell : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit Zentralemodell(QObject* parent = nullptr);

    /// Takes the rows of a rebuilt list (the model is reset).
    void setzeZeilen(const QList<Zentralezeile>& zeilen);
    const QList<Zentralezeile>& zeilen() const { return m_zeilen; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// The picture of a row kind: from the picture folder, else a standard icon of the style.
    static QIcon bild(Zeilenart art);

private:
    QList<Zentralezeile> m_zeilen;
    std::array<QIcon, 5> m_bilder;
};

} // namespace kv
