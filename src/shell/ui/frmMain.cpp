#include "shell/ui/frmMain.h"

#include "shell/Anwendung.h"

#include <QMdiArea>

namespace kv {

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setCentralWidget(new QMdiArea(this));
    // The caption keeps its trailing blank, as the program always showed it.
    setWindowTitle(Anwendungstitel + QLatin1Char(' '));
    resize(1024, 700);
}

} // namespace kv
