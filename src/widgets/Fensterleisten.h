#pragma once

#include <QFont>
#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QMainWindow;
class QStatusBar;
class QToolBar;

namespace kv {

class Navigationsleiste;
class Werkzeugleiste;

/// How the child windows show their bars; the window reads the settings and passes them.
struct Leistendarstellung {
    /// Small icons ("IconFensterToolbarKlein").
    bool kleineSymbole = true;
    /// Text beside the icons: 0 off, 1 left, 2 right, 3 above, 4 below
    /// ("IconFensterToolbarTextanzeige").
    int textanzeige = 4;
    /// Folder of the icon files (Grafikverzeichnis).
    QString grafikverzeichnis;
    /// Font of the bars (Menüschrift).
    QFont schrift;
};

/// The bars of a runtime window (table view, mask, query window), built from its tool-definition
/// string: the band "Maskenfunktionen" with the tools of the chosen mode, the band "Videoleiste"
/// holding the navigation bar as the tool "Video", and the band "Statusleiste" with the help-text
/// field "Hilfstext". The window receives clicked tools as lower-cased names ("löschen").
class Fensterleisten : public QObject {
    Q_OBJECT
public:
    /// The bands become the window's tool bars and status bar.
    Fensterleisten(QMainWindow* fenster, const Leistendarstellung& darstellung);

    /// Builds the tools of definition for modus (0 no tool bar, 1 to 3 the tools made for the
    /// mode) and places the tool and navigation bands at the bottom for "UNTEN" (any case),
    /// otherwise at the top. Tool tips show the shortcuts ("Strg+", "Umschalt+").
    void aufbauen(const QString& definition, int modus, const QString& position);

    /// Band "Maskenfunktionen".
    Werkzeugleiste* funktionsleiste() const { return m_funktionen; }
    /// Band "Videoleiste"; its tool "Video" is the navigation bar.
    QToolBar* videoleiste() const { return m_videoleiste; }
    Navigationsleiste* navigation() const { return m_navigation; }
    /// Band "Statusleiste"; hidden until setzeStatuszeile.
    QStatusBar* statusleiste() const { return m_statusleiste; }

    /// 0 hides the band "Videoleiste", 1 shows the full and 2 the reduced navigation bar.
    void setzeNavigationsmodus(int modus);
    void setzeStatuszeile(bool zeigen);
    /// Text of the status band's field "Hilfstext".
    void setzeHilfstext(const QString& text);
    QString hilfstext() const;

    /// A tool of the band "Maskenfunktionen" by name in any case; nullptr when there is none.
    QAction* werkzeug(const QString& name) const;
    bool setzeAktiv(const QString& name, bool aktiv);
    bool setzeText(const QString& name, const QString& text);
    bool setzeTooltip(const QString& name, const QString& tooltip);

Q_SIGNALS:
    /// A tool was clicked (or its shortcut pressed); name in lower case.
    void werkzeugGeklickt(const QString& name);

private:
    QMainWindow* m_fenster;
    Leistendarstellung m_darstellung;
    Werkzeugleiste* m_funktionen;
    QToolBar* m_videoleiste;
    Navigationsleiste* m_navigation;
    QStatusBar* m_statusleiste;
    QLabel* m_hilfstext;
};

} // namespace kv
