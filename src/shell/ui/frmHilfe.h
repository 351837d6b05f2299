#pragma once

#include "shell/Hilfeindex.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

namespace kv {

/// The help window: contents and keyword search on the left, the page on the right.
class frmHilfe : public QWidget {
    Q_OBJECT
public:
    /// The program's help pages.
    static inline const QString Hilfeordner = QStringLiteral(":/hilfe");

    explicit frmHilfe(const QString& ordner = Hilfeordner, QWidget* parent = nullptr);

    /// Shows the contents tab and the contents page.
    void zeigeInhalt();
    /// Shows the search tab with the cursor in the search field.
    void zeigeSuche();
    /// Shows a page by its file name.
    void zeigeSeite(const QString& datei);

    const Hilfeindex& index() const { return m_index; }
    QTextBrowser* browser() const { return m_browser; }
    QLineEdit* suchfeld() const { return m_suchfeld; }
    QListWidget* trefferliste() const { return m_treffer; }

private:
    void sucheAktualisieren();

    Hilfeindex m_index;
    QTabWidget* m_tabs;
    QListWidget* m_inhalt;
    QLineEdit* m_suchfeld;
    QListWidget* m_treffer;
    QTextBrowser* m_browser;
};

} // namespace kv
