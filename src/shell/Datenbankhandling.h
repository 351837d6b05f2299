#pragma once

#include "shell/Datenbankbefehle.h"

#include <QString>
#include <memory>

namespace kv {

class AktuelleDatenbank;
class Hauptfensterzugang;

/// Opening, creating, closing and copying the one database, its maintenance commands and the
/// user-controlled transaction. Questions and messages go through the dialog seam.
class Datenbankhandling : public Datenbankbefehle {
public:
    explicit Datenbankhandling(
        std::unique_ptr<Hauptfensterzugang> fenster, AktuelleDatenbank* datenbank = nullptr);
    ~Datenbankhandling() override;

    AktuelleDatenbank& datenbank() { return *m_db; }

    /// Opens Datenbank with the current type and read-only flag (asking for the password when
    /// the database has one); on success stores the settings and adds the history entry.
    /// Returns true when a database is open afterwards.
    bool OeffneDatenbank();
    /// Ends a running transaction (asking how), closes the database and clears the display.
    void SchliesseDatenbank();
    /// neu false: open; neu true: new database; both true: save as.
    void DateiDialog(bool neu, bool speichernUnter);
    /// True when no child window is left (asks before closing them).
    bool AlleFensterSchliessen();
    void SetzeBefehlsstatus(bool offen);

    void neu() override { DateiDialog(true, false); }
    void oeffnen() override { DateiDialog(false, false); }
    void schliessen() override;
    void speichern() override;
    void speichernUnter() override { DateiDialog(true, true); }
    void komprimieren() override;
    void reparieren() override;
    void sichern() override { sicherung(false); }
    void ruecksichern() override { sicherung(true); }
    void historieOeffnen(int nummer) override;
    void transaktionBeginnen() override;
    void transaktionUpdate() override;
    void transaktionRollback() override;
    void beenden() override;

private:
    /// OeffneDatenbank starting with the connect text (";pwd=…" when known).
    bool oeffneMit(QString connect);
    /// Opens another database; when it cannot be opened, the one open before is opened again.
    /// True when the new one is open.
    bool wechsleZu(const QString& pfad, int typ, bool nurLesen);
    void speichernUnterPfad(const QString& pfad);
    void transaktionswerkzeuge(bool laeuft);
    /// Offers to convert Datenbank, a file of the previous engine, into a new database beside
    /// it; true when the conversion succeeded and Datenbank is now the new file.
    bool umwandeln();
    /// True for the engine's own file (or none open); otherwise tells the user that the action
    /// ("Das Komprimieren") needs it and returns false.
    bool eigenesFormat(const QString& aktion);
    void sicherung(bool ruecksicherung);

    std::unique_ptr<Hauptfensterzugang> m_fenster;
    AktuelleDatenbank* m_db;
};

} // namespace kv
