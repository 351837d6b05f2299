#pragma once

#include "shell/Tastenbelegung.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kv {

/// One tool bar or menu band of the main window as the user arranged it.
struct Leistenbelegung {
    /// Object name ("mtbHauptleiste", "Benutzer1", …).
    QString name;
    QString titel;
    bool sichtbar = true;
    /// "oben", "unten", "links" or "rechts".
    QString bereich = QStringLiteral("oben");
    /// Tool names in order, an empty name for a separator.
    QStringList werkzeuge;
    /// Made by the user (can be renamed and deleted).
    bool eigene = false;
    /// A menu band ("Datei", …): its entries can be changed, the band itself stays.
    bool menue = false;

    bool operator==(const Leistenbelegung&) const = default;
};

/// A caption or tool tip the user changed; empty texts keep the designed ones.
struct Textaenderung {
    QString leiste;
    QString werkzeug;
    QString text;
    QString tooltip;

    bool operator==(const Textaenderung&) const = default;
};

/// Caption and tool tip of a button.
struct Werkzeugtexte {
    QString text;
    QString tooltip;

    bool operator==(const Werkzeugtexte&) const = default;
};

/// How menus open: "(Keine)", "Abwechselnd" (the two effects in turn), "Entfalten" (fading in),
/// "Abrollen" (rolling out).
enum class Menueanimation { Keine, Abwechselnd, Entfalten, Abrollen };

struct Leistenoptionen {
    bool grosseSymbole = false;
    bool quickinfo = true;
    bool tastenInQuickinfo = false;
    /// "Menüs zeigen zuletzt verwendete Befehle zuerst an" (the reduced menu system).
    bool personalisiert = false;
    /// "Nach kurzer Verzögerung vollständige Menüs anzeigen".
    bool vollstaendigNachVerzoegerung = true;
    Menueanimation animation = Menueanimation::Keine;

    bool operator==(const Leistenoptionen&) const = default;
};

/// The layout of the main window's tool bars and the user's changes, kept in the files
/// "KelvadMenu.cb2" (bars, their tools, visibility, position) and "KelvadMenu.chg" (options,
/// changed texts, shortcuts and the commands used lately) as readable JSON.
class Leistenlayout {
public:
    QList<Leistenbelegung> leisten;
    Leistenoptionen optionen;
    QList<Textaenderung> texte;
    Tastenbelegung tasten;
    /// The commands used lately, newest first (what the reduced menus show).
    QStringList zuletztVerwendet;

    /// The designed layout: the main tool bar and the menu bands with their tools.
    static Leistenlayout standard();

    QByteArray layoutText() const;
    QByteArray aenderungsText() const;
    /// Take the bars from a layout text. A damaged text changes nothing and returns false;
    /// tools the program does not know are left out.
    bool layoutLesen(const QByteArray& text);
    /// The same for the options, text changes and shortcuts; there a damaged entry is left out
    /// and the rest taken.
    bool aenderungenLesen(const QByteArray& text);

    Leistenbelegung* leiste(const QString& name);
    const Leistenbelegung* leiste(const QString& name) const;

    /// Adds a user tool bar; its name is "Benutzer" + the first free number. Returns the name,
    /// empty when the title is empty or another bar has it already.
    QString neueLeiste(const QString& titel);
    /// False for an empty title, a title another bar has, an unknown bar or a menu band.
    bool umbenennen(const QString& name, const QString& titel);
    /// Only user bars can be deleted.
    bool loeschen(const QString& name);
    /// The designed tools of a bar or menu (none for a user bar) and no changed texts on it.
    void zuruecksetzen(const QString& name);
    /// Inserts a tool (or a separator, empty name) before position, at the end for -1.
    bool hinzufuegen(const QString& leiste, const QString& werkzeug, int position = -1);
    bool entfernen(const QString& leiste, int position);

    const Textaenderung* text(const QString& leiste, const QString& werkzeug) const;
    /// Records a changed text; two empty texts remove the change.
    void setzeText(const QString& leiste, const QString& werkzeug, const QString& text,
        const QString& tooltip);

    /// A button's texts on a tool bar as designed: the main tool bar's short caption where it
    /// has the tool, else the command's caption without access key; the description as tool tip.
    static Werkzeugtexte designteTexte(const QString& werkzeug);
    /// The designed texts with the user's changes on that bar.
    Werkzeugtexte anzeigetexte(const QString& leiste, const QString& werkzeug) const;
    /// Keeps what differs from the designed texts as the change; an empty text is the designed
    /// one.
    void aendereTexte(const QString& leiste, const QString& werkzeug, const Werkzeugtexte& texte);
};

/// The path of the user's layout file ("KelvadMenu" + endung) in the per-user settings folder.
QString Layoutpfad(const QString& endung);
/// Reads both files when present, each from the user's settings folder or, when the user has
/// none yet, from the program folder (a layout the installation brings along); a missing or
/// damaged file leaves that part as it was.
void LayoutLaden(Leistenlayout& layout);
/// Writes both files whole into the user's settings folder; false when one could not be
/// written.
bool LayoutSpeichern(const Leistenlayout& layout);

} // namespace kv
