#pragma once

#include "shell/Datenbankbefehle.h"

#include <QWidget>
#include <memory>

namespace kv {

class Zentraleanzeige;

/// The windows the main window's commands open, as far as they exist.
class Hauptfensteraufrufe : public Fensteraufrufe {
public:
    /// Without zentrale "bearbeitendatenzentrale" does nothing.
    explicit Hauptfensteraufrufe(
        QWidget& hauptfenster, std::shared_ptr<Zentraleanzeige> zentrale = nullptr)
        : m_hauptfenster(hauptfenster)
        , m_zentrale(std::move(zentrale))
    { }
    void datenzentrale() override;
    void texteAnpassen() override;
    void webupdate() override;
    void info() override;

private:
    QWidget& m_hauptfenster;
    std::shared_ptr<Zentraleanzeige> m_zentrale;
};

/// Starts the web-update window for the main window; also the answer to the start-up question.
void WebUpdateFuerHauptfenster(QWidget& hauptfenster);

} // namespace kv
