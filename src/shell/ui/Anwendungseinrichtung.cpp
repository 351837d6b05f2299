#include "shell/ui/Anwendungseinrichtung.h"

#include "shell/Anwendung.h"
#include "widgets/QtDialoge.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kv {

void DeutscheUebersetzungenLaden(QCoreApplication& app)
{
    const QString pfad = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : { "qtbase_de", "qt_de" }) {
        auto* uebersetzer = new QTranslator(&app);
        if (uebersetzer->load(QString::fromLatin1(name), pfad))
            QCoreApplication::installTranslator(uebersetzer);
        else
            delete uebersetzer;
    }
}

std::unique_ptr<Dialoge> Programmdialoge()
{
    return std::make_unique<QtDialoge>(Anwendungstitel);
}

} // namespace kv
