#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;

namespace kv {

/// The password prompt in front of protected actions. The entry ends on Enter or with the fifth
/// typed character (passwords count with 5 characters); Escape cancels.
class passwort : public QDialog {
    Q_OBJECT
public:
    explicit passwort(QWidget* parent = nullptr);

    /// The typed text (read after the dialog has closed).
    QString eingabe() const;

    /// Shows the dialog modally with the normal mouse pointer; nullopt when cancelled.
    static std::optional<QString> abfragen(QWidget* parent = nullptr);

private:
    QLineEdit* m_eingabe;
};

/// Makes the password dialog the asker of PruefeAktionsschutz (called once at start-up).
void PasswortDialogEinrichten();

} // namespace kv
