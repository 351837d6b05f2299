#pragma once

#include "shell/Hauptfensterzugang.h"

#include <memory>

namespace kv {

class Zentraleanzeige;
class frmMain;

/// The database handling's access to the real main window.
class frmMainZugang : public Hauptfensterzugang {
public:
    /// Without zentrale the navigator is neither shown nor unloaded.
    explicit frmMainZugang(frmMain& fenster, std::shared_ptr<Zentraleanzeige> zentrale = nullptr)
        : m_fenster(fenster)
        , m_zentrale(std::move(zentrale))
    { }
    void setzeBefehlsstatus(bool offen, bool nurLesen, bool transaktionen) override;
    void setzeAktiveDatenbank(const QString& datenbank) override;
    void setzeWerkzeugAktiv(const QString& name, bool aktiv) override;
    Historienliste& historie() override;
    void entladeFenster(int n) override;
    int fensteranzahl() const override;
    void sicherungStarten(const SicherungsAuftrag& auftrag) override;
    void zentraleAktualisieren() override;
    void zentraleEntladen() override;

private:
    frmMain& m_fenster;
    std::shared_ptr<Zentraleanzeige> m_zentrale;
};

} // namespace kv
