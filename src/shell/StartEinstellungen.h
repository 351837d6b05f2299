#pragma once

#include <QString>
#include <optional>

namespace kv {

class Einstellungen;

/// Database type from the last three characters of a path, in capitals: "MDB" 1, "DBF" 2,
/// ".DB" 11, "XLS" 14; 0 for any other ending.
int DatenbankTypAusEndung(const QString& pfad);

/// The database to reopen at start-up.
struct LetzteDatenbank {
    QString pfad;
    int typ = 0;
    bool nurLesen = false;
};

/// The settings read at start-up, with the defaults of a first start. Values of the wrong form
/// never fail: they give the default (or, for the database type, 0 = derive from the path).
struct StartEinstellungen {
    /// 0 normal, 1 minimised, 2 maximised; -1 for any other stored text (window stays as designed).
    int mainState = 0;
    QString schriftart = QStringLiteral("Arial");
    float schriftpoint = 8;
    QString schriftartMenue = QStringLiteral("MS Sans Serif");
    float schriftpointMenue = 8;
    QString datenbank;
    int datenbankTyp = 1;
    bool iconToolbarKlein = true;
    int toolbarTextanzeige = 0;
    bool iconFensterToolbarKlein = true;
    int iconFensterToolbarTextanzeige = 4;
    bool hauptStatusleisteAnzeigen = true;
    bool hauptSymbolleisteAnzeigen = true;
    bool reportausgabeZielSpeichern = false;
    bool emailAusgabemitDialog = true;
    bool reportDateiAenderbar = false;
    /// Main window position and size in twips; nullopt leaves the designed value.
    std::optional<int> mainTop;
    std::optional<int> mainLeft;
    std::optional<int> mainHeight;
    std::optional<int> mainWidth;
    QString mruListe;
    bool datenbankNurLesen = false;
    QString datenbankAktionStatus;

    static StartEinstellungen lade(const Einstellungen& e);

    /// The database of the previous run (after the command line may have replaced it);
    /// nullopt when there is none. Type 0 is derived from the path's ending; the read-only flag
    /// counts only for a known type.
    std::optional<LetzteDatenbank> letzteDatenbank() const;
};

} // namespace kv
