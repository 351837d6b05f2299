#include "tables/ui/frmImportTabellen.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "tables/Fremdtabellenwahl.h"
#include "tables/ui/frmPruefbericht.h"
#include "widgets/Fortschrittsanzeige.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <limits>

namespace kv {

frmImportTabellen::frmImportTabellen(engine::Database& offen, bool export_, QWidget* parent)
    : QDialog(parent)
    , m_austausch(offen, export_)
    , m_list1(new QListWidget(this))
    , m_text1(new QLineEdit(this))
    , m_check1(new QCheckBox(QStringLiteral("Vorhandene Daten der Ziel-Tabelle &löschen"), this))
    , m_text2(new QPlainTextEdit(this))
    , m_queryCombo(new QComboBox(this))
    , m_reiter(new QTabWidget(this))
    , m_datei(new QPushButton(this))
    , m_start(new QPushButton(this))
    , m_speichern(new QPushButton(QStringLiteral("Abfrage &speichern"), this))
    , m_dateiname(new QLabel(this))
    , m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("frmImportTabellen"));
    if (parent) {
        setFont(parent->font());
        setWindowIcon(parent->windowIcon());
    }
    setWindowTitle(export_ ? QStringLiteral("Datenexport") : QStringLiteral("Datenimport"));
    m_datei->setText(
        export_ ? QStringLiteral("Exportdatei wählen") : QStringLiteral("Importdatei wählen"));
    m_start->setText(export_ ? QStringLiteral("Exportieren") : QStringLiteral("Importieren"));
    m_text1->setToolTip(export_ ? QStringLiteral("Export erfolgt in diese Ziel-Tabelle")
                                : QStringLiteral("Import erfolgt in diese Ziel-Tabelle"));
    m_list1->setObjectName(QStringLiteral("List1"));
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_check1->setObjectName(QStringLiteral("Check1"));
    m_text2->setObjectName(QStringLiteral("Text2"));
    m_queryCombo->setObjectName(QStringLiteral("QueryCombo"));
    m_queryCombo->setEditable(true);
    m_queryCombo->setToolTip(QStringLiteral("Auswahl einer Erstellungs- oder Anfüge-Abfrage"));
    m_status->setObjectName(QStringLiteral("Status"));

    auto* automatik = new QWidget(m_reiter);
    auto* a = new QGridLayout(automatik);
    a->addWidget(new QLabel(export_ ? QStringLiteral("Quell-Tabelle der geöffneten Datenbank:")
                                    : QStringLiteral("Quell-Tabelle:"),
                     automatik),
        0, 0);
    a->addWidget(m_list1, 1, 0, 1, 2);
    auto* zielText = new QLabel(QStringLiteral("&Ziel-Tabelle:"), automatik);
    zielText->setBuddy(m_text1);
    a->addWidget(zielText, 2, 0);
    a->addWidget(m_text1, 2, 1);
    a->addWidget(m_check1, 3, 0, 1, 2);
    m_reiter->addTab(automatik, QStringLiteral("Automatik"));

    auto* manuell = new QWidget(m_reiter);
    auto* m = new QVBoxLayout(manuell);
    auto* abfragen = new QHBoxLayout;
    abfragen->addWidget(m_queryCombo, 1);
    abfragen->addWidget(m_speichern);
    m->addLayout(abfragen);
    m->addWidget(m_text2, 1);
    m_reiter->addTab(manuell, QStringLiteral("Manuelle SQL-Eingabe"));

    auto* schliessen = new QPushButton(QStringLiteral("Schließen"), this);
    auto* oben = new QHBoxLayout;
    oben->addWidget(m_datei);
    oben->addWidget(m_dateiname, 1);
    auto* unten = new QHBoxLayout;
    unten->addWidget(m_status, 1);
    unten->addWidget(m_start);
    unten->addWidget(schliessen);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(oben);
    layout->addWidget(m_reiter, 1);
    layout->addLayout(unten);
    resize(560, 420);

    connect(m_datei, &QPushButton::clicked, this, &frmImportTabellen::dateiWaehlen);
    connect(m_start, &QPushButton::clicked, this, &frmImportTabellen::starten);
    connect(m_speichern, &QPushButton::clicked, this, &frmImportTabellen::abfrageSpeichern);
    connect(schliessen, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list1, &QListWidget::currentTextChanged, this, [this](const QString& name) {
        if (!m_austausch.istExport() && !name.isEmpty())
            m_text1->setText(name);
        knoepfePruefen();
    });
    connect(m_text1, &QLineEdit::textChanged, this, &frmImportTabellen::knoepfePruefen);
    connect(m_text2, &QPlainTextEdit::textChanged, this, &frmImportTabellen::knoepfePruefen);
    connect(m_reiter, &QTabWidget::currentChanged, this, &frmImportTabellen::knoepfePruefen);
    connect(m_queryCombo, &QComboBox::editTextChanged, this, &frmImportTabellen::knoepfePruefen);
    connect(m_queryCombo, &QComboBox::activated, this, [this](int i) {
        if (const engine::QueryDef* q
            = m_austausch.offeneDatenbank().queryDefs().find(m_queryCombo->itemText(i)))
            m_text2->setPlainText(q->sql());
    });
    tabellenZeigen();
    abfragenZeigen();
    setzeStatus(QString());
}

