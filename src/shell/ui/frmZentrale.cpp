#include "shell/ui/frmZentrale.h"

#include "base/Fehlermeldung.h"
#include "base/Hilfe.h"
#include "base/Pfade.h"
#include "base/Programmverzeichnis.h"
#include "engine/EngineError.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Einstellungen.h"
#include "shell/Hilfeseiten.h"
#include "shell/Prozesswerte.h"
#include "shell/ui/Fensterzustand.h"
#include "shell/ui/Zentralemodell.h"
#include "widgets/Auswahlliste.h"
#include "widgets/Knopfzeile.h"
#include "widgets/Symboldatei.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace kv {

namespace {

const QString Fenstername = QStringLiteral("frmZentrale");

} // namespace

frmZentrale::frmZentrale(Zentraleumgebung umgebung, Popupauswahl popup, QWidget* parent)
    : QWidget(parent)
    , m_befehle(std::move(umgebung))
    , m_popup(std::move(popup))
    , m_zustand(Zentraleschalter::lesen(Einstellungen()))
    , m_modell(new Zentralemodell(this))
    , m_kopf(new QLabel(this))
    , m_grid(new QTableView(this))
{
    setObjectName(Fenstername);
    setWindowTitle(QStringLiteral("Datenzentrale"));
    setProperty(HilfeseiteEigenschaft, Hilfeseiten::Datenzentrale);
    // The picture of the menu command that shows it.
    const QString symbol = Symboldatei(Grafikverzeichnis(), QStringLiteral("Datenzentrale"), false);
    if (!symbol.isEmpty())
        setWindowIcon(QIcon(symbol));

    m_grid->setObjectName(QStringLiteral("TDBGrid1"));
    m_grid->setModel(m_modell);
    alsAuswahlliste(m_grid);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->installEventFilter(this);
    connect(m_grid, &QAbstractItemView::doubleClicked, this,
        [this](const QModelIndex&) { knopfGeklickt(Oeffnen); });
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QModelIndex index = m_grid->indexAt(pos);
        if (index.isValid())
            kontextmenue(index.row());
    });

    auto* schalterzeile = new QHBoxLayout;
    for (int i = 0; i < Zentraleschalter::Anzahl; ++i) {
        auto* box = new QCheckBox(Zentraleschalter::beschriftung(i), this);
        box->setObjectName(QStringLiteral("Check1_%1").arg(i));
        box->setToolTip(Zentraleschalter::tooltip(i));
        box->setChecked(m_zustand.an[static_cast<size_t>(i)]);
        connect(box, &QCheckBox::clicked, this, [this, i] { schalterGeklickt(i); });
        schalterzeile->addWidget(box);
        m_schalter[static_cast<size_t>(i)] = box;
    }
    schalterzeile->addStretch();

    static constexpr std::array<Knopfangabe, Knopfanzahl> knoepfe { {
        { "&Öffnen", "Öffnet das Datenbankobjekt zur Bearbeitung" },
        { "&Neu", "Neues Datenbankobjekt erstellen" },
        { "&Bearbeiten", "Bearbeitet das aktuelle Datenbankobjekt" },
        { "Schließen", "Datenbank schließen" },
    } };
    auto* knopfzeile = Knopfzeile(this, knoepfe, m_knoepfe, [this](int i) { knopfGeklickt(i); });

    // A narrow window shows the whole header on two lines rather than cutting off the format.
    m_kopf->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_kopf);
    layout->addWidget(m_grid, 1);
    layout->addLayout(schalterzeile);
    layout->addLayout(knopfzeile);

    setFont(Programmschrift());
    resize(520, 420);
    schriftAnpassen();
}

void frmZentrale::schriftAnpassen()
{
    // Rows as high as the text and its 16-pixel picture, so a small window shows many of them.
    m_grid->verticalHeader()->setDefaultSectionSize(
        std::max(20, m_grid->fontMetrics().height() + 6));
    m_grid->horizontalHeader()->setFont(font());
    // The kind of a row is never cut; the name takes what is left.
    m_grid->resizeColumnToContents(0);
    // However big the font, the switches and buttons keep their whole text: the window does not
    // get smaller than that.
    if (auto* rahmen = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        layout()->activate();
        rahmen->setMinimumSize(rahmen->minimumSizeHint());
        rahmen->resize(rahmen->size().expandedTo(rahmen->minimumSize()));
    }
}

void frmZentrale::changeEvent(QEvent* ereignis)
{
    QWidget::changeEvent(ereignis);
    if (ereignis->type() == QEvent::FontChange)
        schriftAnpassen();
}

frmZentrale::~frmZentrale() = default;

frmZentrale* frmZentrale::finde(const QMdiArea* mdi)
{
    if (!mdi)
        return nullptr;
    for (QMdiSubWindow* fenster : mdi->subWindowList()) {
        if (auto* z = qobject_cast<frmZentrale*>(fenster->widget()))
            return z;
    }
    return nullptr;
}

frmZentrale* frmZentrale::zeigen(
    QMdiArea* mdi, const Zentraleumgebung& umgebung, Popupauswahl popup)
{
    if (!mdi || !umgebung.datenbank || !umgebung.datenbank->offen())
        return nullptr;
    frmZentrale* zentrale = finde(mdi);
    if (zentrale) {
        zentrale->ListenRefresh();
    } else {
        zentrale = new frmZentrale(umgebung, std::move(popup));
        QMdiSubWindow* rahmen = mdi->addSubWindow(zentrale);
        rahmen->setAttribute(Qt::WA_DeleteOnClose);
        zentrale->laden();
    }
    QWidget* rahmen = zentrale->parentWidget();
    if (rahmen->isMinimized())
        rahmen->showNormal();
    else
        rahmen->show();
    mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(rahmen));
    zentrale->m_grid->setFocus();
    return zentrale;
}

