#pragma once

#include "shell/WebUpdatePruefung.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace kv {

/// The small web-update window: checks the update source and shows what it found. The check
/// runs while the window stays usable; "Abbrechen" stops it.
class frmWebUpdate : public QDialog {
    Q_OBJECT
public:
    explicit frmWebUpdate(const WebUpdateAuftrag& auftrag, QWidget* parent = nullptr);

    /// Starts the check and shows that it runs; the result follows when it is there.
    void pruefen(const QDate& heute = QDate::currentDate());
    /// Stops a running check.
    void abbrechen();
    bool prueftGerade() const { return m_pruefung.laeuft(); }

    QString ergebnisText() const;
    /// True when a newer version with a download address was found.
    bool downloadMoeglich() const;

    QPushButton* abbrechenKnopf() const { return m_abbrechen; }
    QPushButton* pruefenKnopf() const { return m_pruefen; }

protected:
    void done(int ergebnis) override;

private:
    void zeigeErgebnis();

    WebUpdateAuftrag m_auftrag;
    WebUpdatePruefung m_pruefung;
    QLabel* m_ergebnisText;
    QPushButton* m_download;
    QPushButton* m_pruefen;
    QPushButton* m_abbrechen;
};

/// Shows the window modally and starts the check at once: the entry point after the start-up
/// question and of the "?" menu's web-update command.
void WebUpdateStarten(const WebUpdateAuftrag& auftrag, QWidget* parent = nullptr);

} // namespace kv
