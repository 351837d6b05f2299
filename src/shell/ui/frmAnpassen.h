#pragma once

#include "shell/Leistenlayout.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QListWidget;
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

private:
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
};

} // namespace kv
