#include "tables/ui/TabellenGenerator.h"

#include "base/NichtVerfuegbar.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "tables/Tabellendefinitionsformat.h"
#include "widgets/DataGrid.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

// Pages, filling, reading back and the commands of the designer; the lists, colours and the
// preview are in TabellenGeneratorListen.cpp.

namespace kv {

namespace {

const QString Ohne = QStringLiteral("(ohne)");
const QString Crlf = QStringLiteral("<crlf>");

/// The six switches in file order, with their captions.
struct Schalter {
    const char* name;
    bool Tabellendefinition::*feld;
    const char* text;
};
const Schalter Schalterliste[] = {
    { "Suchzeile", &Tabellendefinition::suchzeile, "Suchzeile anzeigen" },
    { "Zebramuster", &Tabellendefinition::zebramuster, "Zebramuster" },
    { "RechteSpalteExpandieren", &Tabellendefinition::rechteSpalteExpandieren,
        "Rechte Spalte bis zum Rand" },
    { "ProportionaleSpaltenbreiten", &Tabellendefinition::proportionaleSpaltenbreiten,
        "Proportionale Spaltenbreiten" },
    { "DatenbankVorgabenUmsetzen", &Tabellendefinition::datenbankVorgabenUmsetzen,
        "Vorgabewerte der Datenbank umsetzen" },
    { "FensterMitStatuszeile", &Tabellendefinition::fensterMitStatuszeile,
        "Fenster mit Statuszeile" },
    { "Editiersperre", &Tabellendefinition::editiersperre, "Editiersperre (nur lesen)" },
};

int twips(int pixel, int dpi)
{
    return qRound(pixel * 1440.0 / dpi);
}

int pixel(double twips, int dpi)
{
    return qRound(twips * dpi / 1440.0);
}

} // namespace

TabellenGenerator::TabellenGenerator(Tabellenumgebung umgebung, QWidget* parent)
    : QWidget(parent)
    , m_umgebung(std::move(umgebung))
    , m_entwurf(std::make_unique<Tabellenentwurf>(QString(), QString(), QString(), QString()))
    , m_farbwahl([](const QColor& aktuell) -> std::optional<QColor> {
        const QColor farbe = QColorDialog::getColor(aktuell);
        return farbe.isValid() ? std::optional<QColor>(farbe) : std::nullopt;
    })
    , m_seiten(new QTabWidget(this))
    , m_vorschaumodell(m_umgebung.modell ? m_umgebung.modell(this) : nullptr)
    , m_speichern(new QPushButton(QStringLiteral("&Speichern"), this))
    , m_schliessen(new QPushButton(QStringLiteral("Schließen"), this))
{
    setObjectName(QStringLiteral("TabellenGenerator"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(m_umgebung.schrift);
    m_speichern->setObjectName(QStringLiteral("Speichern"));
    m_schliessen->setObjectName(QStringLiteral("Schliessen"));
    m_speichern->setAutoDefault(false);
    m_schliessen->setAutoDefault(false);

    m_seiten->addTab(allgemeinSeite(), QStringLiteral("&Allgemein"));
    m_seiten->addTab(spaltenSeite(), QStringLiteral("S&palten"));
    m_seiten->addTab(farbenSeite(), QStringLiteral("&Farben"));
    m_seiten->addTab(kopieSeite(), QStringLiteral("&Kopie und Report"));

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(m_speichern);
    knoepfe->addWidget(m_schliessen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_seiten, 1);
    layout->addLayout(knoepfe);

    connect(m_speichern, &QPushButton::clicked, this, &TabellenGenerator::speichern);
    connect(m_schliessen, &QPushButton::clicked, this, &QWidget::close);
}

TabellenGenerator::~TabellenGenerator()
{
    delete m_vorschau;
    m_vorschau = nullptr;
}

QWidget* TabellenGenerator::allgemeinSeite()
{
    auto* seite = new QWidget(this);
    m_name = new QLineEdit(seite);
    m_name->setObjectName(QStringLiteral("Text1"));
    m_name->setToolTip(QStringLiteral("Kurzname der Tabellenansicht; leer: OhneNamen mit Nummer"));
    m_fenstertitel = new QLineEdit(seite);
    m_fenstertitel->setObjectName(QStringLiteral("Fenstertitel"));
    m_tabellentitel = new QLineEdit(seite);
    m_tabellentitel->setObjectName(QStringLiteral("Tabellentitel"));
    m_sql = new QPlainTextEdit(seite);
    m_sql->setObjectName(QStringLiteral("SQL"));
    m_sql->setTabChangesFocus(true);
    m_sql->setMaximumHeight(m_sql->fontMetrics().height() * 5);
    m_festlegen = new QPushButton(QStringLiteral("Festlegen"), seite);
    m_festlegen->setObjectName(QStringLiteral("Festlegen"));
    m_festlegen->setToolTip(QStringLiteral("Datenquelle festlegen"));
    m_festlegen->setAutoDefault(false);

    m_bedienelemente = new QComboBox(seite);
    m_bedienelemente->addItems({ QStringLiteral("Oben"), QStringLiteral("Unten") });
    m_funktionsleiste = new QComboBox(seite);
    m_funktionsleiste->addItems(
        { QStringLiteral("0 - keine Funktionsleiste"), QStringLiteral("1 - voll ohne Vor/Zurück"),
            QStringLiteral("2 - reduziert"), QStringLiteral("3 - voll mit Vor/Zurück") });
    m_videoleiste = new QComboBox(seite);
    m_videoleiste->addItems({ QStringLiteral("0 - keine Videoleiste"), QStringLiteral("1 - voll"),
        QStringLiteral("2 - reduziert") });
    m_videoDatenfeld = new QComboBox(seite);
    m_videoDatenfeld->setObjectName(QStringLiteral("VideoleisteDatenfeld"));
    m_schriftgroesse = new QDoubleSpinBox(seite);
    m_schriftgroesse->setRange(0, 72);
    m_schriftgroesse->setDecimals(1);
    m_schriftgroesse->setSpecialValueText(QStringLiteral("Standard"));
    m_zeilenhoehe = new QDoubleSpinBox(seite);
    m_zeilenhoehe->setRange(0, 5000);
    m_zeilenhoehe->setDecimals(0);
    m_zeilenhoehe->setSuffix(QStringLiteral(" Twips"));
    m_zeilenhoehe->setSpecialValueText(QStringLiteral("Standard"));
    m_reportfilter = new QLineEdit(seite);

    auto* quelle = new QHBoxLayout;
    quelle->addWidget(m_sql, 1);
    quelle->addWidget(m_festlegen, 0, Qt::AlignTop);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Name:"), m_name);
    form->addRow(QStringLiteral("Fenster&titel:"), m_fenstertitel);
    form->addRow(QStringLiteral("Tabellent&itel:"), m_tabellentitel);
    form->addRow(QStringLiteral("S&QL:"), quelle);
    form->addRow(QStringLiteral("Bedienelemente:"), m_bedienelemente);
    form->addRow(QStringLiteral("Funktionsleiste:"), m_funktionsleiste);
    form->addRow(QStringLiteral("Videoleiste:"), m_videoleiste);
    form->addRow(QStringLiteral("Videoleiste-Datenfeld:"), m_videoDatenfeld);
    form->addRow(QStringLiteral("Schriftgröße:"), m_schriftgroesse);
    form->addRow(QStringLiteral("Zeilenhöhe:"), m_zeilenhoehe);
    form->addRow(QStringLiteral("Report-Dateifilter:"), m_reportfilter);
    auto* schalter = new QGridLayout;
    int i = 0;
    for (const Schalter& s : Schalterliste) {
        auto* box = new QCheckBox(QString::fromUtf8(s.text), seite);
        box->setObjectName(QString::fromUtf8(s.name));
        m_schalter.append(box);
        schalter->addWidget(box, i / 2, i % 2);
        connect(box, &QCheckBox::toggled, this, [this] {
            geaendert();
            vorschauAktualisieren();
        });
        ++i;
    }
    form->addRow(schalter);
    auto* layout = new QVBoxLayout(seite);
    layout->addLayout(form);
    layout->addStretch(1);

    for (QLineEdit* feld : { m_name, m_fenstertitel, m_tabellentitel, m_reportfilter })
        connect(feld, &QLineEdit::textEdited, this, &TabellenGenerator::geaendert);
    connect(
        m_tabellentitel, &QLineEdit::textEdited, this, &TabellenGenerator::vorschauAktualisieren);
    connect(m_sql, &QPlainTextEdit::textChanged, this, &TabellenGenerator::geaendert);
    for (QComboBox* c : { m_bedienelemente, m_funktionsleiste, m_videoleiste, m_videoDatenfeld })
        connect(c, &QComboBox::activated, this, &TabellenGenerator::geaendert);
    for (QDoubleSpinBox* s : { m_schriftgroesse, m_zeilenhoehe }) {
        connect(s, &QDoubleSpinBox::valueChanged, this, [this] {
            geaendert();
            vorschauAktualisieren();
        });
    }
    connect(m_festlegen, &QPushButton::clicked, this, &TabellenGenerator::festlegen);
    // The typed statement is taken when the user leaves the field.
    m_sql->installEventFilter(this);
    return seite;
}

QWidget* TabellenGenerator::kopieSeite()
{
    auto* seite = new QWidget(this);
    m_vorlage = new QLineEdit(seite);
    m_vorlage->setObjectName(QStringLiteral("Zwischenablageformat"));
    m_eingabehilfe = new QComboBox(seite);
    m_eingabehilfe->setObjectName(QStringLiteral("Combo1"));
    m_eingabehilfe->setToolTip(QStringLiteral("Eingabehilfe"));
    auto* hinweis = new QLabel(QStringLiteral("Aufbau der Kopierfunktion: {Feldname1} <crlf> "
                                              "{Feldname2}  <crlf> {Feldname3}    (<crlf> = "
                                              "Zeilenvorschub)"),
        seite);
    hinweis->setWordWrap(true);

    m_reportfelder = new QTableWidget(0, 2, seite);
    m_reportfelder->setObjectName(QStringLiteral("Reportfelder"));
    m_reportfelder->setHorizontalHeaderLabels(
        { QStringLiteral("Grafikfeld"), QStringLiteral("Name im Report") });
    m_reportfelder->horizontalHeader()->setStretchLastSection(true);

    auto* vorlage = new QHBoxLayout;
    vorlage->addWidget(m_vorlage, 1);
    vorlage->addWidget(new QLabel(QStringLiteral("Eingabehilfe:"), seite));
    vorlage->addWidget(m_eingabehilfe);
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(new QLabel(QStringLiteral("Zwischenablageformat:"), seite));
    layout->addLayout(vorlage);
    layout->addWidget(hinweis);
    layout->addWidget(new QLabel(QStringLiteral("Grafikfelder für Reports:"), seite));
    layout->addWidget(m_reportfelder, 1);

    connect(m_vorlage, &QLineEdit::textEdited, this, &TabellenGenerator::geaendert);
    connect(m_eingabehilfe, &QComboBox::activated, this, [this](int index) {
        const QString eintrag = m_eingabehilfe->itemText(index);
        m_eingabehilfe->setCurrentIndex(0);
        if (index <= 0)
            return;
        m_vorlage->insert(eintrag == Crlf ? Crlf : QLatin1Char('{') + eintrag + QLatin1Char('}'));
        m_vorlage->setFocus();
        geaendert();
    });
    connect(m_reportfelder, &QTableWidget::currentCellChanged, this,
        [this](int zeile, int, int vorher, int vorherSpalte) {
            if (vorher >= 0 && vorher != zeile && !reportzeileVerlassen(vorher))
                m_reportfelder->setCurrentCell(vorher, vorherSpalte);
        });
    connect(m_reportfelder, &QTableWidget::itemChanged, this, [this] {
        if (m_fuellt)
            return;
        geaendert();
        neueLeerzeile(m_reportfelder);
    });
    return seite;
}

TabellenGenerator* TabellenGenerator::oeffnen(QMdiArea* mdi, const Tabellenumgebung& umgebung,
    const QString& tabelle, const QString& definitionText, const QString& datei)
{
    auto* fenster = new TabellenGenerator(umgebung);
    if (mdi)
        mdi->addSubWindow(fenster);
    fenster->DefTextTSK(tabelle, definitionText, datei);
    fenster->show();
    return fenster;
}

void TabellenGenerator::DefTextTSK(
    const QString& tabelle, const QString& definitionText, const QString& datei)
{
    m_entwurf = std::make_unique<Tabellenentwurf>(
        tabelle, definitionText, datei, m_umgebung.datenbankpfad);
    setWindowTitle(m_entwurf->titel());
    fuellen();
    // The designer shows the view in the size of its window.
    const Tabellendefinition& d = m_entwurf->definition();
    if (d.breite > 0 && d.hoehe > 0) {
        QWidget* rahmen = parentWidget() ? parentWidget() : this;
        const int dpi = logicalDpiX();
        rahmen->setGeometry(
            pixel(d.links, dpi), pixel(d.oben, dpi), pixel(d.breite, dpi), pixel(d.hoehe, dpi));
    }
}

void TabellenGenerator::fuellen()
{
    m_fuellt = true;
    const Tabellendefinition& d = m_entwurf->definition();
    m_name->setText(m_entwurf->name());
    m_fenstertitel->setText(d.titel);
    m_tabellentitel->setText(d.tabellenTitel);
    m_sql->setPlainText(d.sql);
    m_bedienelemente->setCurrentIndex(d.bedienelementeOben ? 0 : 1);
    m_funktionsleiste->setCurrentIndex(int(d.funktionsleisteAnzeige));
    m_videoleiste->setCurrentIndex(int(d.videoleisteAnzeige));
    m_schriftgroesse->setValue(d.schriftgroesse > 5 ? d.schriftgroesse : 0);
    m_zeilenhoehe->setValue(d.zeilenhoehe);
    m_reportfilter->setText(d.reportDateiFilter);
    for (int i = 0; i < m_schalter.size(); ++i)
        m_schalter.at(i)->setChecked(d.*Schalterliste[i].feld);
    m_vorlage->setText(d.zwischenablageformat);
    for (int i = 0; i < TabellenfarbenAnzahl; ++i)
        farbeSetzen(i, d.farbe(Tabellenfarbe(i)));
    // The field list comes with the source; until then the stored field is the only choice.
    m_videoDatenfeld->clear();
    m_videoDatenfeld->addItem(Ohne);
    if (!d.videoleisteDatenfeld.isEmpty()) {
        m_videoDatenfeld->addItem(d.videoleisteDatenfeld);
        m_videoDatenfeld->setCurrentIndex(1);
    }
    spaltenlisteFuellen(d.spalten);
    reportlisteFuellen(d.reportfelder);
    m_fuellt = false;
    quelleSetzen(d.sql);
}

void TabellenGenerator::geaendert()
{
    if (!m_fuellt)
        m_entwurf->aendern();
}

QCheckBox* TabellenGenerator::schalter(const QString& name) const
{
    for (QCheckBox* box : m_schalter) {
        if (box->objectName() == name)
            return box;
    }
    return nullptr;
}

void TabellenGenerator::quelleSetzen(const QString& sql)
{
    m_gesetztesSql = sql;
    // Rows already entered keep their fields while the lists are filled anew.
    const Tabellendefinition stand = definitionAusFenster();
    m_felder.clear();
    std::unique_ptr<engine::Recordset> rs;
    if (m_umgebung.datenbank && !sql.trimmed().isEmpty()) {
        try {
            rs = m_umgebung.datenbank->openRecordset(sql, engine::dbOpenDynaset);
            for (engine::Field* f : rs->fields())
                m_felder.append(f->name());
        } catch (const engine::EngineError&) {
            // A statement that cannot be opened yet offers no fields; the user may still type
            // them, and the preview stays empty.
            rs.reset();
            m_felder.clear();
        }
    }
    // One change of the preview's set, so that its columns are laid out once.
    if (m_vorschaumodell)
        m_vorschaumodell->zeigen(std::move(rs));
    m_fuellt = true;
    feldlistenFuellen();
    m_videoDatenfeld->setCurrentIndex(
        qMax(0, m_videoDatenfeld->findText(stand.videoleisteDatenfeld)));
    if (!stand.videoleisteDatenfeld.isEmpty() && m_videoDatenfeld->currentIndex() == 0) {
        m_videoDatenfeld->addItem(stand.videoleisteDatenfeld);
        m_videoDatenfeld->setCurrentIndex(m_videoDatenfeld->count() - 1);
    }
    spaltenlisteFuellen(stand.spalten);
    reportlisteFuellen(stand.reportfelder);
    m_fuellt = false;
    // Setting the model again makes the grid take the columns' widths afresh.
    {
        const QScopedValueRollback setzt(m_vorschauSetzt, true);
        m_vorschau->setzeModell(m_vorschaumodell ? m_vorschaumodell->raster() : nullptr);
    }
    vorschauAktualisieren();
}

void TabellenGenerator::feldlistenFuellen()
{
    m_videoDatenfeld->clear();
    m_videoDatenfeld->addItem(Ohne);
    m_videoDatenfeld->addItems(m_felder);
    m_eingabehilfe->clear();
    m_eingabehilfe->addItems({ Ohne, Crlf });
    m_eingabehilfe->addItems(m_felder);
}

QWidget* TabellenGenerator::feldauswahl(const QString& feld) const
{
    auto* auswahl = new QComboBox;
    auswahl->setEditable(true);
    auswahl->addItem(QString());
    auswahl->addItems(m_felder);
    auswahl->setCurrentText(feld);
    return auswahl;
}

void TabellenGenerator::festlegen()
{
    if (!m_umgebung.abfrageGenerator) {
        FensterNichtVerfuegbar();
        return;
    }
    const std::optional<QString> sql = m_umgebung.abfrageGenerator(m_sql->toPlainText());
    if (!sql || sql->trimmed().isEmpty())
        return;
    m_sql->setPlainText(*sql);
    quelleSetzen(*sql);
}

Tabellendefinition TabellenGenerator::definitionAusFenster() const
{
    Tabellendefinition d = m_entwurf->definition();
    d.titel = m_fenstertitel->text().trimmed();
    d.tabellenTitel = m_tabellentitel->text().trimmed();
    d.sql = m_sql->toPlainText();
    d.bedienelementeOben = m_bedienelemente->currentIndex() == 0;
    d.funktionsleisteAnzeige = Funktionsleiste(qMax(0, m_funktionsleiste->currentIndex()));
    d.videoleisteAnzeige = Videoleiste(qMax(0, m_videoleiste->currentIndex()));
    d.videoleisteDatenfeld
        = m_videoDatenfeld->currentIndex() > 0 ? m_videoDatenfeld->currentText() : QString();
    d.schriftgroesse = float(m_schriftgroesse->value());
    d.zeilenhoehe = float(m_zeilenhoehe->value());
    d.reportDateiFilter = m_reportfilter->text().trimmed();
    for (int i = 0; i < m_schalter.size(); ++i)
        d.*Schalterliste[i].feld = m_schalter.at(i)->isChecked();
    d.zwischenablageformat = m_vorlage->text();
    d.farben = m_farben;

    d.spalten = spaltenAusListe();
    d.reportfelder = reportfelderAusListe();

    // The window's own place and size, so that the view opens as the designer showed it.
    const QWidget* rahmen = parentWidget() ? parentWidget() : this;
    const int dpi = logicalDpiX();
    const QRect g = rahmen->geometry();
    d.links = float(twips(g.x(), dpi));
    d.oben = float(twips(g.y(), dpi));
    d.breite = float(twips(g.width(), dpi));
    d.hoehe = float(twips(g.height(), dpi));
    return d;
}

bool TabellenGenerator::speichern()
{
    m_entwurf->aendern() = definitionAusFenster();
    m_entwurf->setzeName(m_name->text().trimmed());
    const bool gespeichert = m_entwurf->speichern();
    // Saving may have given an unnamed view its name.
    m_name->setText(m_entwurf->name());
    if (!gespeichert)
        return false;
    m_schliesst = true;
    close();
    return true;
}

void TabellenGenerator::closeEvent(QCloseEvent* event)
{
    if (!m_schliesst && m_entwurf->geaendert()) {
        // The question saves what the window shows.
        m_entwurf->aendern() = definitionAusFenster();
        m_entwurf->setzeName(m_name->text().trimmed());
        if (!m_entwurf->schliessenErlaubt()) {
            m_name->setText(m_entwurf->name());
            event->ignore();
            return;
        }
    }
    QWidget::closeEvent(event);
}

bool TabellenGenerator::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == m_sql && ereignis->type() == QEvent::FocusOut
        && m_sql->toPlainText() != m_gesetztesSql)
        quelleSetzen(m_sql->toPlainText());
    return QWidget::eventFilter(objekt, ereignis);
}

} // namespace kv
