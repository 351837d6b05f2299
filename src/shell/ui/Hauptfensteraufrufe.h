#pragma once

#include "shell/Datenbankbefehle.h"

#include <QWidget>

namespace kv {

/// The windows the main window's commands open, as far as they exist.
class Hauptfensteraufrufe : public Fensteraufrufe {
public:
    explicit Hauptfensteraufrufe(QWidget& hauptfenster)
        : m_hauptfenster(hauptfenster)
    { }
    void texteAnpassen() override;
    void webupdate() override;
    void info() override;

private:
    QWidget& m_hauptfenster;
};

/// Starts the web-update window for the main window; also the answer to the start-up question.
void WebUpdateFuerHauptfenster(QWidget& hauptfenster);

} // namespace kv
