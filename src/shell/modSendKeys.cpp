#include "shell/modSendKeys.h"

#include "shell/DeutscheTastatur.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>

// Exported by QtGui for synthetic input: offers the key to the shortcut map the way a key from
// the window system is offered, and sets the application's modifier state.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
    Qt::KeyboardModifiers mods, const QString& text = QString(), bool autorep = false,
    ushort count = 1);
QT_END_NAMESPACE

namespace kv {

namespace {

struct Codepaar {
    int code;
    Qt::Key taste;
};

constexpr Codepaar besondereTasten[] = {
    { 8, Qt::Key_Backspace },
    { 9, Qt::Key_Tab },
    { 13, Qt::Key_Return },
    { 16, Qt::Key_Shift },
    { 17, Qt::Key_Control },
    { 18, Qt::Key_Alt },
    { 19, Qt::Key_Pause },
    { 20, Qt::Key_CapsLock },
    { 27, Qt::Key_Escape },
    { 32, Qt::Key_Space },
    { 33, Qt::Key_PageUp },
    { 34, Qt::Key_PageDown },
    { 35, Qt::Key_End },
    { 36, Qt::Key_Home },
    { 37, Qt::Key_Left },
    { 38, Qt::Key_Up },
    { 39, Qt::Key_Right },
    { 40, Qt::Key_Down },
    { 42, Qt::Key_Print },
    { 44, Qt::Key_Print },
    { 45, Qt::Key_Insert },
    { 46, Qt::Key_Delete },
    { 144, Qt::Key_NumLock },
    { 145, Qt::Key_ScrollLock },
};

Qt::KeyboardModifier modifierFuer(int code)
{
    switch (code) {
    case 16:
        return Qt::ShiftModifier;
    case 17:
        return Qt::ControlModifier;
    case 18:
        return Qt::AltModifier;
    default:
        return Qt::NoModifier;
    }
}

} // namespace

Qt::Key modSendKeys::qtTaste(int code)
{
    for (const Codepaar& p : besondereTasten) {
        if (p.code == code)
            return p.taste;
    }
    if (code >= 112 && code <= 127)
        return static_cast<Qt::Key>(Qt::Key_F1 + (code - 112));
    // Character keys are named after what they type without modifiers, as Qt does.
    const QChar grundzeichen = DeutscheTastatur::zeichen(code, 0);
    if (!grundzeichen.isNull())
        return static_cast<Qt::Key>(grundzeichen.toUpper().unicode());
    return Qt::Key_unknown;
}

void modSendKeys::zustellen(const std::vector<KeyEvent>& ereignisse, QObject* ziel)
{
    const QPointer<QObject> festesZiel(ziel);
    Qt::KeyboardModifiers gehalten;
    for (const KeyEvent& e : ereignisse) {
        QCoreApplication::processEvents();
        if (ziel && !festesZiel)
            return; // the receiver went away meanwhile
        QObject* empfaenger = ziel ? ziel : QGuiApplication::focusObject();

        const Qt::KeyboardModifier modifier = modifierFuer(e.code);
        if (e.runter)
            gehalten |= modifier;
        const Qt::Key taste = qtTaste(e.code);
        const QString text = e.zeichen.isNull() ? QString() : QString(e.zeichen);
        const QEvent::Type art = e.runter ? QEvent::KeyPress : QEvent::KeyRelease;
        if (empfaenger) {
            const bool alsKurzbefehl
                = e.runter && qt_sendShortcutOverrideEvent(empfaenger, 0, taste, gehalten, text);
            if (!alsKurzbefehl) {
                QKeyEvent ereignis(art, taste, gehalten, 0, static_cast<quint32>(e.code), 0, text);
                QCoreApplication::sendEvent(empfaenger, &ereignis);
            }
        }
        if (!e.runter)
            gehalten &= ~modifier;
    }
}

void modSendKeys::send(const QString& keys, QObject* ziel)
{
    zustellen(SendKeys::parse(keys), ziel);
}

void modSendKeys::press(int code, int modifiers, int count, QObject* ziel)
{
    zustellen(
        SendKeys::press(code, modifiers, count, DeutscheTastatur::zeichen(code, modifiers)), ziel);
}

void TabSenden()
{
    modSendKeys::press(9, 0, 1);
}

} // namespace kv