bool frmImportTabellen::automatik() const
{
    return m_reiter->currentIndex() == 0;
}

void frmImportTabellen::setzeStatus(const QString& text)
{
    m_status->setText(text.isEmpty() ? QStringLiteral("Bereit") : text);
    m_status->repaint();
}

void frmImportTabellen::knoepfePruefen()
{
    const bool bereit = automatik() ? m_austausch.hatAndereDatei()
            && m_list1->currentItem() != nullptr && !m_text1->text().trimmed().isEmpty()
                                    : !m_text2->toPlainText().trimmed().isEmpty();
    m_start->setEnabled(bereit);
    m_speichern->setEnabled(!m_queryCombo->currentText().trimmed().isEmpty()
        && !m_text2->toPlainText().trimmed().isEmpty());
}

void frmImportTabellen::tabellenZeigen()
{
    const QString vorher = m_list1->currentItem() ? m_list1->currentItem()->text() : QString();
    QStringList namen;
    if (m_austausch.istExport()) {
        // The source of an export is a table of the open database itself.
        for (const engine::TableDef* t : m_austausch.offeneDatenbank().tableDefs().items())
            if (!t->isSystem() && !t->isAttached())
                namen << t->name();
    } else {
        namen = m_austausch.andereTabellen();
    }
    const QSignalBlocker sperre(m_list1);
    m_list1->clear();
    m_list1->addItems(namen);
    const QList<QListWidgetItem*> gleich = m_list1->findItems(vorher, Qt::MatchFixedString);
    if (!gleich.isEmpty())
        m_list1->setCurrentItem(gleich.first());
    knoepfePruefen();
}

void frmImportTabellen::abfragenZeigen()
{
    const QString text = m_queryCombo->currentText();
    const QSignalBlocker sperre(m_queryCombo);
    m_queryCombo->clear();
    for (const engine::QueryDef* q : m_austausch.offeneDatenbank().queryDefs().items())
        m_queryCombo->addItem(q->name());
    m_queryCombo->setEditText(text);
    knoepfePruefen();
}

void frmImportTabellen::dateiWaehlen()
{
    // An export may name a workbook or table file that does not exist yet.
    const std::optional<AndereDatei> wahl
        = waehleAndereDatei(QStringLiteral("Aus welcher Datenbank soll importiert werden?"),
            m_austausch.offeneDatenbank().name(),
            m_austausch.hatAndereDatei() ? QFileInfo(m_austausch.pfad()).absolutePath() : QString(),
            m_austausch.formatIndex(), m_austausch.istExport());
    if (!wahl)
        return;
    try {
        m_austausch.oeffneAndereDatei(wahl->pfad, wahl->formatIndex);
    } catch (const engine::EngineError& fehler) {
        zeigeFehler(QStringLiteral("Fehler beim Öffnen der Datenbank:"),
            QDir::toNativeSeparators(wahl->pfad), fehler.number(), fehler.description(),
            Fehlerkennung::FehlerKompakt);
        return;
    }
    m_dateiname->setText(QDir::toNativeSeparators(wahl->pfad));
    tabellenZeigen();
    if (!m_austausch.istExport() && m_list1->count() > 0 && !m_list1->currentItem())
        m_list1->setCurrentRow(0);
    knoepfePruefen();
}

