// Where the table-view window opened by "/TABELLE:" shows its first rows, the name column's
// search-row cell and the name column's head, in screen coordinates. tableview_vs_db4s.py starts
// the real program on the same display with the same fresh settings folder and watches these
// places; this tool builds the same main window the same way, so the places are the same.
//
//   tableview_screen <file> [table] [column]   (defaults: Kunden, Name)
// Prints one line: rows=x,y,w,h search=x,y head=x,y

#include "base/Dialoge.h"
#include "shell/Einstellungen.h"
#include "shell/ui/Anwendungseinrichtung.h"
#include "shell/ui/GMainEP.h"
#include "shell/ui/frmMain.h"
#include "tables/ui/frmTabelle.h"
#include "widgets/DataGrid.h"
#include "widgets/Rasterkopf.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QTableView>
#include <cstdio>
#include <optional>

namespace {

// Nothing may wait for a user here: messages go to stderr, questions are cancelled.
class Stumm : public kv::Dialoge {
public:
    kv::Antwort meldung(const kv::Meldung& m) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(m.text));
        return m.knoepfe == kv::Knoepfe::Ok ? kv::Antwort::Ok : kv::Antwort::Abbrechen;
    }
    std::optional<QString> eingabe(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    kv::DateiDialogErgebnis dateiDialog(const kv::DateiDialogOptionen&) override { return {}; }
};

template <typename Bedingung> bool warteBis(Bedingung bedingung, int ms = 60000)
{
    QElapsedTimer t;
    t.start();
    while (!bedingung() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return bedingung();
}

int spalteMitTitel(const QAbstractItemModel& modell, const QString& titel)
{
    for (int i = 0; i < modell.columnCount(); ++i) {
        if (modell.headerData(i, Qt::Horizontal).toString() == titel)
            return i;
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvado"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    kv::DeutscheUebersetzungenLaden(app);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "tableview_screen <Datei> [Tabelle] [Spalte]\n");
        return 2;
    }
    const QString tabelle = args.size() > 2 ? args.at(2) : QStringLiteral("Kunden");
    const QString spaltentitel = args.size() > 3 ? args.at(3) : QStringLiteral("Name");
    const QString ordner = qEnvironmentVariable("KV_EINSTELLUNGEN");
    if (!ordner.isEmpty())
        kv::Einstellungen::setzeSpeicherordner(ordner);
    Stumm stumm;
    kv::Dialoge::setze(&stumm);

    auto hauptfenster = kv::GMainEP(
        { QStringLiteral("/MDB:") + args.at(1), QStringLiteral("/TABELLE:") + tabelle });
    kv::frmTabelle* fenster = nullptr;
    const bool da = warteBis([&] {
        fenster = hauptfenster->findChild<kv::frmTabelle*>();
        return fenster && fenster->isVisible() && fenster->TDBGrid1()->ansicht()->model()
            && fenster->TDBGrid1()->ansicht()->model()->rowCount() > 2;
    });
    if (!da) {
        std::fprintf(stderr, "Die Tabellenansicht %s erscheint nicht.\n", qPrintable(tabelle));
        return 1;
    }
    QCoreApplication::processEvents();
    QTableView* ansicht = fenster->TDBGrid1()->ansicht();
    const int spalte = spalteMitTitel(*ansicht->model(), spaltentitel);
    auto* kopf = qobject_cast<kv::Rasterkopf*>(ansicht->horizontalHeader());
    if (spalte < 0 || !kopf) {
        std::fprintf(stderr, "Die Spalte %s fehlt.\n", qPrintable(spaltentitel));
        return 1;
    }
    const QAbstractItemModel& m = *ansicht->model();
    const int letzte = std::min(m.columnCount() - 1, spalte + 4);
    const QPoint oben
        = ansicht->viewport()->mapToGlobal(ansicht->visualRect(m.index(0, spalte)).topLeft());
    const QPoint unten
        = ansicht->viewport()->mapToGlobal(ansicht->visualRect(m.index(2, letzte)).bottomRight());
    const QLineEdit* feld = kopf->suchfeld(spalte);
    const QPoint suche = feld ? feld->mapToGlobal(feld->rect().center()) : QPoint(-1, -1);
    const int mitte = kopf->sectionViewportPosition(spalte) + kopf->sectionSize(spalte) / 2;
    // The head's caption line lies above the search row: click its upper quarter.
    const QPoint kopfpunkt = kopf->mapToGlobal(QPoint(mitte, feld ? feld->y() / 2 : 4));
    std::printf("rows=%d,%d,%d,%d search=%d,%d head=%d,%d\n", oben.x(), oben.y(),
        unten.x() - oben.x(), unten.y() - oben.y(), suche.x(), suche.y(), kopfpunkt.x(),
        kopfpunkt.y());
    std::fflush(stdout);
    hauptfenster.reset();
    return 0;
}
