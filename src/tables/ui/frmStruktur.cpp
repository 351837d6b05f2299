#include "tables/ui/frmStruktur.h"

#include "base/Fehlermeldung.h"
#include "base/NichtVerfuegbar.h"
#include "engine/Database.h"
#include "tables/ui/Strukturmodell.h"
#include "tables/ui/frmRelation.h"
#include "tables/ui/frmTabellenStruktur.h"
#include "widgets/Auswahlliste.h"
#include "widgets/Knopfzeile.h"
#include "widgets/Symboldatei.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kv {

frmStruktur::frmStruktur(Strukturumgebung umgebung, QWidget* parent)
    : QWidget(parent)
    , m_umgebung(std::move(umgebung))
    , m_modell(new Strukturmodell(m_umgebung.grafikverzeichnis, this))
    , m_kopf(new QLabel(this))
    , m_grid(new QTableView(this))
{
    setObjectName(QStringLiteral("frmStruktur"));
    setWindowTitle(QStringLiteral("Struktur-Generator"));
    const QString symbol
        = Symboldatei(m_umgebung.grafikverzeichnis, QStringLiteral("Struktur"), false);
    if (!symbol.isEmpty())
        setWindowIcon(QIcon(symbol));
    m_kopf->setObjectName(QStringLiteral("Kopfzeile"));
    m_kopf->setWordWrap(true);
    m_grid->setObjectName(QStringLiteral("TDBGrid1"));
    m_grid->setModel(m_modell);
    alsAuswahlliste(m_grid);
    connect(m_grid, &QAbstractItemView::doubleClicked, this,
        [this](const QModelIndex&) { knopfGeklickt(Aendern); });

    static constexpr std::array<Knopfangabe, Knopfanzahl> knoepfe { {
        { "&Neu", "Neue Tabelle oder Relation erstellen" },
        { "Ä&ndern", "Das aktuelle Datenbankobjekt bearbeiten" },
        { "&Löschen", "Das aktuelle Datenbankobjekt löschen" },
        { "&Drucken", "Die Datenbankstruktur drucken" },
        { "Schließen", "Den Struktur-Generator schließen" },
    } };
    auto* knopfzeile = Knopfzeile(
        this, knoepfe, m_knoepfe, [this](int i) { knopfGeklickt(i); }, Schliessen);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_kopf);
    layout->addWidget(m_grid, 1);
    layout->addLayout(knopfzeile);
    m_grid->verticalHeader()->setDefaultSectionSize(
        std::max(20, m_grid->fontMetrics().height() + 6));
    resize(760, 460);
}

frmStruktur::~frmStruktur() = default;

frmStruktur* frmStruktur::finde(const QMdiArea* mdi)
{
    if (!mdi)
        return nullptr;
    for (QMdiSubWindow* fenster : mdi->subWindowList())
        if (auto* s = qobject_cast<frmStruktur*>(fenster->widget()))
            return s;
    return nullptr;
}

frmStruktur* frmStruktur::zeigen(QMdiArea* mdi, const Strukturumgebung& umgebung)
{
    if (!mdi || !umgebung.datenbank())
        return nullptr;
    frmStruktur* fenster = finde(mdi);
    if (!fenster) {
        fenster = new frmStruktur(umgebung);
        QMdiSubWindow* rahmen = mdi->addSubWindow(fenster);
        rahmen->setAttribute(Qt::WA_DeleteOnClose);
    }
    QWidget* rahmen = fenster->parentWidget();
    if (rahmen->isMinimized())
        rahmen->showNormal();
    else
        rahmen->show();
    mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(rahmen));
    fenster->ListenRefresh();
    fenster->m_grid->setFocus();
    return fenster;
}

