#include "shell/ui/GMainEP.h"

#include "base/Hilfe.h"
#include "base/Zahlenformate.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Datenbankhandling.h"
#include "shell/Hilfeseiten.h"
#include "shell/Historienliste.h"
#include "shell/Objektuebergabe.h"
#include "shell/Programmstart.h"
#include "shell/Prozesswerte.h"
#include "shell/WebUpdate.h"
#include "shell/ui/Fensterzustand.h"
#include "shell/ui/Hauptfensteraufrufe.h"
#include "shell/ui/Maskenuebergabe.h"
#include "shell/ui/Strukturanzeige.h"
#include "shell/ui/Tabellenfenster.h"
#include "shell/ui/Zentraleanzeige.h"
#include "shell/ui/about.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmMainZugang.h"
#include "shell/ui/passwort.h"
#include "tables/ui/Recordsetansicht.h"
#include "tables/ui/TabellenStrukturEditor.h"

#include <QApplication>
#include <QPointer>
#include <QStyle>

namespace kv {

namespace {

/// Qt's stand-in for the platform's visual theme: any style but the plain classic one.
bool ThemaAktiv()
{
    const QStyle* stil = QApplication::style();
    return stil && stil->name().compare(QStringLiteral("windows"), Qt::CaseInsensitive) != 0;
}

} // namespace

std::unique_ptr<frmMain> GMainEP(
    const QStringList& argumente, const QString& installationsverzeichnis)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool thema = ThemaAktiv();

    auto startfenster = std::make_unique<about>(true);
    startfenster->show();
    QApplication::processEvents();

    const Startzustand start = ProgrammstartVorbereiten(argumente, thema, installationsverzeichnis);

    auto hauptfenster = std::make_unique<frmMain>();
    HauptfensterzustandAnwenden(hauptfenster.get(), start.werte);
    // The navigator is shown by the database handling after an open and by the menu command.
    auto zentrale = std::make_shared<Zentraleanzeige>(*hauptfenster);
    auto handling = std::make_unique<Datenbankhandling>(
        std::make_unique<frmMainZugang>(*hauptfenster, zentrale), &aktuelleDatenbank());
    Datenbankhandling* datenbank = handling.get();
    zentrale->setzeDatenbankhandling(datenbank);
    hauptfenster->setzeDatenbankbefehle(std::move(handling));
    hauptfenster->setzeFensteraufrufe(std::make_unique<Hauptfensteraufrufe>(
        *hauptfenster, zentrale, [datenbank] { return datenbank->AlleFensterSchliessen(); }));
    // The protected commands ask through the password dialog.
    PasswortDialogEinrichten();
    MaskenfensterAnmelden(hauptfenster->mdiArea(), aktuelleDatenbank());
    objektuebergabe().texteditor
        = [fenster = QPointer<QWidget>(hauptfenster.get())](
              bool maske, const QString& tabelle, const QString& text, const QString& datei) {
              TabellenStrukturEditor editor(
                  maske, tabelle, text, datei, aktuelleDatenbank().Datenbank, fenster);
              editor.setFont(Programmschrift());
              editor.setProperty(HilfeseiteEigenschaft, Hilfeseiten::Texteditor);
              editor.exec();
          };
    TabellenfensterEinrichten(hauptfenster->mdiArea(), datenbank->datenbank(), Recordsetansicht());

    StrukturGeneratorEinrichten(hauptfenster->mdiArea(), aktuelleDatenbank());

    hauptfenster->historie().leeren();
    if (!start.werte.mruListe.isEmpty())
        hauptfenster->historie().ausfuehren(Historienliste::Modus::Laden, start.werte.mruListe);

    QApplication::processEvents();
    startfenster.reset();
    QApplication::processEvents();
    hauptfenster->show();
    QApplication::restoreOverrideCursor();

    if (start.letzteDatenbank) {
        AktuelleDatenbank& d = datenbank->datenbank();
        d.Datenbank = start.letzteDatenbank->pfad;
        d.DatenbankTyp = start.letzteDatenbank->typ;
        d.DatenbankNurLesen = start.letzteDatenbank->nurLesen;
        datenbank->OeffneDatenbank();
        if (start.tabelle)
            StandardtabelleOeffnen(*start.tabelle);
    } else {
        datenbank->SetzeBefehlsstatus(false);
    }

    ZahlenformateNeuBilden();
    QApplication::processEvents();
    if (WebUpdateFragen(QDate::currentDate()))
        WebUpdateFuerHauptfenster(*hauptfenster);
    return hauptfenster;
}

} // namespace kv
