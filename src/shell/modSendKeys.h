#pragma once

#include "shell/SendKeys.h"

#include <QString>
#include <Qt>
#include <vector>

class QObject;

namespace kv {

/// Sends key strings to the program's own windows as Qt key events, so that a command can
/// trigger the keyboard shortcuts of a window or control ("{F7}", "^{F7}", "{TAB}").
class modSendKeys {
public:
    /// Parses `keys` and delivers the events at once, in order. Without `ziel` each event goes
    /// to the object that has the focus at that moment (a Tab moves it on).
    static void send(const QString& keys, QObject* ziel = nullptr);
    /// See SendKeys::press.
    static void press(int code, int modifiers, int count, QObject* ziel = nullptr);
    /// Delivers ready-made events: pending events run before each one, shortcuts are tried
    /// before a key reaches its receiver, and the modifiers of each event are the modifier
    /// keys held down by the events so far.
    static void zustellen(const std::vector<KeyEvent>& ereignisse, QObject* ziel = nullptr);

    /// Qt key for a virtual key code; Qt::Key_unknown for codes without one.
    static Qt::Key qtTaste(int code);
};

/// Presses and releases the Tab key once: the focus moves to the next control.
void TabSenden();

} // namespace kv
