#pragma once

#include "shell/Leistenlayout.h"

#include <QDialog>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QListWidget;
class QMenu;
class QPushButton;
class QTabWidget;

namespace kv {

class Befehlsauswahl;

/// The customisation of the main window's bars: tool bars (show, new, rename, delete, reset),
/// commands (add to a tool bar, remove) and options. Works on a copy of the layout; the caller
/// reads layout() after the dialog has closed.
class frmAnpassen : public QDialog {
    Q_OBJECT
public:
    explicit frmAnpassen(const Leistenlayout& layout, QWidget* parent = nullptr);

    const Leistenlayout& layout() const { return m_layout; }

    QListWidget* leistenliste() const { return m_leisten; }
    QListWidget* kategorien() const;
    QListWidget* befehle() const;
    QComboBox* zielleiste() const { return m_ziel; }
    QListWidget* zielwerkzeuge() const { return m_zielWerkzeuge; }
    QPushButton* knopf(const QString& text) const;
    QCheckBox* option(const QString& text) const;

    void neueLeiste();
    void umbenennen();
    void loeschen();
    void zuruecksetzen();
    void zuweisen();
    void entfernen();
    /// The keyboard customisation; its changes go into the layout.
    void tastatur();
    /// Shows the description of the command chosen in the list.
    void befehlsbeschreibung();
    // "Auswahl ändern" on the entry chosen on the target bar: its designed texts again, a new
    // name, a separator before it.
    void auswahlZuruecksetzen();
    void auswahlUmbenennen();
    void gruppierungBeginnen(bool an);

private:
    /// The tool chosen on the target bar; empty for none or a separator.
    QString gewaehltesWerkzeug() const;
    /// Runs a change on the chosen tool of the target bar, then shows the bar anew.
    void auswahlAendern(
        const std::function<void(const QString& leiste, const QString& werkzeug)>& aendern);
    void auswahlmenueVorbereiten();
    QString gewaehlteLeiste() const;
    /// Asks for a bar title; aendern applies it and returns the bar's name, empty when taken.
    void titelAendern(const QString& ueberschrift, const QString& vorgabe,
        const std::function<QString(const QString&)>& aendern);
    void leistenFuellen(const QString& waehlen);
    void zielFuellen();

    Leistenlayout m_layout;
    QTabWidget* m_tabs;
    QListWidget* m_leisten;
    Befehlsauswahl* m_auswahl;
    QComboBox* m_ziel;
    QListWidget* m_zielWerkzeuge;
    QMenu* m_auswahlMenue = nullptr;
    QAction* m_gruppierung = nullptr;
};

} // namespace kv
