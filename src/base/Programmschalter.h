#pragma once

namespace kv {

/// Switches read from the settings at start-up that the child windows and the report output
/// read when they open: their tool bars and the report output choices. The options dialog sets
/// them again when the user changes them.
struct Programmschalter {
    /// "IconFensterToolbarKlein": small icons in the child windows' tool bars.
    bool iconFensterToolbarKlein = true;
    /// "IconFensterToolbarTextanzeige": 0 off, 1 left, 2 right, 3 above, 4 below the icon.
    int iconFensterToolbarTextanzeige = 4;
    /// "ReportausgabeZielSpeichern": the report output dialog remembers its last target.
    bool reportausgabeZielSpeichern = false;
    /// "EmailAusgabemitDialog": e-mail output of reports shows the mail dialog.
    bool emailAusgabemitDialog = true;
    /// "ReportDateiÄnderbar": true locks the report layouts against changes.
    bool reportDateiAenderbar = false;

    bool operator==(const Programmschalter&) const = default;
};

/// The current switches (a copy; safe from any thread).
Programmschalter programmschalter();
void setzeProgrammschalter(const Programmschalter& schalter);

} // namespace kv
