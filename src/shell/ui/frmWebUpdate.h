#pragma once

#include "shell/WebUpdatePruefung.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace kv {

/// The small web-update window: checks the update source and shows what it found.
class frmWebUpdate : public QDialog {
    Q_OBJECT
public:
    explicit frmWebUpdate(const WebUpdateAuftrag& auftrag, QWidget* parent = nullptr);

    /// Runs the check now (with the busy pointer) and shows the result.
    void pruefen(const QDate& heute = QDate::currentDate());

    QString ergebnisText() const;
    /// True when a newer version with a download address was found.
    bool downloadMoeglich() const;

private:
    WebUpdateAuftrag m_auftrag;
    WebUpdatePruefung::Ergebnis m_ergebnis;
    QLabel* m_ergebnisText;
    QPushButton* m_download;
};

/// Shows the window modally and starts the check at once: the entry point after the start-up
/// question and of the "?" menu's web-update command.
void WebUpdateStarten(const WebUpdateAuftrag& auftrag, QWidget* parent = nullptr);

} // namespace kv
