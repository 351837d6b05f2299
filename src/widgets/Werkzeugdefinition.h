#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>

namespace kv {

/// One entry of a tool-definition string: name;caption;icon;tool tip;shortcuts;modes.
struct Werkzeug {
    /// What the click handler receives.
    QString name;
    /// Caption with "&" marking the access key; empty for an icon-only tool.
    QString text;
    /// Icon base name (see Symboldatei).
    QString symbol;
    QString tooltip;
    /// Shortcuts as written ("Alt+Z", "Control+Shift+T", "F9").
    QStringList tastenkuerzel;
    /// Digits of the bar modes that show the tool; empty means every mode.
    QString modi;
    /// An empty entry of the string: a separator line.
    bool trennlinie = false;

    /// True when a bar in modus (1 to 9) shows the tool; a bar in mode 0 shows nothing.
    bool sichtbarImModus(int modus) const;
    /// The shortcuts as key sequences; unknown key names are left out.
    QList<QKeySequence> tastenfolgen() const;

    bool operator==(const Werkzeug&) const = default;
};

/// Splits a tool-definition string: tools separated by "|", an empty entry is a separator, the
/// pieces of a tool separated by ";" and trimmed, several shortcuts separated by ",". Separators
/// at the very end are dropped, since they would separate nothing.
QList<Werkzeug> WerkzeugeAusDefinition(const QString& definition);

/// A shortcut text ("Control+Shift+T", "Strg+Umschalt+T") as a key sequence; empty when a key
/// name is unknown.
QKeySequence Tastenfolge(const QString& text);
/// A key sequence as shown to the user: "Strg+" and "Umschalt+" for the modifier keys.
QString Tastentext(const QKeySequence& folge);

} // namespace kv