void frmImportTabellen::starten()
{
    if (!m_start->isEnabled())
        return;
    QString ziel;
    bool loeschen = false;
    if (automatik()) {
        ziel = m_text1->text().trimmed();
        const QString quelle = m_list1->currentItem()->text();
        loeschen = m_check1->isChecked() && m_austausch.zielVorhanden(ziel);
        if (loeschen
            && zeigeMeldung(QStringLiteral("Sie haben das Löschen von vorhandenen") + Zeilenumbruch
                       + QStringLiteral("Daten in der vorhandenen Ziel-Tabelle gewählt!")
                       + Zeilenumbruch + Zeilenumbruch
                       + QStringLiteral("Bitte bestätigen Sie diese Aktion."),
                   QStringLiteral("Löschen von Tabellen"), Knoepfe::OkAbbrechen, Symbol::Frage, 2)
                != Antwort::Ok)
            return;
        const QString befehl = m_austausch.befehl(quelle, ziel);
        m_text2->setPlainText(befehl);
        if (zeigeMeldung(QStringLiteral("Die Automatik hat diesen SQL-Befehl generiert:")
                    + Zeilenumbruch + Zeilenumbruch + befehl + Zeilenumbruch + Zeilenumbruch
                    + QStringLiteral("Bitte bestätigen Sie diese Aktion."),
                windowTitle(), Knoepfe::OkAbbrechen, Symbol::Frage, 2)
            != Antwort::Ok)
            return;
    }
    // The rows in all are known for the generated statement only.
    const qint64 gesamt
        = automatik() ? m_austausch.quellZeilen(m_list1->currentItem()->text()) : -1;
    const QString was = m_austausch.istExport() ? QStringLiteral("Daten werden exportiert …")
                                                : QStringLiteral("Daten werden importiert …");
    Fortschrittsanzeige anzeige(this, was, windowTitle(), m_fortschrittVerzoegerung);
    QElapsedTimer zuletzt;
    const auto fortschritt = [&](qint64 erledigt, qint64 alle) {
        // A click on "Abbrechen" counts at once; the box is redrawn a few times a second only.
        if (anzeige.dialog() && anzeige.dialog()->wasCanceled())
            return false;
        if (zuletzt.isValid() && zuletzt.elapsed() < 100 && !m_fortschrittBeobachter)
            return true;
        zuletzt.start();
        constexpr qint64 hoechstens = std::numeric_limits<int>::max();
        // Without the rows in all the box shows that it is busy, with the rows done as text.
        const int bis = int(qBound<qint64>(0, alle, hoechstens));
        // Files of our own format are read by SQLite alone: no rows are counted there.
        const QString zeile = alle > 0
            ? QStringLiteral("%1 von %2 Datensätzen").arg(erledigt).arg(alle)
            : erledigt > 0 ? QStringLiteral("%1 Datensätze").arg(erledigt)
                           : QString();
        const bool weiter = anzeige.melden(int(qMin(erledigt, bis > 0 ? bis : hoechstens)), bis,
            zeile.isEmpty() ? was : was + Zeilenumbruch + zeile);
        if (m_fortschrittBeobachter && anzeige.dialog())
            m_fortschrittBeobachter(anzeige.dialog());
        return weiter && !(anzeige.dialog() && anzeige.dialog()->wasCanceled());
    };
    qint64 anzahl = 0;
    try {
        anzahl = m_austausch.ausfuehren(
            m_text2->toPlainText(), loeschen, ziel,
            [this](const QString& text) { setzeStatus(text); }, fortschritt, gesamt);
    } catch (const Austauschfehler& f) {
        anzeige.schliessen();
        setzeStatus(QString());
        if (f.abgebrochen)
            zeigeMeldung(f.satz + Zeilenumbruch + Zeilenumbruch
                    + (m_austausch.istExport()
                            ? QStringLiteral("Die Exportdatei ist so, wie sie vorher war; eine "
                                             "neu angelegte Tabelle wurde wieder entfernt.")
                            : QStringLiteral("Die Datenbank ist so, wie sie vorher war.")),
                windowTitle(), Knoepfe::Ok, Symbol::Information);
        else
            zeigeFehler(f.satz, f.nummer, f.beschreibung, Fehlerkennung::FehlerKompakt);
        return;
    }
    anzeige.schliessen();
    setzeStatus(QString());
    zeigeErgebnis(anzahl);
}

void frmImportTabellen::zeigeErgebnis(qint64 anzahl)
{
    QString text = QStringLiteral("Es wurden ") + QString::number(anzahl)
        + QStringLiteral(" Datensätze hinzugefügt!");
    const QString mappe = m_austausch.ersatzArbeitsmappe();
    if (!mappe.isEmpty() && QFileInfo::exists(mappe))
        text += Zeilenumbruch + Zeilenumbruch
            + QStringLiteral("Das alte Excel-Format kann nicht geschrieben werden; die Daten "
                             "stehen in der Arbeitsmappe '%1'.")
                  .arg(QDir::toNativeSeparators(mappe));
    // The first lines of the verification of a new foreign table.
    const engine::isam::VerificationReport& bericht = m_austausch.bericht();
    const QStringList pruefung = bericht.summary(5);
    if (!pruefung.isEmpty())
        text += Zeilenumbruch + Zeilenumbruch + pruefung.join(Zeilenumbruch);
    if (bericht.isClean()) {
        zeigeMeldung(text);
    } else if (zeigeMeldung(text + Zeilenumbruch + Zeilenumbruch
                       + QStringLiteral("Möchten Sie den vollständigen Prüfbericht sehen?"),
                   QString(), Knoepfe::JaNein, Symbol::Frage)
        == Antwort::Ja) {
        frmPruefbericht fenster(bericht, this);
        fenster.exec();
    }
    tabellenZeigen();
}

void frmImportTabellen::abfrageSpeichern()
{
    if (!m_speichern->isEnabled())
        return;
    try {
        m_austausch.speichereAbfrage(m_queryCombo->currentText().trimmed(), m_text2->toPlainText());
    } catch (const Austauschfehler& f) {
        zeigeFehler(f.satz, f.nummer, f.beschreibung, Fehlerkennung::Fehler);
        return;
    }
    abfragenZeigen();
}

} // namespace kv
