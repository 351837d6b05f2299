#pragma once

#include "shell/Tastenbelegung.h"

#include <QDialog>

class QKeySequenceEdit;
class QLabel;
class QListWidget;
class QPushButton;

namespace kv {

class Befehlsauswahl;

/// "Tastenkombinationen anpassen": the shortcuts of the main window's commands. Works on a copy;
/// the caller reads belegung() after the dialog has closed.
class frmTastatur : public QDialog {
    Q_OBJECT
public:
    explicit frmTastatur(const Tastenbelegung& belegung, QWidget* parent = nullptr);

    const Tastenbelegung& belegung() const { return m_belegung; }

    Befehlsauswahl* auswahl() const { return m_auswahl; }
    /// The chosen command's keys as shown.
    QListWidget* aktuelle() const { return m_aktuelle; }
    QKeySequenceEdit* eingabe() const { return m_eingabe; }
    /// Who has the key just pressed.
    QLabel* inhaberAnzeige() const { return m_inhaber; }
    QPushButton* knopf(const QString& text) const;

    /// Gives the pressed key to the chosen command; a key of another command moves only after
    /// the question.
    void zuweisen();
    /// Takes the key chosen in the list from the command.
    void entfernen();
    /// All commands back to their designed keys, after the question.
    void alleZuruecksetzen();

private:
    void aktuelleFuellen();
    void inhaberZeigen();

    Tastenbelegung m_belegung;
    Befehlsauswahl* m_auswahl;
    QListWidget* m_aktuelle;
    QKeySequenceEdit* m_eingabe;
    QLabel* m_inhaber;
};

} // namespace kv
