#pragma once

#include "base/Dialoge.h"

#include <memory>

class QCoreApplication;

namespace kv {

/// Loads Qt's German translations, so that the standard dialogs, buttons and the child windows'
/// system menus ("Minimieren", "Wiederherstellen") speak German whatever the machine's locale.
void DeutscheUebersetzungenLaden(QCoreApplication& app);

/// The program's questions and messages: Qt's boxes, captioned with the application title
/// when the message brings no caption of its own.
std::unique_ptr<Dialoge> Programmdialoge();

} // namespace kv
