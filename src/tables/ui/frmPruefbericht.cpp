#include "tables/ui/frmPruefbericht.h"

#include "base/Dialoge.h"
#include "tables/Pruefberichtdatei.h"
#include "tables/Pruefberichtmodell.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kv {

namespace {

QTableView* tabelle(QAbstractItemModel* modell, QWidget* eltern)
{
    auto* t = new QTableView(eltern);
    t->setModel(modell);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->hide();
    // Fixed row heights: measuring each of many thousand rows would make opening slow.
    t->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

} // namespace

frmPruefbericht::frmPruefbericht(engine::isam::VerificationReport bericht, QWidget* parent)
    : QDialog(parent)
    , m_bericht(std::move(bericht))
    , m_zaehlerModell(new Pruefberichtmodell(m_bericht, Pruefberichtmodell::Teil::Zaehler, this))
    , m_werteModell(new Pruefberichtmodell(m_bericht, Pruefberichtmodell::Teil::Werte, this))
    , m_zaehler(tabelle(m_zaehlerModell, this))
    , m_werte(tabelle(m_werteModell, this))
    , m_speichern(new QPushButton(QStringLiteral("Als CSV speichern …"), this))
    , m_schliessen(new QPushButton(QStringLiteral("Schließen"), this))
{
    setObjectName(QStringLiteral("frmPruefbericht"));
    setWindowTitle(QStringLiteral("Prüfbericht"));
    if (parent) {
        setFont(parent->font());
        setWindowIcon(parent->windowIcon());
    }
    m_zaehler->setObjectName(QStringLiteral("Zaehler"));
    m_werte->setObjectName(QStringLiteral("Werte"));
    m_zaehler->setMaximumHeight(m_zaehler->horizontalHeader()->sizeHint().height()
        + m_zaehler->verticalHeader()->defaultSectionSize() * 4 + 4);

    QString ueberschrift = QStringLiteral("Werte, die nicht unverändert ankamen, und abgewiesene "
                                          "Datensätze:");
    if (m_bericht.issueCount() > m_bericht.entries().size())
        ueberschrift += QStringLiteral(" (die ersten %1 von %2 Werten)")
                            .arg(m_bericht.entries().size())
                            .arg(m_bericht.issueCount());
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(m_speichern);
    knoepfe->addWidget(m_schliessen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Datensätze je Tabelle:"), this));
    layout->addWidget(m_zaehler);
    layout->addWidget(new QLabel(ueberschrift, this));
    layout->addWidget(m_werte, 1);
    layout->addLayout(knoepfe);
    resize(720, 480);
    m_schliessen->setDefault(true);

    connect(m_speichern, &QPushButton::clicked, this, &frmPruefbericht::alsCsvSpeichern);
    connect(m_schliessen, &QPushButton::clicked, this, &QDialog::accept);
}

frmPruefbericht::~frmPruefbericht() = default;

bool frmPruefbericht::alsCsvSpeichern()
{
    DateiDialogOptionen o;
    o.speichern = true;
    o.titel = QStringLiteral("Prüfbericht speichern");
    o.filter = QStringLiteral("CSV-Dateien (*.csv)|*.csv");
    o.dateiname = QStringLiteral("Pruefbericht.csv");
    const DateiDialogErgebnis e = Dialoge::aktuell().dateiDialog(o);
    if (e.abgebrochen || e.pfad.isEmpty())
        return false;
    const QString fehler = speicherePruefbericht(m_bericht, e.pfad);
    if (fehler.isEmpty())
        return true;
    zeigeMeldung(fehler, windowTitle(), Knoepfe::Ok, Symbol::Kritisch);
    return false;
}

} // namespace kv
