#pragma once

#include "shell/Leistenlayout.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kv {

/// The buttons' texts and tool tips of the main window's tool bars: one heading per bar, its
/// tools below. Works on a copy of the layout; after "OK" the caller reads layout().
class TexteSymbolleiste : public QDialog {
    Q_OBJECT
public:
    explicit TexteSymbolleiste(const Leistenlayout& layout, QWidget* parent = nullptr);

    const Leistenlayout& layout() const { return m_layout; }

    QTreeWidget* liste() const { return m_liste; }
    QLineEdit* textFeld() const { return m_text; }
    QLineEdit* quickinfoFeld() const { return m_quickinfo; }
    QPushButton* knopf(const QString& text) const;
    /// Chooses a tool of a bar; false when the list has none such.
    bool waehle(const QString& leiste, const QString& werkzeug);

    /// The chosen tool, or every tool of the chosen bar, back to the designed texts.
    void zuruecksetzen();

private:
    void auswahlZeigen();
    void eingabeUebernehmen();
    void eintragZeigen(QTreeWidgetItem* eintrag);

    Leistenlayout m_layout;
    QTreeWidget* m_liste;
    QLineEdit* m_text;
    QLineEdit* m_quickinfo;
};

} // namespace kv
