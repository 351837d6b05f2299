#pragma once

#include <QString>

namespace kv {

class Historienliste;
struct SicherungsAuftrag;

/// What the database handling needs from the main window, so that it stays free of widgets.
class Hauptfensterzugang {
public:
    virtual ~Hauptfensterzugang() = default;
    /// Enables the database commands for an open database or none.
    virtual void setzeBefehlsstatus(bool offen, bool nurLesen, bool transaktionen) = 0;
    /// Shows the open database; an empty path shows that none is open.
    virtual void setzeAktiveDatenbank(const QString& datenbank) = 0;
    virtual void setzeWerkzeugAktiv(const QString& name, bool aktiv) = 0;
    virtual Historienliste& historie() = 0;
    /// Unloads windows while more than n are loaded (the main window counts as the first).
    virtual void entladeFenster(int n) = 0;
    /// Loaded windows, the main window included.
    virtual int fensteranzahl() const = 0;
    /// Refreshes and shows the central navigator after an open.
    virtual void zentraleAktualisieren() { }
    /// Unloads the central navigator.
    virtual void zentraleEntladen() { }
    /// Runs the backup or restore window for the order; returns when it is closed.
    virtual void sicherungStarten(const SicherungsAuftrag& auftrag) { static_cast<void>(auftrag); }
};

} // namespace kv
