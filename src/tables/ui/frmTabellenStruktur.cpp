#include "tables/ui/frmTabellenStruktur.h"

#include "widgets/Fortschrittsanzeige.h"

#include "base/Dialoge.h"
#include "base/NichtVerfuegbar.h"
#include "engine/Database.h"
#include "tables/Feldlistenmodell.h"
#include "tables/Fremdtabellenwahl.h"
#include "tables/Indexlistenmodell.h"
#include "tables/ui/Feldlistendelegat.h"
#include "tables/ui/frmExtTabelle.h"
#include "tables/ui/frmIndexNeu.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace kv {

namespace {

QPushButton* neuerKnopf(QWidget* eltern, const char* name, const char* text, const char* tipp)
{
    auto* knopf = new QPushButton(QString::fromUtf8(text), eltern);
    knopf->setObjectName(QString::fromLatin1(name));
    knopf->setToolTip(QString::fromUtf8(tipp));
    knopf->setAutoDefault(false);
    return knopf;
}

QTableView* neueListe(QWidget* eltern, const char* name, QAbstractItemModel* modell)
{
    auto* liste = new QTableView(eltern);
    liste->setObjectName(QString::fromLatin1(name));
    liste->setModel(modell);
    liste->setSelectionMode(QAbstractItemView::SingleSelection);
    liste->setSelectionBehavior(QAbstractItemView::SelectItems);
    liste->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    liste->verticalHeader()->setDefaultSectionSize(liste->fontMetrics().height() + 8);
    liste->horizontalHeader()->setStretchLastSection(true);
    return liste;
}

} // namespace

