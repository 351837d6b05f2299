#pragma once

#include <QDialog>
#include <memory>
#include <optional>

namespace kv {

namespace engine {
class Recordset;
class RecordsetModel;
} // namespace engine

class DataGrid;

/// The F6 copy dialog: the values a field already has, in a read-only grid. Enter or a double
/// click takes the current value, Escape closes without one.
class F6Kopie : public QDialog {
    Q_OBJECT
public:
    /// Shows the values of werte (owned); symbol is the caption picture's file.
    F6Kopie(std::unique_ptr<engine::Recordset> werte, const QFont& schrift, const QString& symbol,
        QWidget* parent = nullptr);
    ~F6Kopie() override;

    DataGrid* grid() const { return m_grid; }
    /// The value taken; nullopt when the dialog was left without one.
    const std::optional<QString>& gewaehlt() const { return m_wert; }

private:
    DataGrid* m_grid;
    engine::RecordsetModel* m_modell = nullptr;
    std::optional<QString> m_wert;
};

} // namespace kv
