#include "shell/Tastenbelegung.h"

#include "shell/Befehlstabelle.h"

#include <QHash>
#include <QJsonArray>

namespace kv {

namespace {

QKeySequence lies(const QString& text)
{
    return Tastenbelegung::ersteTaste(QKeySequence::fromString(text, QKeySequence::PortableText));
}

// The work windows' own keys, the keys of the text inputs and of the window list. A menu key
// on one of them would make Qt see two owners and neither would fire.
const QList<QKeySequence>& reservierteTasten()
{
    static const QList<QKeySequence> tasten = [] {
        QList<QKeySequence> l;
        for (const char* t : { "F3", "F5", "F6", "F7", "F8", "F9", "Shift+F9", "Alt+Z", "Alt+V",
                 "Alt+Del", "Alt+K", "Alt+D", "Alt+R", "Ctrl+Shift+T", "Ctrl+Shift+M", "Ctrl+C",
                 "Ctrl+V", "Ctrl+X", "Ctrl+Z", "Ctrl+Y", "Ctrl+A", "Ctrl+F4", "Ctrl+F6", "Ctrl+Tab",
                 "Ctrl+Shift+Tab", "Ctrl+Shift+Backtab", "Alt+F4" })
            l.append(lies(QString::fromLatin1(t)));
        return l;
    }();
    return tasten;
}

bool nurUmschalttaste(int taste)
{
    return taste == Qt::Key_unknown || taste == Qt::Key_Control || taste == Qt::Key_Shift
        || taste == Qt::Key_Alt || taste == Qt::Key_Meta || taste == Qt::Key_AltGr;
}

} // namespace

bool Tastenbelegung::belegbar(const QString& befehl)
{
    const Befehl* b = FindeBefehl(befehl);
    return b && b->name == befehl && b->ziel != Befehlsziel::Historie
        && Befehlskategorien().contains(b->band);
}

QList<QKeySequence> Tastenbelegung::vorgabe(const QString& befehl)
{
    const Befehl* b = FindeBefehl(befehl);
    if (!b || b->tastenkuerzel.isEmpty())
        return {};
    return { lies(b->tastenkuerzel) };
}

QKeySequence Tastenbelegung::ersteTaste(const QKeySequence& folge)
{
    return folge.isEmpty() ? QKeySequence() : QKeySequence(folge[0]);
}

Tastensperre Tastenbelegung::sperre(const QKeySequence& taste)
{
    using G = Tastensperre::Grund;
    const QKeySequence t = ersteTaste(taste);
    if (t.isEmpty() || nurUmschalttaste(t[0].key()))
        return { G::Leer, {} };
    if (reservierteTasten().contains(t))
        return { G::Arbeitsfenster, {} };
    const Qt::KeyboardModifiers umschalter = t[0].keyboardModifiers();
    if (umschalter == Qt::AltModifier) {
        for (const QString& band : Menuebaender()) {
            if (QKeySequence::mnemonic(Bandtitel(band)) == t)
                return { G::Menue, QString(Bandtitel(band)).remove(QLatin1Char('&')) };
        }
    }
    const int taste0 = t[0].key();
    const bool funktionstaste = taste0 >= Qt::Key_F1 && taste0 <= Qt::Key_F35;
    if (!funktionstaste
        && !(umschalter & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return { G::OhneStrgAlt, {} };
    return {};
}

QList<QKeySequence> Tastenbelegung::tasten(const QString& befehl) const
{
    const auto it = m_aenderungen.constFind(befehl);
    return it != m_aenderungen.cend() ? *it : vorgabe(befehl);
}

QString Tastenbelegung::inhaber(const QKeySequence& taste) const
{
    const QKeySequence t = ersteTaste(taste);
    if (t.isEmpty())
        return {};
    for (const Befehl& b : Befehlstabelle()) {
        if (belegbar(b.name) && tasten(b.name).contains(t))
            return b.name;
    }
    return {};
}

bool Tastenbelegung::zuweisen(const QString& befehl, const QKeySequence& taste)
{
    if (!belegbar(befehl) || sperre(taste).grund != Tastensperre::Grund::Keine)
        return false;
    const QKeySequence t = ersteTaste(taste);
    const QString bisher = inhaber(t);
    if (bisher == befehl)
        return true;
    if (!bisher.isEmpty())
        entfernen(bisher, t);
    setze(befehl, tasten(befehl) << t);
    return true;
}

bool Tastenbelegung::entfernen(const QString& befehl, const QKeySequence& taste)
{
    QList<QKeySequence> liste = tasten(befehl);
    if (liste.removeAll(ersteTaste(taste)) == 0)
        return false;
    setze(befehl, liste);
    return true;
}

void Tastenbelegung::zuruecksetzen()
{
    m_aenderungen.clear();
}

void Tastenbelegung::setze(const QString& befehl, const QList<QKeySequence>& tasten)
{
    if (tasten == vorgabe(befehl))
        m_aenderungen.remove(befehl);
    else
        m_aenderungen.insert(befehl, tasten);
}

QJsonObject Tastenbelegung::alsJson() const
{
    QJsonObject o;
    for (auto it = m_aenderungen.cbegin(); it != m_aenderungen.cend(); ++it) {
        QJsonArray liste;
        for (const QKeySequence& t : *it)
            liste.append(t.toString(QKeySequence::PortableText));
        o.insert(it.key(), liste);
    }
    return o;
}

Tastenbelegung Tastenbelegung::ausJson(const QJsonObject& objekt)
{
    Tastenbelegung b;
    for (auto it = objekt.constBegin(); it != objekt.constEnd(); ++it) {
        if (!belegbar(it.key()) || !it->isArray())
            continue;
        QList<QKeySequence> liste;
        bool heil = true;
        for (const QJsonValue& wert : it->toArray()) {
            const QKeySequence t
                = QKeySequence::fromString(wert.toString(), QKeySequence::PortableText);
            heil = wert.isString() && t.count() == 1 && !liste.contains(t)
                && sperre(t).grund == Tastensperre::Grund::Keine;
            if (!heil)
                break;
            liste.append(t);
        }
        if (heil)
            b.setze(it.key(), liste);
    }
    // A key on two commands (an edited file): the changed ones lose their changes, the designed
    // keys never collide.
    for (bool doppelt = true; doppelt;) {
        doppelt = false;
        QHash<QKeySequence, QString> besitzer;
        for (const Befehl& befehl : Befehlstabelle()) {
            if (!belegbar(befehl.name))
                continue;
            for (const QKeySequence& t : b.tasten(befehl.name)) {
                const QString erster = besitzer.value(t);
                if (erster.isEmpty()) {
                    besitzer.insert(t, befehl.name);
                    continue;
                }
                doppelt = b.m_aenderungen.remove(erster) + b.m_aenderungen.remove(befehl.name) > 0;
                break;
            }
            if (doppelt)
                break;
        }
    }
    return b;
}

} // namespace kv
