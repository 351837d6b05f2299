#include "shell/ui/frmMain.h"
#include "widgets/QtDialoge.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

namespace {

// Standard dialogs (file dialogs, message box buttons) speak German, whatever the machine's locale.
void ladeQtUebersetzungen(QApplication& app)
{
    const QString pfad = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : { "qtbase_de", "qt_de" }) {
        auto* uebersetzer = new QTranslator(&app);
        if (uebersetzer->load(QString::fromLatin1(name), pfad))
            QApplication::installTranslator(uebersetzer);
        else
            delete uebersetzer;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvado"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ladeQtUebersetzungen(app);

    kv::QtDialoge dialoge;
    kv::Dialoge::setze(&dialoge);

    kv::frmMain hauptfenster;
    hauptfenster.show();

    // Used by the start test: show the window, report its caption, end.
    if (QApplication::arguments().contains(QStringLiteral("--beenden-nach-start"))) {
        QTimer::singleShot(0, &app, [&] {
            std::printf("%s\n", qPrintable(hauptfenster.windowTitle()));
            std::fflush(stdout);
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
