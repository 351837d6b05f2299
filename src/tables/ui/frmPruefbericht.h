#pragma once

#include "engine/isam/VerificationReport.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;

namespace kv {

class Pruefberichtmodell;

/// The whole verification report of an import or export: the counts per table above, every
/// value that did not arrive unchanged and every refused record below; can be saved as CSV.
class frmPruefbericht : public QDialog {
    Q_OBJECT
public:
    /// Keeps a copy of the report: the exchange may run again while the window is open.
    frmPruefbericht(engine::isam::VerificationReport bericht, QWidget* parent = nullptr);
    ~frmPruefbericht() override;

    QTableView* Zaehler() const { return m_zaehler; }
    QTableView* Werte() const { return m_werte; }
    QPushButton* Speicherknopf() const { return m_speichern; }
    QPushButton* Schliessknopf() const { return m_schliessen; }

    /// "Als CSV speichern …": asks for the file and writes it; false when cancelled or failed
    /// (the message names the file).
    bool alsCsvSpeichern();

private:
    engine::isam::VerificationReport m_bericht;
    Pruefberichtmodell* m_zaehlerModell;
    Pruefberichtmodell* m_werteModell;
    QTableView* m_zaehler;
    QTableView* m_werte;
    QPushButton* m_speichern;
    QPushButton* m_schliessen;
};

} // namespace kv