void frmStruktur::ListenRefresh()
{
    engine::Database* db = m_umgebung.datenbank();
    if (!db)
        return;
    const QString warten = QStringLiteral("Bitte warten...");
    m_kopf->setText(warten);
    m_umgebung.statustext(warten);
    m_kopf->repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int vorher = aktuelleZeile();
    try {
        m_uebersicht.aufbauen(*db);
    } catch (const engine::EngineError& e) {
        zeigeFehler(QStringLiteral("Fehler beim Lesen der Datenbankstruktur!"), e.number(),
            e.description(), Fehlerkennung::Fehler);
    }
    m_modell->setzeZeilen(m_uebersicht.zeilen());
    m_grid->resizeColumnsToContents();
    m_kopf->setText(m_umgebung.kopfzeile(*db));
    setzeAktuelleZeile(std::max(0, vorher));
    QApplication::restoreOverrideCursor();
    m_umgebung.statustext(QString());
    const bool schreibbar = db->updatable();
    m_knoepfe[Neu]->setEnabled(schreibbar);
    m_knoepfe[Loeschen]->setEnabled(schreibbar);
}

int frmStruktur::aktuelleZeile() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void frmStruktur::setzeAktuelleZeile(int zeile)
{
    if (m_modell->rowCount() == 0)
        return;
    m_grid->setCurrentIndex(m_modell->index(std::min(zeile, m_modell->rowCount() - 1), 0));
}

void frmStruktur::knopfGeklickt(int knopf)
{
    if (!m_umgebung.datenbank())
        return;
    switch (knopf) {
    case Neu:
        neu();
        break;
    case Aendern:
        aendern();
        break;
    case Loeschen:
        loeschen();
        break;
    case Drucken:
        FensterNichtVerfuegbar();
        break;
    case Schliessen:
        if (auto* rahmen = qobject_cast<QMdiSubWindow*>(parentWidget()))
            rahmen->close();
        else
            close();
        break;
    default:
        break;
    }
}

void frmStruktur::neu()
{
    const int zeile = aktuelleZeile();
    if (zeile < 0 || !m_umgebung.datenbank()->updatable())
        return;
    const Strukturzeile z = m_uebersicht.zeilen().at(zeile);
    if (z.gruppe == Strukturgruppe::Relationen)
        frmRelation::oeffne(*m_umgebung.datenbank(), QString(), this);
    else
        frmTabellenStruktur::oeffne(
            *m_umgebung.datenbank(), true, QString(), m_umgebung.datenbankpfad(), this);
    nachAenderung(zeile);
}

void frmStruktur::aendern()
{
    const int zeile = aktuelleZeile();
    if (zeile < 0)
        return;
    const Strukturzeile z = m_uebersicht.zeilen().at(zeile);
    if (z.platzhalter() || z.gruppe == Strukturgruppe::Abfragen)
        return;
    try {
        if (z.gruppe == Strukturgruppe::Relationen)
            frmRelation::oeffne(*m_umgebung.datenbank(), z.name(), this);
        else
            frmTabellenStruktur::oeffne(
                *m_umgebung.datenbank(), false, z.name(), m_umgebung.datenbankpfad(), this);
    } catch (const engine::EngineError& e) {
        // Another program may have removed the object since the list was built.
        zeigeFehler(QStringLiteral("Fehler beim Öffnen des Objektes!"), e.number(), e.description(),
            Fehlerkennung::Fehler);
    }
    nachAenderung(zeile);
}

void frmStruktur::loeschen()
{
    const int zeile = aktuelleZeile();
    if (zeile >= 0 && m_umgebung.datenbank()->updatable()
        && m_uebersicht.loeschen(*m_umgebung.datenbank(), zeile))
        nachAenderung(zeile);
}

void frmStruktur::nachAenderung(int zeile)
{
    engine::Database* db = m_umgebung.datenbank();
    db->tableDefs().refresh();
    db->relations().refresh();
    ListenRefresh();
    setzeAktuelleZeile(zeile);
}

void frmStruktur::closeEvent(QCloseEvent* event)
{
    Q_EMIT wirdGeschlossen();
    event->accept();
}

} // namespace kv
