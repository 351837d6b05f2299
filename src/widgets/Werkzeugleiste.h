#pragma once

#include "widgets/Werkzeugdefinition.h"

#include <QToolBar>

class QAction;
class QFont;

namespace kv {

/// Tool bar built from a tool-definition string. Each tool is a QAction whose object name is
/// the tool name; a click is reported as werkzeugGeklickt(name).
class Werkzeugleiste : public QToolBar {
    Q_OBJECT
public:
    /// bandname is the object name (what layouts and callers address), titel the caption.
    Werkzeugleiste(const QString& bandname, const QString& titel, QWidget* parent = nullptr);

    /// Replaces the tools. Mode 0 hides the bar; another mode shows the tools made for it.
    void aufbauen(const QString& definition, int modus = 3);
    void aufbauen(const QList<Werkzeug>& werkzeuge, int modus = 3);
    int modus() const { return m_modus; }
    const QList<Werkzeug>& werkzeuge() const { return m_werkzeuge; }

    /// The action of a tool; nullptr when the bar has none of that name. The name is compared
    /// exactly first, then without regard to case ("löschen" finds "Löschen").
    QAction* werkzeug(const QString& name) const;

    /// Run-time changes of a tool by name; false when the bar has no such tool.
    bool setzeAktiv(const QString& name, bool aktiv);
    bool setzeText(const QString& name, const QString& text);
    bool setzeTooltip(const QString& name, const QString& tooltip);

    /// Tool tips end with the tool's shortcuts in German key names: "… (Strg+Umschalt+T)".
    void setzeTastenInQuickinfo(bool ja);
    bool tastenInQuickinfo() const { return m_tastenInQuickinfo; }

    /// Text display of the buttons: 0 off, 1 left, 2 right, 3 above, 4 below the icon.
    void setzeTextanzeige(int wert);
    int textanzeige() const { return m_textanzeige; }

    /// Bar area of a position text: "UNTEN" (any case) is the bottom, anything else the top.
    static Qt::ToolBarArea bereich(const QString& position);

Q_SIGNALS:
    void werkzeugGeklickt(const QString& name);

private:
    void tooltipAnwenden(QAction* a) const;

    QList<Werkzeug> m_werkzeuge;
    int m_modus = 3;
    int m_textanzeige = 0;
    bool m_tastenInQuickinfo = false;
};

/// The action of one tool: object name = tool name, caption, tool tip and status text, the
/// shortcuts, and the icon base name in the property "symbol" for ToolbarIconsZuweisen.
QAction* WerkzeugAktion(const Werkzeug& werkzeug, QObject* parent);

/// Gives a bar (tool bar, menu bar, status bar, menu) the font and, for every action with an
/// icon base name, including those of sub-menus, the picture from grafikverzeichnis in the small
/// or large size (see Symboldatei); a missing file leaves the tool without a picture.
void ToolbarIconsZuweisen(
    QWidget* leiste, bool klein, const QString& grafikverzeichnis, const QFont& schrift);

/// Shows a pop-up menu "miPopup" at pos built from entries "caption;icon base name" (pictures
/// name + "32.ico") and returns the 1-based position of the chosen entry, 0 when none was chosen.
int PopupAuswahl(const QStringList& eintraege, const QString& grafikverzeichnis, const QPoint& pos,
    QWidget* parent = nullptr);

} // namespace kv