frmTabellenStruktur::frmTabellenStruktur(engine::Database& db, bool neu, const QString& tabelle,
    const QString& datenbankpfad, QWidget* parent)
    : QDialog(parent)
    , m_bearbeitung(db, neu, tabelle)
    , m_datenbankpfad(datenbankpfad)
    , m_feldmodell(new Feldlistenmodell(m_bearbeitung, this))
    , m_indexmodell(new Indexlistenmodell(m_bearbeitung, this))
    , m_name(new QLineEdit(this))
    , m_felder(neueListe(this, "TDBGrid1", m_feldmodell))
    , m_indexliste(neueListe(this, "TDBGrid2", m_indexmodell))
    , m_info(new QLabel(this))
{
    setObjectName(QStringLiteral("frmTabellenStruktur"));
    // Copying the values of a large table takes a while: a box shows how far it is, the window
    // repaints meanwhile, and Abbrechen rolls the change back.
    m_bearbeitung.setzeFortschrittsquelle([this]() -> engine::ChangeProgress {
        auto anzeige = std::make_shared<Fortschrittsanzeige>(this,
            QStringLiteral("Bitte warten... Die Daten des Feldes werden umkopiert."),
            QStringLiteral("Strukturänderung"), m_fortschrittsverzoegerung);
        return [anzeige](int schritt, int schritte) {
            return anzeige->melden(schritt - 1, schritte, QString());
        };
    });
    // Dialogs are windows of their own: they take the program font from their owner.
    if (parent)
        setFont(parent->font());
    m_name->setObjectName(QStringLiteral("Text1"));
    m_info->setObjectName(QStringLiteral("InfoanzeigeExtern"));
    m_info->setWordWrap(true);
    m_delegat
        = new Feldlistendelegat([this](const QModelIndex& zelle,
                                    const QString& meldung) { zelleAbgelehnt(zelle, meldung); },
            this);
    m_felder->setItemDelegate(m_delegat);
    m_felder->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_felder->installEventFilter(this);

    auto* namenszeile = new QHBoxLayout;
    auto* namensbeschriftung = new QLabel(QStringLiteral("&Tabellenname:"), this);
    namensbeschriftung->setBuddy(m_name);
    namenszeile->addWidget(namensbeschriftung);
    namenszeile->addWidget(m_name, 1);

    auto* feldknoepfe = new QHBoxLayout;
    feldknoepfe->addWidget(neuerKnopf(this, "NeuesFeld", "Neues &Feld", "Neues Datenfeld anlegen"));
    feldknoepfe->addWidget(
        neuerKnopf(this, "FeldLoeschen", "Feld &löschen", "Das aktuelle Datenfeld löschen"));
    feldknoepfe->addStretch(1);
    feldknoepfe->addWidget(neuerKnopf(this, "NeuerIndex", "Neuer &Index", "Neuen Index anlegen"));
    feldknoepfe->addWidget(
        neuerKnopf(this, "IndexLoeschen", "Index l&öschen", "Den aktuellen Index löschen"));

    auto* verbindung = new QGroupBox(QStringLiteral("Externe Verbindung"), this);
    auto* verbindungslayout = new QHBoxLayout(verbindung);
    verbindungslayout->addWidget(m_info, 1);
    verbindungslayout->addWidget(neuerKnopf(this, "ExterneVerbindung", "",
        "Die Daten der Tabelle aus einer anderen Datenbank verwenden"));

    auto* unten = new QHBoxLayout;
    unten->addWidget(neuerKnopf(this, "Importieren", "Datenbankstruktur &importieren",
        "Die Felder einer Tabelle einer anderen Datenbank übernehmen"));
    unten->addWidget(neuerKnopf(this, "Drucken", "&Drucken", "Die Tabellenstruktur drucken"));
    unten->addWidget(neuerKnopf(this, "Rueckgaengig", "Strukturänderung &rückgängig",
        "Die letzte Änderung eines Felddatentyps mit den alten Werten zurücknehmen"));
    unten->addStretch(1);
    unten->addWidget(neuerKnopf(this, "Schliessen", "&Schließen", "Den Struktur-Editor schließen"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(namenszeile);
    layout->addWidget(new QLabel(QStringLiteral("Datenfelder:"), this));
    layout->addWidget(m_felder, 3);
    layout->addLayout(feldknoepfe);
    layout->addWidget(new QLabel(QStringLiteral("Indizes:"), this));
    layout->addWidget(m_indexliste, 1);
    layout->addWidget(verbindung);
    layout->addLayout(unten);
    resize(900, 620);

    connect(m_name, &QLineEdit::editingFinished, this, [this] {
        if (m_name->text() != m_bearbeitung.tabellenname()) {
            m_name->setText(m_bearbeitung.benenneTabelleUm(m_name->text()));
            setWindowTitle(m_bearbeitung.titel());
        }
    });
    connect(m_felder->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &frmTabellenStruktur::aktuelleZeileGewechselt);
    connect(m_indexliste->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &frmTabellenStruktur::knoepfeAktualisieren);
    connect(knopf(QStringLiteral("NeuesFeld")), &QPushButton::clicked, this,
        &frmTabellenStruktur::neuesFeld);
    connect(knopf(QStringLiteral("FeldLoeschen")), &QPushButton::clicked, this,
        &frmTabellenStruktur::feldLoeschen);
    connect(knopf(QStringLiteral("NeuerIndex")), &QPushButton::clicked, this,
        &frmTabellenStruktur::neuerIndex);
    connect(knopf(QStringLiteral("IndexLoeschen")), &QPushButton::clicked, this,
        &frmTabellenStruktur::indexLoeschen);
    connect(knopf(QStringLiteral("Importieren")), &QPushButton::clicked, this,
        &frmTabellenStruktur::importieren);
    connect(knopf(QStringLiteral("Drucken")), &QPushButton::clicked, this,
        [] { FensterNichtVerfuegbar(); });
    connect(knopf(QStringLiteral("Rueckgaengig")), &QPushButton::clicked, this, [this] {
        if (zeileVerlassen() && m_bearbeitung.strukturaenderungRueckgaengig())
            anzeigen(m_felder->currentIndex().row());
    });
    connect(knopf(QStringLiteral("ExterneVerbindung")), &QPushButton::clicked, this,
        &frmTabellenStruktur::externeVerbindung);
    connect(knopf(QStringLiteral("Schliessen")), &QPushButton::clicked, this,
        &frmTabellenStruktur::reject);
    anzeigen(0);
}

frmTabellenStruktur::~frmTabellenStruktur() = default;

void frmTabellenStruktur::oeffne(engine::Database& db, bool neu, const QString& tabelle,
    const QString& datenbankpfad, QWidget* parent)
{
    frmTabellenStruktur editor(db, neu, tabelle, datenbankpfad, parent);
    editor.exec();
}

QPushButton* frmTabellenStruktur::knopf(const QString& name) const
{
    return findChild<QPushButton*>(name);
}

void frmTabellenStruktur::anzeigen(int zeile)
{
    m_speichert = true;
    m_feldmodell->neuLaden();
    m_indexmodell->neuLaden();
    m_speichert = false;
    setWindowTitle(m_bearbeitung.titel());
    m_name->setText(m_bearbeitung.tabellenname());
    m_info->setText(m_bearbeitung.verbindungsinfo());
    knopf(QStringLiteral("ExterneVerbindung"))->setText(m_bearbeitung.verbindungsknopf());
    m_offeneZeile = -1;
    const int zeilen = m_feldmodell->rowCount();
    if (zeilen > 0) {
        const int ziel = std::clamp(zeile, 0, zeilen - 1);
        m_speichert = true;
        m_felder->setCurrentIndex(m_feldmodell->index(ziel, 0));
        m_speichert = false;
        m_offeneZeile = ziel;
    }
    knoepfeAktualisieren();
}

void frmTabellenStruktur::knoepfeAktualisieren()
{
    const bool aenderbar = m_bearbeitung.aenderbar();
    const bool schreibbar = m_bearbeitung.datenbank().updatable();
    knopf(QStringLiteral("NeuesFeld"))->setEnabled(aenderbar);
    knopf(QStringLiteral("FeldLoeschen"))->setEnabled(aenderbar && m_offeneZeile >= 0);
    knopf(QStringLiteral("NeuerIndex"))->setEnabled(aenderbar);
    knopf(QStringLiteral("IndexLoeschen"))
        ->setEnabled(aenderbar && m_indexliste->currentIndex().isValid());
    knopf(QStringLiteral("Importieren"))->setEnabled(aenderbar);
    knopf(QStringLiteral("ExterneVerbindung"))->setEnabled(schreibbar);
    knopf(QStringLiteral("Rueckgaengig"))
        ->setEnabled(aenderbar && m_bearbeitung.rueckgaengigMoeglich());
    m_name->setReadOnly(!schreibbar);
}

bool frmTabellenStruktur::zeileVerlassen()
{
    // An open cell editor holds the last entry.
    m_delegat->offenenEintragUebernehmen();
    const int zeile = m_offeneZeile;
    if (zeile < 0 || !m_bearbeitung.zeileOffen(zeile))
        return true;
    const QString name = m_bearbeitung.zeilen().at(zeile).name;
    switch (m_bearbeitung.speichereZeile(zeile)) {
    case Zeilenergebnis::Abgelehnt:
        m_feldmodell->neuLaden();
        m_speichert = true;
        m_felder->setCurrentIndex(m_feldmodell->index(zeile, 0));
        m_speichert = false;
        return false;
    case Zeilenergebnis::Unveraendert:
        return true;
    case Zeilenergebnis::Gespeichert:
    case Zeilenergebnis::Beibehalten:
        break;
    }
    // Saving may have moved the row (its position); keep showing the same field.
    int neueZeile = zeile;
    for (int i = 0; i < m_bearbeitung.zeilen().size(); ++i)
        if (m_bearbeitung.zeilen().at(i).name == name)
            neueZeile = i;
    anzeigen(neueZeile);
    return true;
}

void frmTabellenStruktur::aktuelleZeileGewechselt(
    const QModelIndex& aktuell, const QModelIndex& vorher)
{
    if (m_speichert)
        return;
    if (vorher.isValid() && aktuell.row() != vorher.row() && m_offeneZeile >= 0) {
        const QString ziel
            = aktuell.isValid() ? m_bearbeitung.zeilen().value(aktuell.row()).name : QString();
        const int spalte = aktuell.column();
        m_speichert = true;
        const bool gespeichert = zeileVerlassen();
        m_speichert = false;
        if (gespeichert) {
            // The rows were read again: go on to the field the user went to.
            int zeile = aktuell.row();
            for (int i = 0; i < m_bearbeitung.zeilen().size(); ++i)
                if (m_bearbeitung.zeilen().at(i).name == ziel)
                    zeile = i;
            m_speichert = true;
            m_felder->setCurrentIndex(m_feldmodell->index(zeile, spalte));
            m_speichert = false;
            m_offeneZeile = m_felder->currentIndex().row();
        }
        knoepfeAktualisieren();
        return;
    }
    m_offeneZeile = aktuell.isValid() ? aktuell.row() : -1;
    knoepfeAktualisieren();
}

void frmTabellenStruktur::zelleAbgelehnt(const QModelIndex& zelle, const QString& meldung)
{
    zeigeMeldung(meldung);
    if (!zelle.isValid())
        return;
    // The entry is dropped and the cell keeps the focus.
    m_felder->setCurrentIndex(zelle);
    m_felder->setFocus();
}

bool frmTabellenStruktur::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == m_felder && ereignis->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(ereignis)->key() == Qt::Key_Escape && m_offeneZeile >= 0
        && m_bearbeitung.zeileOffen(m_offeneZeile)) {
        // Escape drops the entries of the row being edited rather than closing the window.
        m_bearbeitung.verwirfZeile(m_offeneZeile);
        anzeigen(m_offeneZeile);
        return true;
    }
    return QDialog::eventFilter(objekt, ereignis);
}