void frmZentrale::entladen(QMdiArea* mdi)
{
    frmZentrale* zentrale = finde(mdi);
    if (!zentrale)
        return;
    auto* rahmen = qobject_cast<QMdiSubWindow*>(zentrale->parentWidget());
    if (!rahmen->close())
        return;
    // Gone from the list at once, so that an open right after makes a new navigator.
    if (mdi->subWindowList().contains(rahmen))
        mdi->removeSubWindow(rahmen);
    rahmen->deleteLater();
}

void frmZentrale::laden()
{
    FenstergeometrieWiederherstellen(this, true);
    ListenRefresh();
    schriftAnpassen();
}

void frmZentrale::ListenRefresh()
{
    const AktuelleDatenbank* d = m_befehle.umgebung().datenbank;
    if (!d || !d->offen())
        return;
    const int vorher = aktuelleZeile();
    const Zentralezeile alt = vorher >= 0 ? m_liste.zeilen().at(vorher) : Zentralezeile();
    try {
        m_liste.ListenRefresh(*d->db(), d->Datenbank, d->DatenbankTyp, m_zustand);
    } catch (const engine::EngineError& e) {
        zeigeFehler(
            QStringLiteral("Fehler beim Lesen der Datenbankobjekte!"), e.number(), e.description());
        return;
    }
    m_modell->setzeZeilen(m_liste.zeilen());
    m_grid->resizeColumnToContents(0);
    m_kopf->setText(m_liste.kopfzeile());
    // With every group switched off there is nothing to open, make or edit.
    for (const int knopf : { Oeffnen, Neu, Bearbeiten })
        Command1(knopf)->setEnabled(!m_liste.zeilen().isEmpty());
    setWindowTitle(QStringLiteral("Datenzentrale: ") + Dateiname(d->Datenbank));
    setzeAktuelleZeile(vorher >= 0 ? m_liste.wiederfinden(alt, vorher) : 0);
}

int frmZentrale::aktuelleZeile() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void frmZentrale::setzeAktuelleZeile(int zeile)
{
    if (zeile < 0 || zeile >= m_modell->rowCount()) {
        m_grid->setCurrentIndex(QModelIndex());
        return;
    }
    const int spalte = std::max(0, m_grid->currentIndex().column());
    m_grid->setCurrentIndex(m_modell->index(zeile, spalte));
    m_grid->scrollTo(m_grid->currentIndex());
}

void frmZentrale::knopfGeklickt(int knopf)
{
    switch (knopf) {
    case Oeffnen:
        nachBefehl(m_befehle.knopf(Zentraleknopf::Oeffnen, m_liste, aktuelleZeile()));
        break;
    case Neu:
        nachBefehl(m_befehle.knopf(Zentraleknopf::Neu, m_liste, aktuelleZeile()));
        break;
    case Bearbeiten:
        nachBefehl(m_befehle.knopf(Zentraleknopf::Bearbeiten, m_liste, aktuelleZeile()));
        break;
    case Schliessen:
        // Closing the database unloads this window: nothing may follow.
        m_befehle.schliessen();
        break;
    default:
        break;
    }
}

void frmZentrale::kontextmenue(int zeile)
{
    setzeAktuelleZeile(zeile);
    const QList<Kontexteintrag> eintraege = m_befehle.kontextmenue(m_liste, zeile);
    if (eintraege.isEmpty() || !m_popup)
        return;
    QStringList texte;
    for (const Kontexteintrag& e : eintraege)
        texte.append(e.text);
    const int wahl = m_popup(texte);
    if (wahl < 1 || wahl > eintraege.size())
        return;
    nachBefehl(m_befehle.kontext(eintraege.at(wahl - 1).aktion, m_liste, zeile));
}

void frmZentrale::nachBefehl(bool neuAufbauen)
{
    if (neuAufbauen)
        ListenRefresh();
}

void frmZentrale::schalterGeklickt(int index)
{
    m_zustand.an[static_cast<size_t>(index)] = Check1(index)->isChecked();
    Einstellungen einstellungen;
    m_zustand.schreiben(einstellungen, index);
    ListenRefresh();
}

void frmZentrale::closeEvent(QCloseEvent* event)
{
    Einstellungen einstellungen;
    m_zustand.schreiben(einstellungen);
    FenstergeometrieSpeichern(this, einstellungen);
    event->accept();
}

bool frmZentrale::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == m_grid && ereignis->type() == QEvent::KeyPress) {
        const auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (taste->key() == Qt::Key_Return || taste->key() == Qt::Key_Enter) {
            knopfGeklickt(Oeffnen);
            return true;
        }
        // The list has two columns but is read by rows: Pos1 and Ende go to the first and last.
        if (taste->key() == Qt::Key_Home || taste->key() == Qt::Key_End) {
            setzeAktuelleZeile(taste->key() == Qt::Key_Home ? 0 : m_modell->rowCount() - 1);
            return true;
        }
        const QString text = taste->text();
        const bool steuerung
            = taste->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (!steuerung && text.size() == 1 && text.at(0).isPrint() && !text.at(0).isSpace()) {
            const int ziel = m_liste.naechsteMitAnfang(aktuelleZeile(), text.at(0));
            if (ziel >= 0)
                setzeAktuelleZeile(ziel);
            return true;
        }
    }
    return QWidget::eventFilter(objekt, ereignis);
}

} // namespace kv
