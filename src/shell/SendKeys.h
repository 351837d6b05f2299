#pragma once

#include <QChar>
#include <QString>
#include <vector>

namespace kv {

/// One synthetic key transition.
struct KeyEvent {
    bool runter = true;
    /// Windows virtual key code.
    int code = 0;
    /// What the key types with the modifiers held at that moment; null when it types nothing.
    QChar zeichen;

    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

/// The key-string notation ("+a", "^{F7}", "{TAB 3}", "~") turned into key transitions, without
/// touching any window. Delivery is modSendKeys' business.
class SendKeys {
public:
    /// Press down Shift, Ctrl, Alt as the bits of `modifiers` say (Umschaltung), press and
    /// release the key `count` times, release Alt, Ctrl, Shift. Nothing for count < 1.
    static std::vector<KeyEvent> press(int code, int modifiers, int count, QChar zeichen = {});

    /// All transitions of a key string, in order. Characters the German layout cannot type,
    /// unknown key names and a "{" without closing "}" produce nothing; the rest still counts.
    static std::vector<KeyEvent> parse(const QString& keys);

    /// Code of a key name in braces ("TAB", "STRG", "F7"; any case); 0 for unknown names.
    /// `mitAnzahl` is whether a repeat count follows the name.
    static int codeFuerName(const QString& name, bool mitAnzahl);

    /// Upper limit of a repeat count; a larger count makes the group invalid.
    static constexpr int MaxAnzahl = 9999;
};

} // namespace kv