void frmTabellenStruktur::neuesFeld()
{
    if (!zeileVerlassen())
        return;
    const int zeile = m_bearbeitung.neueZeile();
    if (zeile < 0)
        return;
    anzeigen(zeile);
    m_felder->setFocus();
    m_felder->edit(m_feldmodell->index(zeile, 0));
}

void frmTabellenStruktur::feldLoeschen()
{
    const int zeile = m_offeneZeile;
    if (zeile >= 0 && m_bearbeitung.loescheFeld(zeile))
        anzeigen(zeile);
}

void frmTabellenStruktur::neuerIndex()
{
    if (!zeileVerlassen())
        return;
    if (frmIndexNeu::oeffne(m_bearbeitung.tabelle(), this))
        m_bearbeitung.laden();
    anzeigen(m_offeneZeile);
}

void frmTabellenStruktur::indexLoeschen()
{
    const QModelIndex index = m_indexliste->currentIndex();
    if (index.isValid() && m_bearbeitung.loescheIndex(index.row()))
        anzeigen(m_offeneZeile);
}

std::optional<QString> frmTabellenStruktur::andereTabelle(const QString& titel)
{
    const std::optional<QString> pfad
        = waehleAndereDatenbank(titel, m_datenbankpfad, QFileInfo(m_datenbankpfad).absolutePath());
    if (!pfad)
        return std::nullopt;
    const std::optional<QString> tabelle
        = frmExtTabelle::waehle(*m_bearbeitung.datenbank().workspace(), *pfad, this);
    if (!tabelle)
        return std::nullopt;
    return *pfad + QLatin1Char('\n') + *tabelle;
}

