#pragma once

#include <QChar>
#include <optional>

namespace kv {

/// Modifier bits of a key press, as the key-string notation and the layout table use them.
enum Umschaltung : int { UmschaltTaste = 1, StrgTaste = 2, AltTaste = 4 };

/// A key of the keyboard and the modifiers needed to type one character with it.
struct Tastenanschlag {
    /// Windows virtual key code.
    int code = 0;
    /// Bit set of Umschaltung.
    int umschaltung = 0;
};

/// The German (QWERTZ) keyboard layout as virtual key codes: which key types a character, and
/// which character a key types. Key strings are written for this layout whatever the machine's
/// own keyboard is.
class DeutscheTastatur {
public:
    /// Key and modifiers for a character; nullopt for characters the layout cannot type.
    static std::optional<Tastenanschlag> taste(QChar zeichen);
    /// The character a key types with the given modifiers; a null QChar when it types none
    /// (a control combination, a key that is not a character key).
    static QChar zeichen(int code, int umschaltung);
};

} // namespace kv
