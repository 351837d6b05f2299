#pragma once

#include <QString>
#include <optional>

namespace kv {

/// Button sets of a message box.
enum class Knoepfe { Ok, OkAbbrechen, JaNein, JaNeinAbbrechen };

enum class Symbol { Keins, Frage, Information, Warnung, Kritisch };

enum class Antwort { Ok, Abbrechen, Ja, Nein };

struct Meldung {
    QString text;
    QString titel;
    Knoepfe knoepfe = Knoepfe::Ok;
    Symbol symbol = Symbol::Keins;
    /// 1-based position of the preselected button within the set (1 = first).
    int standardKnopf = 1;
};

struct DateiDialogOptionen {
    bool speichern = false;
    QString titel;
    /// "Text|Muster|Text|Muster" (patterns separated by ";" inside one entry).
    QString filter;
    /// 1-based index into the filter entries.
    int filterIndex = 1;
    QString startVerzeichnis;
    QString dateiname;
    bool schreibgeschuetztAnzeigen = false;
    bool schreibgeschuetzt = false;
    bool ueberschreibenFragen = true;
    /// Choose a folder instead of a file (the answer's pfad is the folder; filter and read-only
    /// choice do not apply).
    bool ordner = false;
};

struct DateiDialogErgebnis {
    bool abgebrochen = true;
    QString pfad;
    int filterIndex = 1;
    bool schreibgeschuetzt = false;
};

/// Every question and message of the program goes through this seam, so that tests can
/// read the texts and answer the questions. The application installs the Qt implementation.
class Dialoge {
public:
    virtual ~Dialoge() = default;

    virtual Antwort meldung(const Meldung& m) = 0;
    /// Text input box; nullopt when the user cancels.
    virtual std::optional<QString> eingabe(
        const QString& aufforderung, const QString& titel, const QString& vorgabe)
        = 0;
    virtual DateiDialogErgebnis dateiDialog(const DateiDialogOptionen& o) = 0;

    /// The installed implementation; never null once the application or a test set one.
    static Dialoge& aktuell();
    /// Installs d (not owned); returns the previous one.
    static Dialoge* setze(Dialoge* d);
};

/// Shorthand for the common message box.
Antwort zeigeMeldung(const QString& text, const QString& titel = QString(),
    Knoepfe knoepfe = Knoepfe::Ok, Symbol symbol = Symbol::Keins, int standardKnopf = 1);

} // namespace kv
