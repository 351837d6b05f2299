#pragma once

#include <QJsonObject>
#include <QKeySequence>
#include <QList>
#include <QMap>
#include <QString>

namespace kv {

/// Why a key cannot carry a command of the main window.
struct Tastensperre {
    enum class Grund {
        Keine,
        /// No key, or a modifier alone.
        Leer,
        /// A plain key other than a function key: it would be lost for typing.
        OhneStrgAlt,
        /// Used by the work windows or the text inputs; both would stop working.
        Arbeitsfenster,
        /// Opens a menu of the main window (menu holds the menu's caption).
        Menue,
    };
    Grund grund = Grund::Keine;
    QString menue;
};

/// The shortcuts of the main window's commands: the designed ones with the user's changes. Only
/// the changes are kept, so that designed shortcuts of later versions reach existing users. A key
/// belongs to one command at most; every key is one key press (the first of a sequence).
class Tastenbelegung {
public:
    /// Commands that can carry shortcuts: those of the customisation's categories.
    static bool belegbar(const QString& befehl);
    static QList<QKeySequence> vorgabe(const QString& befehl);
    static Tastensperre sperre(const QKeySequence& taste);
    /// The first key press of a sequence; empty for an empty sequence.
    static QKeySequence ersteTaste(const QKeySequence& folge);

    QList<QKeySequence> tasten(const QString& befehl) const;
    /// The command the key belongs to; empty when it is free.
    QString inhaber(const QKeySequence& taste) const;

    /// Gives the key to the command and takes it from the command that had it. False for a
    /// blocked key or a command that cannot carry one.
    bool zuweisen(const QString& befehl, const QKeySequence& taste);
    bool entfernen(const QString& befehl, const QKeySequence& taste);
    /// Back to the designed shortcuts.
    void zuruecksetzen();
    bool geaendert() const { return !m_aenderungen.isEmpty(); }

    /// The changes as command name → list of keys in portable text ("Ctrl+N").
    QJsonObject alsJson() const;
    /// Takes the changes from alsJson's form. A damaged entry (unknown command, unreadable or
    /// blocked key, a key twice) is left out: that command keeps its designed keys.
    static Tastenbelegung ausJson(const QJsonObject& objekt);

    bool operator==(const Tastenbelegung&) const = default;

private:
    void setze(const QString& befehl, const QList<QKeySequence>& tasten);

    QMap<QString, QList<QKeySequence>> m_aenderungen;
};

} // namespace kv
