#include "tables/ui/TabellenGenerator.h"

#include "base/Dialoge.h"
#include "tables/ui/Rasterspalten.h"
#include "widgets/DataGrid.h"
#include "widgets/Farbwert.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

// The designer's column and report-field lists, its colours and the preview grid.

namespace kv {

namespace {

const char* const Farbnamen[] = { "Hintergrund allgemein", "Hintergrund Auswahlzeile",
    "Hintergrund Zebramuster", "Hintergrund Normalzeile", "Hintergrund Suchzeile",
    "Hintergrund Fußzeile", "Text allgemein", "Text Auswahlzeile", "Text Zebramuster",
    "Text Normalzeile", "Text Suchzeile", "Text Fußzeile" };

/// The width a row keeps until the preview shows its column.
constexpr int BreiteRolle = Qt::UserRole + 1;

QTableWidgetItem* ankreuzfeld(bool an)
{
    auto* item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(an ? Qt::Checked : Qt::Unchecked);
    return item;
}

QString text(const QTableWidget* liste, int zeile, int spalte)
{
    const QTableWidgetItem* item = liste->item(zeile, spalte);
    return item ? item->text() : QString();
}

bool angekreuzt(const QTableWidget* liste, int zeile, int spalte)
{
    const QTableWidgetItem* item = liste->item(zeile, spalte);
    return item && item->checkState() == Qt::Checked;
}

QString auswahl(const QTableWidget* liste, int zeile, int spalte)
{
    const auto* c = qobject_cast<const QComboBox*>(liste->cellWidget(zeile, spalte));
    return c ? c->currentText().trimmed() : QString();
}

bool leer(const Tabellenspalte& s)
{
    return s.datenfeld.isEmpty() && s.titel.isEmpty() && s.formatierung.isEmpty() && !s.summe
        && !s.editiersperre && s.ausrichtung == Spaltenausrichtung::Links;
}

} // namespace

QWidget* TabellenGenerator::spaltenSeite()
{
    auto* seite = new QWidget(this);
    m_spalten = new QTableWidget(0, Listenbreite, seite);
    m_spalten->setObjectName(QStringLiteral("Spalten"));
    m_spalten->setHorizontalHeaderLabels({ QStringLiteral("Datenfeld"),
        QStringLiteral("Spaltentitel"), QStringLiteral("Editiersperre"), QStringLiteral("Summe"),
        QStringLiteral("Ausrichtung"), QStringLiteral("Formatierung") });
    m_spalten->horizontalHeader()->setStretchLastSection(true);
    m_spalten->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_spalten->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* oben = new QPushButton(QStringLiteral("Oben"), seite);
    oben->setObjectName(QStringLiteral("Oben"));
    oben->setToolTip(QStringLiteral("Aktuelle Spalte nach oben verschieben"));
    auto* unten = new QPushButton(QStringLiteral("Unten"), seite);
    unten->setObjectName(QStringLiteral("Unten"));
    unten->setToolTip(QStringLiteral("Aktuelle Spalte nach unten verschieben"));
    auto* loeschen = new QPushButton(QStringLiteral("Alle Spalten-Definitionen löschen"), seite);
    loeschen->setObjectName(QStringLiteral("AlleLoeschen"));
    for (QPushButton* k : { oben, unten, loeschen })
        k->setAutoDefault(false);

    m_vorschau = new DataGrid(seite);
    m_vorschau->setObjectName(QStringLiteral("Vorschau"));
    m_vorschau->setzeNurLesen(true);
    connect(m_vorschau->ansicht()->horizontalHeader(), &QHeaderView::sectionResized, this,
        [this](int spalte, int, int neu) { vorschaubreiteGeaendert(spalte, neu); });

    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(oben);
    knoepfe->addWidget(unten);
    knoepfe->addStretch(1);
    knoepfe->addWidget(loeschen);
    auto* listenteil = new QWidget(seite);
    auto* liste = new QHBoxLayout(listenteil);
    liste->setContentsMargins(0, 0, 0, 0);
    liste->addWidget(m_spalten, 1);
    liste->addLayout(knoepfe);
    auto* teiler = new QSplitter(Qt::Vertical, seite);
    teiler->addWidget(listenteil);
    teiler->addWidget(m_vorschau);
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(teiler);

    connect(oben, &QPushButton::clicked, this, [this] { spalteVerschieben(-1); });
    connect(unten, &QPushButton::clicked, this, [this] { spalteVerschieben(+1); });
    connect(loeschen, &QPushButton::clicked, this, &TabellenGenerator::alleSpaltenLoeschen);
    connect(m_spalten, &QTableWidget::currentCellChanged, this,
        [this](int zeile, int, int vorher, int vorherSpalte) {
            if (vorher >= 0 && vorher != zeile && !spaltenzeileVerlassen(vorher))
                m_spalten->setCurrentCell(vorher, vorherSpalte);
        });
    connect(m_spalten, &QTableWidget::itemChanged, this, [this] {
        if (m_fuellt)
            return;
        geaendert();
        neueLeerzeile(m_spalten);
        vorschauAktualisieren();
    });
    return seite;
}

QWidget* TabellenGenerator::farbenSeite()
{
    auto* seite = new QWidget(this);
    auto* raster = new QGridLayout(seite);
    for (int i = 0; i < TabellenfarbenAnzahl; ++i) {
        auto* knopf = new QToolButton(seite);
        knopf->setObjectName(QStringLiteral("Farbe%1").arg(i));
        knopf->setMinimumWidth(60);
        auto* standard = new QCheckBox(QStringLiteral("Standardfarbe"), seite);
        standard->setObjectName(QStringLiteral("Standardfarbe%1").arg(i));
        m_farbknoepfe[size_t(i)] = knopf;
        m_standardfarben[size_t(i)] = standard;
        raster->addWidget(new QLabel(QString::fromUtf8(Farbnamen[i]) + QLatin1Char(':'), seite),
            i % 6, (i / 6) * 3);
        raster->addWidget(knopf, i % 6, (i / 6) * 3 + 1);
        raster->addWidget(standard, i % 6, (i / 6) * 3 + 2);
        connect(knopf, &QToolButton::clicked, this, [this, i] { farbeWaehlen(i); });
        connect(standard, &QCheckBox::toggled, this, [this, i](bool an) {
            if (m_fuellt)
                return;
            farbeSetzen(i,
                an ? std::nullopt
                   : std::optional<quint32>(designerStandardfarbe(Tabellenfarbe(i))));
            geaendert();
            vorschauAktualisieren();
        });
    }
    raster->setRowStretch(6, 1);
    return seite;
}

void TabellenGenerator::farbeWaehlen(int i)
{
    const quint32 wert = m_farben[size_t(i)].value_or(designerStandardfarbe(Tabellenfarbe(i)));
    const std::optional<QColor> farbe = m_farbwahl(Farbe(qint64(wert), palette()));
    if (!farbe)
        return;
    farbeSetzen(i, quint32(Farbwert(*farbe)));
    geaendert();
    vorschauAktualisieren();
}

void TabellenGenerator::farbeSetzen(int i, std::optional<quint32> wert)
{
    m_farben[size_t(i)] = wert;
    farbknopfZeigen(i);
    QCheckBox* standard = m_standardfarben[size_t(i)];
    const bool vorher = standard->blockSignals(true);
    standard->setChecked(!wert);
    standard->blockSignals(vorher);
}

void TabellenGenerator::farbknopfZeigen(int i)
{
    const quint32 wert = m_farben[size_t(i)].value_or(designerStandardfarbe(Tabellenfarbe(i)));
    QPixmap bild(40, 14);
    bild.fill(Farbe(qint64(wert), palette()));
    m_farbknoepfe[size_t(i)]->setIcon(QIcon(bild));
    m_farbknoepfe[size_t(i)]->setIconSize(bild.size());
}

void TabellenGenerator::spaltenlisteFuellen(const QList<Tabellenspalte>& spalten)
{
    const bool vorher = m_fuellt;
    m_fuellt = true;
    m_spalten->setRowCount(0);
    for (const Tabellenspalte& s : spalten)
        spaltenzeileSetzen(m_spalten->rowCount(), s);
    neueLeerzeile(m_spalten);
    m_fuellt = vorher;
}

void TabellenGenerator::spaltenzeileSetzen(int zeile, const Tabellenspalte& s)
{
    if (zeile >= m_spalten->rowCount())
        m_spalten->setRowCount(zeile + 1);
    auto* feld = qobject_cast<QComboBox*>(feldauswahl(s.datenfeld));
    m_spalten->setCellWidget(zeile, Datenfeld, feld);
    auto* titel = new QTableWidgetItem(s.titel);
    titel->setData(BreiteRolle, double(s.breite));
    m_spalten->setItem(zeile, Titel, titel);
    m_spalten->setItem(zeile, Sperre, ankreuzfeld(s.editiersperre));
    m_spalten->setItem(zeile, Summe, ankreuzfeld(s.summe));
    auto* ausrichtung = new QComboBox;
    ausrichtung->addItems(
        { QStringLiteral("Links"), QStringLiteral("Rechts"), QStringLiteral("Zentriert") });
    ausrichtung->setCurrentIndex(int(s.ausrichtung));
    m_spalten->setCellWidget(zeile, Ausrichtung, ausrichtung);
    m_spalten->setItem(zeile, Formatierung, new QTableWidgetItem(s.formatierung));

    const auto aenderung = [this] {
        if (m_fuellt)
            return;
        geaendert();
        neueLeerzeile(m_spalten);
        vorschauAktualisieren();
    };
    connect(feld, &QComboBox::currentTextChanged, this, aenderung);
    connect(ausrichtung, &QComboBox::currentIndexChanged, this, aenderung);
}

Tabellenspalte TabellenGenerator::spaltenzeile(int zeile) const
{
    Tabellenspalte s;
    s.datenfeld = auswahl(m_spalten, zeile, Datenfeld);
    s.titel = text(m_spalten, zeile, Titel).trimmed();
    if (const QTableWidgetItem* t = m_spalten->item(zeile, Titel))
        s.breite = float(t->data(BreiteRolle).toDouble());
    s.editiersperre = angekreuzt(m_spalten, zeile, Sperre);
    s.summe = angekreuzt(m_spalten, zeile, Summe);
    if (const auto* a = qobject_cast<const QComboBox*>(m_spalten->cellWidget(zeile, Ausrichtung)))
        s.ausrichtung = AusrichtungAusZahl(a->currentIndex());
    s.formatierung = text(m_spalten, zeile, Formatierung).trimmed();
    return s;
}

QList<Tabellenspalte> TabellenGenerator::spaltenAusListe() const
{
    // Widths stay in twips as read, so that a width nobody touched is written back unchanged;
    // only a column the user resized takes the preview's width.
    QList<Tabellenspalte> spalten;
    for (int zeile = 0; zeile < m_spalten->rowCount(); ++zeile) {
        const Tabellenspalte s = spaltenzeile(zeile);
        if (!leer(s))
            spalten.append(s);
    }
    return spalten;
}

void TabellenGenerator::vorschaubreiteGeaendert(int spalte, int pixel)
{
    if (m_vorschauSetzt || m_fuellt || spalte < 0)
        return;
    // The stretched last column follows the window, not the user.
    const QHeaderView* koepfe = m_vorschau->ansicht()->horizontalHeader();
    if (koepfe->stretchLastSection() && koepfe->visualIndex(spalte) == koepfe->count() - 1)
        return;
    // The preview's columns are the list's rows with a data field, in order.
    int vorschauspalte = -1;
    for (int zeile = 0; zeile < m_spalten->rowCount(); ++zeile) {
        if (auswahl(m_spalten, zeile, Datenfeld).isEmpty() || ++vorschauspalte != spalte)
            continue;
        if (QTableWidgetItem* titel = m_spalten->item(zeile, Titel)) {
            const bool vorher = m_fuellt;
            m_fuellt = true;
            titel->setData(BreiteRolle, double(qRound(pixel * 1440.0 / logicalDpiX())));
            m_fuellt = vorher;
            geaendert();
        }
        return;
    }
}

QList<Reportfeld> TabellenGenerator::reportfelderAusListe() const
{
    QList<Reportfeld> felder;
    for (int zeile = 0; zeile < m_reportfelder->rowCount(); ++zeile) {
        const Reportfeld r { auswahl(m_reportfelder, zeile, Grafikfeld),
            text(m_reportfelder, zeile, Reportname).trimmed() };
        if (!r.feld.isEmpty() || !r.name.isEmpty())
            felder.append(r);
    }
    return felder;
}

void TabellenGenerator::neueLeerzeile(QTableWidget* liste)
{
    const int zeilen = liste->rowCount();
    if (liste == m_spalten) {
        if (zeilen == 0 || !leer(spaltenzeile(zeilen - 1))) {
            const bool vorher = m_fuellt;
            m_fuellt = true;
            spaltenzeileSetzen(zeilen, Tabellenspalte());
            m_fuellt = vorher;
        }
        return;
    }
    if (zeilen == 0 || !auswahl(liste, zeilen - 1, Grafikfeld).isEmpty()
        || !text(liste, zeilen - 1, Reportname).isEmpty()) {
        const bool vorher = m_fuellt;
        m_fuellt = true;
        liste->setRowCount(zeilen + 1);
        auto* feld = qobject_cast<QComboBox*>(feldauswahl(QString()));
        liste->setCellWidget(zeilen, Grafikfeld, feld);
        liste->setItem(zeilen, Reportname, new QTableWidgetItem);
        connect(feld, &QComboBox::currentTextChanged, this, [this] {
            if (m_fuellt)
                return;
            geaendert();
            neueLeerzeile(m_reportfelder);
        });
        m_fuellt = vorher;
    }
}

void TabellenGenerator::reportlisteFuellen(const QList<Reportfeld>& felder)
{
    const bool vorher = m_fuellt;
    m_fuellt = true;
    m_reportfelder->setRowCount(0);
    for (const Reportfeld& r : felder) {
        neueLeerzeile(m_reportfelder);
        const int zeile = m_reportfelder->rowCount() - 1;
        qobject_cast<QComboBox*>(m_reportfelder->cellWidget(zeile, Grafikfeld))
            ->setCurrentText(r.feld);
        m_reportfelder->item(zeile, Reportname)->setText(r.name);
    }
    neueLeerzeile(m_reportfelder);
    m_fuellt = vorher;
}

bool TabellenGenerator::spaltenzeileVerlassen(int zeile)
{
    if (zeile < 0 || zeile >= m_spalten->rowCount())
        return true;
    const Tabellenspalte s = spaltenzeile(zeile);
    if (leer(s))
        return true;
    if (const std::optional<QString> meldung = Tabellenentwurf::pruefeSpalte(s)) {
        zeigeMeldung(*meldung);
        return false;
    }
    return true;
}

bool TabellenGenerator::reportzeileVerlassen(int zeile)
{
    if (zeile < 0 || zeile >= m_reportfelder->rowCount())
        return true;
    const Reportfeld r { auswahl(m_reportfelder, zeile, Grafikfeld),
        text(m_reportfelder, zeile, Reportname).trimmed() };
    if (r.feld.isEmpty() && r.name.isEmpty())
        return true;
    if (const std::optional<QString> meldung = Tabellenentwurf::pruefeReportfeld(r)) {
        zeigeMeldung(*meldung);
        return false;
    }
    return true;
}

void TabellenGenerator::spalteVerschieben(int richtung)
{
    const int zeile = m_spalten->currentRow();
    m_entwurf->aendern() = definitionAusFenster();
    if (!m_entwurf->verschiebeSpalte(zeile, richtung))
        return;
    spaltenlisteFuellen(m_entwurf->definition().spalten);
    m_spalten->setCurrentCell(zeile + richtung, Titel);
    vorschauAktualisieren();
}

void TabellenGenerator::alleSpaltenLoeschen()
{
    m_entwurf->aendern() = definitionAusFenster();
    m_entwurf->alleSpaltenLoeschen();
    spaltenlisteFuellen({});
    reportlisteFuellen({});
    vorschauAktualisieren();
}

void TabellenGenerator::vorschauAktualisieren()
{
    if (m_fuellt || !m_vorschau)
        return;
    const Tabellendefinition d = definitionAusFenster();
    QList<Rasterspalte> spalten;
    for (const Tabellenspalte& s : d.spalten) {
        if (!s.datenfeld.isEmpty())
            spalten.append(RasterspalteVon(s));
    }
    const QScopedValueRollback setzt(m_vorschauSetzt, true);
    m_vorschau->setzeSpalten(spalten);
    m_vorschau->setzeTitel(d.tabellenTitel);
    m_vorschau->setzeSuchzeile(d.suchzeile);
    m_vorschau->setzeZebramuster(d.zebramuster);
    m_vorschau->setzeRechteSpalteExpandieren(d.rechteSpalteExpandieren);
    m_vorschau->setzeFusszeile(d.hatSummen());
    if (d.schriftgroesse > 5)
        m_vorschau->setzeSchriftgroesse(d.schriftgroesse);
    m_vorschau->setzeZeilenhoehe(d.zeilenhoehe);
    for (int i = 0; i < TabellenfarbenAnzahl; ++i)
        m_vorschau->setzeFarbe(Rasterfarbe(i), qint64(d.designerfarbe(Tabellenfarbe(i))));
}

} // namespace kv
