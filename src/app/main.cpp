#include "base/Fehlermeldung.h"
#include "beispiel/Beispieldatenbank.h"
#include "beispiel/Beispieldefinitionen.h"
#include "engine/EngineError.h"
#include "shell/Einstellungen.h"
#include "shell/ui/Anwendungseinrichtung.h"
#include "shell/ui/GMainEP.h"
#include "shell/ui/frmMain.h"

#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

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

/// "kelvado --beispiel <Ordner>": makes the demo database with its table views and masks and ends
/// without touching the window system. nullopt when the option is not given.
std::optional<int> beispielErzeugen(int argc, char* argv[])
{
    int position = 1;
    while (position < argc && std::strcmp(argv[position], "--beispiel") != 0)
        ++position;
    if (position >= argc)
        return std::nullopt;
    QCoreApplication app(argc, argv);
    const QStringList argumente = QCoreApplication::arguments();
    if (position + 1 >= argumente.size() || argumente.at(position + 1).isEmpty()) {
        std::fprintf(stderr, "%s\n",
            qPrintable(QStringLiteral("Bitte geben Sie den Ordner für die Beispieldatenbank an: "
                                      "kelvado --beispiel <Ordner>")));
        return 2;
    }
    try {
        const QString pfad = kv::erzeugeBeispieldatenbank(argumente.at(position + 1));
        kv::schreibeBeispieldefinitionen(pfad);
        std::printf("%s\n", qPrintable(pfad));
        return 0;
    } catch (const kv::engine::EngineError& e) {
        std::fprintf(stderr, "%s\n",
            qPrintable(kv::fehlermeldung(
                QStringLiteral("Die Beispieldatenbank konnte nicht erzeugt werden!"), e.number(),
                e.description())));
        return 1;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> ergebnis = beispielErzeugen(argc, argv))
        return *ergebnis;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvado"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    kv::DeutscheUebersetzungenLaden(app);

    // A different settings folder (tests, portable use); the user's own store otherwise.
    const QString ordner = qEnvironmentVariable("KV_EINSTELLUNGEN");
    if (!ordner.isEmpty())
        kv::Einstellungen::setzeSpeicherordner(ordner);

    QStringList argumente = QApplication::arguments().mid(1);
    // Used by the start test: start without asking anything, report the caption, end.
    const bool nurStart = argumente.removeAll(QStringLiteral("--beenden-nach-start")) > 0;
    const std::unique_ptr<kv::Dialoge> programmdialoge = kv::Programmdialoge();
    StummeDialoge stumm;
    kv::Dialoge::setze(nurStart ? static_cast<kv::Dialoge*>(&stumm) : programmdialoge.get());

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
