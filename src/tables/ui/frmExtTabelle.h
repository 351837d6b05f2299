#pragma once

#include <QDialog>
#include <optional>

class QListWidget;
class QPushButton;

namespace kv::engine {
class Workspace;
}

namespace kv {

/// The modal choice of one table of another database or foreign file (List1): its tables that are
/// neither system nor attached tables, the first preselected, OK only with a choice.
class frmExtTabelle : public QDialog {
    Q_OBJECT
public:
    /// formatIndex: 0 our own database file, 1 to 13 the foreign formats (see Austauschpraefix).
    frmExtTabelle(engine::Workspace& workspace, int formatIndex, const QString& pfad,
        QWidget* parent = nullptr);
    frmExtTabelle(engine::Workspace& workspace, const QString& pfad, QWidget* parent = nullptr)
        : frmExtTabelle(workspace, 0, pfad, parent)
    { }

    /// The table chosen in the file pfad; nullopt when cancelled or the file cannot be read.
    static std::optional<QString> waehle(
        engine::Workspace& workspace, int formatIndex, const QString& pfad, QWidget* parent);
    static std::optional<QString> waehle(
        engine::Workspace& workspace, const QString& pfad, QWidget* parent)
    {
        return waehle(workspace, 0, pfad, parent);
    }

    QString gewaehlteTabelle() const;
    QListWidget* List1() const { return m_liste; }
    QPushButton* okKnopf() const { return m_ok; }

private:
    QListWidget* m_liste;
    QPushButton* m_ok;
};

} // namespace kv
