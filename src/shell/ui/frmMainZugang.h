#pragma once

#include "shell/Hauptfensterzugang.h"

namespace kv {

class frmMain;

/// The database handling's access to the real main window.
class frmMainZugang : public Hauptfensterzugang {
public:
    explicit frmMainZugang(frmMain& fenster)
        : m_fenster(fenster)
    { }
    void setzeBefehlsstatus(bool offen, bool nurLesen, bool transaktionen) override;
    void setzeAktiveDatenbank(const QString& datenbank) override;
    void setzeWerkzeugAktiv(const QString& name, bool aktiv) override;
    Historienliste& historie() override;
    void entladeFenster(int n) override;
    int fensteranzahl() const override;
    void sicherungStarten(const SicherungsAuftrag& auftrag) override;

private:
    frmMain& m_fenster;
};

} // namespace kv
