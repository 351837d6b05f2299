#include "tables/ui/frmTabelle.h"

#include "base/Format.h"
#include "base/NichtVerfuegbar.h"
#include "engine/Recordset.h"
#include "tables/Ansichtsspalten.h"
#include "tables/Hintergrundabfrage.h"
#include "tables/Tabellendefinitionsformat.h"
#include "tables/Tabellenwerkzeuge.h"
#include "tables/ui/Rasterspalten.h"
#include "widgets/DataGrid.h"
#include "widgets/Navigationsleiste.h"
#include "widgets/Werkzeugleiste.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

// Set-up, look, bars and keys of the table-view window; records, conditions, sorting, sums and
// the commands are in frmTabelleDaten.cpp.

namespace kv {

namespace {

/// Long work shows its bar only when it takes longer than this.
constexpr int FortschrittNachMs = 500;
/// Sums wait this long at most for the rows to be painted first.
constexpr int SummenSpaetestensMs = 200;

} // namespace

frmTabelle::frmTabelle(Tabellenumgebung umgebung, QWidget* parent)
    : QMainWindow(parent)
    , m_umgebung(std::move(umgebung))
    , m_anbindung(m_umgebung.modell ? m_umgebung.modell(this) : nullptr)
    , m_modell(m_anbindung ? m_anbindung->raster() : nullptr)
    , m_grid(new DataGrid(this))
    , m_leisten(new Fensterleisten(this, m_umgebung.leisten))
    , m_fortschritt(new QWidget(this))
    , m_fortschrittText(new QLabel(m_fortschritt))
    , m_fortschrittBalken(new QProgressBar(m_fortschritt))
    , m_summen(new Hintergrundabfrage(this))
    , m_schluessel(new Hintergrundabfrage(this))
    , m_ersteSeite(new Hintergrundabfrage(this))
    , m_alleNachErsterSeite(QThread::idealThreadCount() < 2)
    , m_fortschrittsverzoegerung(FortschrittNachMs)
{
    setObjectName(QStringLiteral("frmTabelle"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(m_umgebung.schrift);

    m_grid->setObjectName(QStringLiteral("TDBGrid1"));
    m_grid->setzeLoeschfrage(Loeschfrage::AbZweiZeilen);
    m_grid->setzeKopfstilBild(Kopfstil::Aufsteigend,
        m_umgebung.grafikverzeichnis + QStringLiteral("SortAufsteigend.bmp"));
    m_grid->setzeKopfstilBild(
        Kopfstil::Absteigend, m_umgebung.grafikverzeichnis + QStringLiteral("SortAbsteigend.bmp"));
    m_grid->setzeModell(m_modell);

    m_fortschritt->setObjectName(QStringLiteral("Fortschritt"));
    m_fortschrittText->setObjectName(QStringLiteral("FortschrittText"));
    m_fortschrittBalken->setRange(0, 0);
    m_fortschrittBalken->setMaximumHeight(m_fortschrittText->sizeHint().height());
    auto* zeile = new QHBoxLayout(m_fortschritt);
    zeile->setContentsMargins(4, 2, 4, 2);
    zeile->addWidget(m_fortschrittText, 1);
    zeile->addWidget(m_fortschrittBalken);
    m_fortschritt->hide();
    m_fortschrittVerzoegerung.setSingleShot(true);
    m_fortschrittVerzoegerung.setInterval(FortschrittNachMs);
    connect(&m_fortschrittVerzoegerung, &QTimer::timeout, this, [this] {
        if (arbeitLaeuft())
            m_fortschritt->show();
    });

    auto* mitte = new QWidget(this);
    auto* layout = new QVBoxLayout(mitte);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_fortschritt);
    setCentralWidget(mitte);

    connect(m_leisten, &Fensterleisten::werkzeugGeklickt, this, &frmTabelle::werkzeugGeklickt);
    Navigationsleiste* navigation = m_leisten->navigation();
    connect(navigation, &Navigationsleiste::schritt, this, [this](Navigationsschritt s) {
        if (s == Navigationsschritt::Letzter && zumEndeNachDenSchluesseln())
            return;
        m_grid->bewege(s);
        werkzeugeAktualisieren();
    });
    connect(navigation, &Navigationsleiste::befehl, this, [this](Navigationsbefehl b) {
        switch (b) {
        case Navigationsbefehl::Neu:
            neu(false);
            break;
        case Navigationsbefehl::Loeschen:
            loeschen();
            break;
        case Navigationsbefehl::Speichern:
            m_grid->aenderungenUebernehmen();
            break;
        case Navigationsbefehl::Abbrechen:
            m_grid->aenderungenVerwerfen();
            break;
        }
    });

    connect(m_grid, &DataGrid::aktuelleZeileGeaendert, this, &frmTabelle::positionAnzeigen);
    connect(m_grid, &DataGrid::aktuelleZelleGeaendert, this,
        [this](int, int spalte) { statuszeileAnzeigen(spalte); });
    m_suchzeilenTimer.setSingleShot(true);
    m_suchzeilenTimer.setInterval(0);
    connect(&m_suchzeilenTimer, &QTimer::timeout, this, &frmTabelle::suchzeileGeaendert);
    connect(m_grid, &DataGrid::suchtextGeaendert, &m_suchzeilenTimer, qOverload<>(&QTimer::start));
    connect(m_grid, &DataGrid::kopfGeklickt, this, &frmTabelle::kopfGeklickt);
    connect(m_grid, &DataGrid::hinzufuegenBegonnen, this, &frmTabelle::hinzufuegenBegonnen);
    connect(m_grid, &DataGrid::hinzufuegenBeendet, this, &frmTabelle::hinzufuegenBeendet);
    connect(m_grid, &DataGrid::zeileGespeichert, this, [this] { summenBerechnen(); });
    connect(m_grid, &DataGrid::zeilenGeloescht, this, [this] {
        if (m_grid->datenzeilen() == 0 && m_anbindung)
            m_anbindung->neuLesen();
        werkzeugeAktualisieren();
        positionAnzeigen();
        summenBerechnen();
    });
    connect(m_grid, &DataGrid::escapeOhneAenderung, this,
        [this] { werkzeugGeklickt(QStringLiteral("schließen")); });
    // The number of rows grows while a count runs.
    if (m_modell) {
        connect(m_modell, &QAbstractItemModel::rowsInserted, this, [this] {
            positionAnzeigen();
            werkzeugeAktualisieren();
        });
        // Also a count that leaves the number of rows as it was ends its bar.
        connect(m_modell, &Rastermodell::zaehlenBeendet, this, [this] {
            if (m_zaehlen) {
                m_zaehlen = false;
                arbeitEndet();
            }
            positionAnzeigen();
        });
    }
    connect(m_summen, &Hintergrundabfrage::fertig, this, &frmTabelle::summenAnzeigen);
    connect(m_summen, &Hintergrundabfrage::fehlgeschlagen, this, [this] { summenSynchron(); });
    m_summenSpaetestens.setSingleShot(true);
    m_summenSpaetestens.setInterval(SummenSpaetestensMs);
    connect(&m_summenSpaetestens, &QTimer::timeout, this, &frmTabelle::summenStarten);
    connect(m_schluessel, &Hintergrundabfrage::fertig, this, &frmTabelle::schluesselGelesen);
    connect(m_ersteSeite, &Hintergrundabfrage::fertig, this, &frmTabelle::ersteSeiteErhalten);
    // A first page that fails is no failure: the reading of all keys tells.
    connect(m_ersteSeite, &Hintergrundabfrage::fehlgeschlagen, this, [this](quint64 lauf) {
        if (lauf == m_ersteSeite->lauf() && m_neu.rs)
            alleStarten();
    });
    connect(m_schluessel, &Hintergrundabfrage::fehlgeschlagen, this,
        [this](quint64 lauf, qint64 nummer, const QString& beschreibung) {
            if (lauf == m_schluessel->lauf())
                schluesselFehler(nummer, beschreibung);
        });

    // Keys of the window besides the tools' own shortcuts.
    const auto taste = [this](const QKeySequence& folge, auto wirkung) {
        auto* a = new QAction(this);
        a->setShortcut(folge);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(a, &QAction::triggered, this, wirkung);
        addAction(a);
    };
    taste(QKeySequence(Qt::Key_F5), [] { FensterNichtVerfuegbar(); });
    taste(QKeySequence(Qt::Key_F8), [] { FensterNichtVerfuegbar(); });
    taste(QKeySequence(Qt::ALT | Qt::Key_R), [this] { aktualisieren(); });
    m_grid->ansicht()->installEventFilter(this);
    m_grid->ansicht()->viewport()->installEventFilter(this);
}

void frmTabelle::setzeFortschrittsverzoegerung(int ms)
{
    m_fortschrittsverzoegerung = ms;
    m_fortschrittVerzoegerung.setInterval(ms);
}

frmTabelle::~frmTabelle()
{
    // The grid goes before the model it shows.
    delete m_grid;
    m_grid = nullptr;
}

frmTabelle* frmTabelle::oeffnen(QMdiArea* mdi, const Tabellenumgebung& umgebung,
    const QString& tabelle, const QString& definitionText)
{
    auto* fenster = new frmTabelle(umgebung);
    if (mdi)
        mdi->addSubWindow(fenster);
    fenster->DefText(tabelle, definitionText);
    fenster->geometrieAnwenden();
    fenster->show();
    return fenster;
}

void frmTabelle::DefText(const QString& tabelle, const QString& definitionText)
{
    m_tabelle = tabelle;
    QString text = definitionText;
    m_standard = text.trimmed().isEmpty();
    if (m_standard)
        text = laufzeitStandardtext(tabelle);
    setWindowIcon(QIcon(m_umgebung.grafikverzeichnis + QStringLiteral("Tabelle")
        + (m_standard ? QStringLiteral("Standard") : QStringLiteral("Benutzer"))
        + QStringLiteral("32.ico")));
    m_definition = leseTabellendefinition(text).definition;
    m_vorgabenUmsetzen = m_standard || m_definition.datenbankVorgabenUmsetzen;

    kopfAnwenden();
    // A sorted or filtered source reads its keys in the background: the window shows at once.
    if (m_umgebung.datenbank)
        datenquelleLesen(m_definition.sql);
    m_spaltenNachLesen = liestDatensaetze() && m_definition.spalten.isEmpty();
    spaltenAnwenden();
    leistenAufbauen();
    sperreAnwenden();
    werkzeugeAktualisieren();
    positionAnzeigen();
    summenBerechnen();
    zaehlenBeobachten();
}

void frmTabelle::kopfAnwenden()
{
    const Tabellendefinition& d = m_definition;
    setWindowTitle(d.titel);
    m_grid->setzeTitel(d.tabellenTitel);
    if (d.schriftgroesse > 5)
        m_grid->setzeSchriftgroesse(d.schriftgroesse);
    if (d.zeilenhoehe > 0)
        m_grid->setzeZeilenhoehe(d.zeilenhoehe);
    m_grid->setzeSuchzeile(d.suchzeile);
    m_grid->setzeZebramuster(d.zebramuster);
    m_grid->setzeRechteSpalteExpandieren(d.rechteSpalteExpandieren);
    for (int i = 0; i < TabellenfarbenAnzahl; ++i) {
        if (const std::optional<quint32> farbe = d.laufzeitfarbe(Tabellenfarbe(i)))
            m_grid->setzeFarbe(Rasterfarbe(i), qint64(*farbe));
    }
}

void frmTabelle::spaltenAnwenden()
{
    QList<Quellfeld> felder;
    for (const Datenfeldinfo& f : datenfelder())
        felder.append({ f.name, f.typ });
    m_spalten = Ansichtsspalten(m_definition, felder);
    QList<Rasterspalte> spalten;
    for (const Tabellenspalte& s : std::as_const(m_spalten))
        spalten.append(RasterspalteVon(s));
    m_grid->setzeSpalten(spalten);
    m_grid->setzeFusszeile(m_definition.hatSummen());
    m_grid->setzeProportionaleSpaltenbreiten(m_definition.proportionaleSpaltenbreiten);
}

void frmTabelle::leistenAufbauen()
{
    const Tabellendefinition& d = m_definition;
    m_leisten->aufbauen(Tabellenleiste, int(d.funktionsleisteAnzeige),
        d.bedienelementeOben ? QStringLiteral("OBEN") : QStringLiteral("UNTEN"));
    m_leisten->setzeNavigationsmodus(int(d.videoleisteAnzeige));
    m_leisten->setzeStatuszeile(d.fensterMitStatuszeile);
    // Each window's tools answer only inside it, so that two open views do not share a key.
    for (QAction* a : m_leisten->funktionsleiste()->actions()) {
        if (a->isSeparator())
            continue;
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }
}

void frmTabelle::sperreAnwenden()
{
    const engine::Recordset* rs = datensatz();
    m_gesperrt = m_definition.editiersperre || !rs || !rs->updatable();
    m_grid->setzeNurLesen(m_gesperrt);
    m_leisten->navigation()->setzeBearbeitbar(!m_gesperrt);
}

void frmTabelle::geometrieAnwenden()
{
    const Tabellendefinition& d = m_definition;
    QWidget* rahmen = parentWidget() ? parentWidget() : this;
    if (d.breite <= 0 || d.hoehe <= 0) {
        // A view without a stored size would open at the grid's bare minimum, too small to
        // show more than a column or two: take most of the free area instead.
        auto* unterfenster = qobject_cast<QMdiSubWindow*>(rahmen);
        if (unterfenster && unterfenster->mdiArea()) {
            const QSize frei = unterfenster->mdiArea()->viewport()->size();
            rahmen->resize(qMax(rahmen->width(), frei.width() * 3 / 4),
                qMax(rahmen->height(), frei.height() * 3 / 4));
        }
        return;
    }
    const auto pixel = [this](double twips) { return qRound(twips * logicalDpiX() / 1440.0); };
    rahmen->setGeometry(pixel(d.links), pixel(d.oben), pixel(d.breite), pixel(d.hoehe));
}

void frmTabelle::positionAnzeigen()
{
    Navigationsleiste* navigation = m_leisten->navigation();
    const int zeile = m_grid->aktuelleZeile();
    const int anzahl = m_grid->datenzeilen();
    if (!m_definition.videoleisteDatenfeld.isEmpty()) {
        engine::Recordset* rs = datensatz();
        QString text;
        try {
            if (rs && zeile >= 0 && zeile < anzahl && !rs->eof() && !rs->bof())
                text = Format(rs->value(m_definition.videoleisteDatenfeld));
        } catch (const std::exception&) {
            // A field the source lacks shows nothing.
        }
        navigation->setzeText(text);
        return;
    }
    navigation->setzePositionsbreite(anzahl);
    navigation->setzeText(Positionstext(zeile < anzahl ? zeile : -1, anzahl));
}

void frmTabelle::statuszeileAnzeigen(int spalte)
{
    if (!m_definition.fensterMitStatuszeile || spalte < 0)
        return;
    m_leisten->setzeHilfstext(Spaltenstatustext(m_gesperrt || m_grid->spalteGesperrt(spalte),
        m_grid->spaltentitel(spalte), m_grid->datenfeld(spalte)));
}

void frmTabelle::werkzeugeAktualisieren()
{
    const Tabellenlage lage { m_grid->datenzeilen() > 0, m_gesperrt || liestDatensaetze(),
        m_hinzufuegen };
    for (const Werkzeugzustand& z : Tabellenwerkzeugzustaende(lage)) {
        m_leisten->setzeAktiv(z.name, z.aktiv);
        if (!z.text.isEmpty()) {
            m_leisten->setzeText(z.name, z.text);
            m_leisten->setzeTooltip(z.name, z.tooltip);
        }
    }
}

bool frmTabelle::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (ereignis->type() == QEvent::KeyPress && taste(static_cast<QKeyEvent*>(ereignis)))
        return true;
    if (ereignis->type() == QEvent::Paint && m_summenWarten
        && objekt == m_grid->ansicht()->viewport()) {
        // Queued: the sums start after this paint.
        QMetaObject::invokeMethod(this, &frmTabelle::summenStarten, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(objekt, ereignis);
}

bool frmTabelle::taste(QKeyEvent* e)
{
    if (e->key() == Qt::Key_End && (e->modifiers() & Qt::ControlModifier))
        return zumEndeNachDenSchluesseln();
    if (e->key() != Qt::Key_Escape)
        return false;
    // Escape belongs to long work while its bar is shown, and to a reading of the records from
    // the start: the user who asked for it may take it back at once.
    if ((m_fortschritt->isVisible() && arbeitLaeuft()) || liestDatensaetze()) {
        arbeitAbbrechen();
        return true;
    }
    return false;
}

void frmTabelle::keyPressEvent(QKeyEvent* event)
{
    // From the search row and the bars.
    if (taste(event))
        return;
    QMainWindow::keyPressEvent(event);
}

void frmTabelle::closeEvent(QCloseEvent* event)
{
    if (!schliessenErlaubt()) {
        event->ignore();
        return;
    }
    m_schliesstSich = true;
    m_summen->abbrechen();
    lesenAbbrechen();
    QMainWindow::closeEvent(event);
}

} // namespace kv
