#pragma once

#include <QDialog>
#include <optional>

class QListWidget;
class QPushButton;

namespace kv::engine {
class Workspace;
}

namespace kv {

/// The modal choice of one table of another Kelvado database (List1): its tables that are
/// neither system nor attached tables, the first preselected, OK only with a choice.
class frmExtTabelle : public QDialog {
    Q_OBJECT
public:
    frmExtTabelle(engine::Workspace& workspace, const QString& pfad, QWidget* parent = nullptr);

    /// The table chosen in the database pfad; nullopt when cancelled or the file cannot be read.
    static std::optional<QString> waehle(
        engine::Workspace& workspace, const QString& pfad, QWidget* parent);

    QString gewaehlteTabelle() const;
    QListWidget* List1() const { return m_liste; }
    QPushButton* okKnopf() const { return m_ok; }

private:
    QListWidget* m_liste;
    QPushButton* m_ok;
};

} // namespace kv
