#include "shell/Einstellungen.h"
#include "shell/ui/GMainEP.h"
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

// For a start without a user: every message goes to stderr, every question is cancelled.
class StummeDialoge : public kv::Dialoge {
public:
    kv::Antwort meldung(const kv::Meldung& m) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(m.text));
        switch (m.knoepfe) {
        case kv::Knoepfe::Ok:
            return kv::Antwort::Ok;
        case kv::Knoepfe::OkAbbrechen:
            return kv::Antwort::Abbrechen;
        default:
            return kv::Antwort::Nein;
        }
    }
    std::optional<QString> eingabe(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    kv::DateiDialogErgebnis dateiDialog(const kv::DateiDialogOptionen&) override { return {}; }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvado"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ladeQtUebersetzungen(app);

    // A different settings folder (tests, portable use); the user's own store otherwise.
    const QString ordner = qEnvironmentVariable("KV_EINSTELLUNGEN");
    if (!ordner.isEmpty())
        kv::Einstellungen::setzeSpeicherordner(ordner);

    QStringList argumente = QApplication::arguments().mid(1);
    // Used by the start test: start without asking anything, report the caption, end.
    const bool nurStart = argumente.removeAll(QStringLiteral("--beenden-nach-start")) > 0;
    kv::QtDialoge qtDialoge;
    StummeDialoge stumm;
    kv::Dialoge::setze(nurStart ? static_cast<kv::Dialoge*>(&stumm) : &qtDialoge);

    std::unique_ptr<kv::frmMain> hauptfenster = kv::GMainEP(argumente);
    hauptfenster->setAttribute(Qt::WA_QuitOnClose);

    if (nurStart) {
        QTimer::singleShot(0, &app, [&] {
            std::printf("%s\n", qPrintable(hauptfenster->windowTitle()));
            std::fflush(stdout);
            QApplication::quit();
        });
    }
    const int ergebnis = QApplication::exec();
    hauptfenster.reset();
    return ergebnis;
}
