#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace kv {

class frmMain;

/// Installation folder tried when the icons are not beside the program.
inline const QString Installationsverzeichnis = QStringLiteral("/usr/share/kelvado/");

/// The program's start: prepares the process-wide values, shows the start window while the
/// main window is built, reopens the database of the previous run and asks about the web
/// update. Returns the shown main window.
std::unique_ptr<frmMain> GMainEP(const QStringList& argumente,
    const QString& installationsverzeichnis = Installationsverzeichnis);

} // namespace kv
