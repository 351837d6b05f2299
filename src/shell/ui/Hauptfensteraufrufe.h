#pragma once

#include "shell/Datenbankbefehle.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace kv {

class Zentraleanzeige;

/// The windows the main window's commands open, as far as they exist; the others answer that
/// they are not part of this version.
class Hauptfensteraufrufe : public Fensteraufrufe {
public:
    /// Without zentrale "bearbeitendatenzentrale" does nothing. alleFensterSchliessen asks to
    /// close the child windows before the commands that need that; without it they go on.
    explicit Hauptfensteraufrufe(QWidget& hauptfenster,
        std::shared_ptr<Zentraleanzeige> zentrale = nullptr,
        std::function<bool()> alleFensterSchliessen = {})
        : m_hauptfenster(hauptfenster)
        , m_zentrale(std::move(zentrale))
        , m_alleFensterSchliessen(std::move(alleFensterSchliessen))
    { }
    void datenzentrale() override;
    void strukturgenerator() override;
    void importExport(bool export_) override;
    void texteAnpassen() override;
    void webupdate() override;
    void info() override;

private:
    bool fensterGeschlossen() const;

    QWidget& m_hauptfenster;
    std::shared_ptr<Zentraleanzeige> m_zentrale;
    std::function<bool()> m_alleFensterSchliessen;
};

/// Starts the web-update window for the main window; also the answer to the start-up question.
void WebUpdateFuerHauptfenster(QWidget& hauptfenster);

} // namespace kv