void frmTabellenStruktur::importieren()
{
    if (!zeileVerlassen())
        return;
    const std::optional<QString> wahl
        = andereTabelle(QStringLiteral("Aus welcher Datenbank soll importiert werden?"));
    if (wahl
        && m_bearbeitung.importiereStruktur(
            wahl->section(QLatin1Char('\n'), 0, 0), wahl->section(QLatin1Char('\n'), 1)))
        anzeigen(static_cast<int>(m_bearbeitung.zeilen().size()) - 1);
}

void frmTabellenStruktur::externeVerbindung()
{
    if (!zeileVerlassen())
        return;
    if (m_bearbeitung.extern_()) {
        if (m_bearbeitung.verbindungAufheben())
            anzeigen(0);
        return;
    }
    if (!m_bearbeitung.verbindungVorbereiten())
        return;
    // A link may reach a table of any of the exchange formats.
    const std::optional<AndereDatei> datei
        = waehleAndereDatei(QStringLiteral("Datenbank als verknüpfte Tabelle einfügen"),
            m_datenbankpfad, QFileInfo(m_datenbankpfad).absolutePath());
    if (!datei)
        return;
    const std::optional<QString> tabelle = frmExtTabelle::waehle(
        *m_bearbeitung.datenbank().workspace(), datei->formatIndex, datei->pfad, this);
    if (tabelle
        && m_bearbeitung.verbindungFestlegen(
            Verbindungstext(datei->formatIndex, datei->pfad), *tabelle))
        anzeigen(0);
}

void frmTabellenStruktur::reject()
{
    if (zeileVerlassen())
        QDialog::reject();
}

} // namespace kv
