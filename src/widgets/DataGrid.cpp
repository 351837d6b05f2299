#include "widgets/DataGrid.h"

#include "base/Rastermodell.h"
#include "widgets/Eingabepruefung.h"
#include "widgets/Farbwert.h"
#include "widgets/Rasteransicht.h"
#include "widgets/Rasterdelegat.h"
#include "widgets/Rasterfuss.h"
#include "widgets/Rasterkopf.h"
#include "widgets/Rasterproxy.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QVBoxLayout>

// Set-up, columns and look of the grid; editing and keys are in DataGridBearbeitung.cpp.

namespace kv {

DataGrid::DataGrid(QWidget* parent)
    : QWidget(parent)
    , m_titel(new QLabel(this))
    , m_proxy(new Rasterproxy(this))
    , m_ansicht(new Rasteransicht(this))
    , m_kopf(new Rasterkopf(m_ansicht))
    , m_fuss(nullptr)
    , m_laufleiste(new QScrollBar(Qt::Horizontal, this))
    , m_loeschtitel(QStringLiteral("Daten löschen"))
    , m_speicherfehler(QStringLiteral("Fehler beim Speichern der Datenzeile!"))
    , m_loeschfehler(QStringLiteral("Fehler beim Löschen der Datenzeile!"))
{
    m_titel->setObjectName(QStringLiteral("Titel"));
    m_titel->setAlignment(Qt::AlignCenter);
    m_titel->setFrameShape(QFrame::StyledPanel);
    m_titel->hide();

    m_ansicht->setHorizontalHeader(m_kopf);
    m_ansicht->setItemDelegate(new Rasterdelegat(this));
    m_ansicht->setModel(m_proxy);
    QItemSelectionModel* alt = m_ansicht->selectionModel();
    m_ansicht->setSelectionModel(new Rasterauswahl(m_proxy, this));
    delete alt;
    // Clicks on the heads and record selectors are ours: a head click must not move the
    // current row, a record selector marks its row.
    QHeaderView* zeilenkoepfe = m_ansicht->verticalHeader();
    disconnect(m_kopf, SIGNAL(sectionPressed(int)), m_ansicht, SLOT(selectColumn(int)));
    disconnect(m_kopf, SIGNAL(sectionEntered(int)), m_ansicht, SLOT(_q_selectColumn(int)));
    disconnect(zeilenkoepfe, SIGNAL(sectionPressed(int)), m_ansicht, SLOT(selectRow(int)));
    disconnect(zeilenkoepfe, SIGNAL(sectionEntered(int)), m_ansicht, SLOT(_q_selectRow(int)));
    connect(m_kopf, &QHeaderView::sectionClicked, this, &DataGrid::kopfGeklickt);
    connect(zeilenkoepfe, &QHeaderView::sectionPressed, this, &DataGrid::kopfMarkierung);
    zeilenkoepfe->viewport()->installEventFilter(this);
    connect(m_kopf, &Rasterkopf::suchtextGeaendert, this, &DataGrid::suchtextGeaendert);
    connect(m_kopf, &QHeaderView::sectionResized, this, [this](int spalte, int, int neu) {
        if (m_proportional && !m_breitenSetzen && spalte < m_spalten.size()
            && m_ansicht->viewport()->width() > 0)
            m_spalten[spalte].basisbreite = neu * m_basisViewport / m_ansicht->viewport()->width();
    });

    m_fuss = new Rasterfuss(this, m_ansicht);
    m_fuss->hide();
    m_laufleiste->setObjectName(QStringLiteral("Laufleiste"));
    m_laufleiste->hide();
    QScrollBar* innen = m_ansicht->horizontalScrollBar();
    connect(innen, &QScrollBar::valueChanged, m_laufleiste, &QScrollBar::setValue);
    connect(m_laufleiste, &QScrollBar::valueChanged, innen, &QScrollBar::setValue);
    connect(innen, &QScrollBar::valueChanged, this, [this] {
        m_kopf->suchfelderAnordnen();
        m_fuss->update();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_titel);
    layout->addWidget(m_ansicht, 1);
    layout->addWidget(m_fuss);
    layout->addWidget(m_laufleiste);

    const QPalette p = palette();
    const auto setze = [this](Rasterfarbe r, const QColor& c) { m_farben[size_t(r)] = c; };
    setze(Rasterfarbe::HintergrundAllgemein, p.color(QPalette::Base));
    setze(Rasterfarbe::HintergrundAuswahlzeile, p.color(QPalette::Highlight));
    setze(Rasterfarbe::HintergrundZebramuster, p.color(QPalette::AlternateBase));
    setze(Rasterfarbe::HintergrundNormalzeile, p.color(QPalette::Base));
    setze(Rasterfarbe::HintergrundSuchzeile, p.color(QPalette::Base));
    setze(Rasterfarbe::HintergrundFusszeile, p.color(QPalette::Button));
    setze(Rasterfarbe::TextAllgemein, p.color(QPalette::Text));
    setze(Rasterfarbe::TextAuswahlzeile, p.color(QPalette::HighlightedText));
    setze(Rasterfarbe::TextZebramuster, p.color(QPalette::Text));
    setze(Rasterfarbe::TextNormalzeile, p.color(QPalette::Text));
    setze(Rasterfarbe::TextSuchzeile, p.color(QPalette::Text));
    setze(Rasterfarbe::TextFusszeile, p.color(QPalette::ButtonText));
    farbenAnwenden();

    m_pruefung = [this](int spalte, const QString& text) {
        return Typpruefung(feldtyp(spalte), spaltentitel(spalte), text);
    };

    connect(m_proxy, &QAbstractItemModel::modelReset, this, &DataGrid::modellZurueckgesetzt);
    connect(m_proxy, &QAbstractItemModel::columnsInserted, this, &DataGrid::spaltenzahlAnpassen);
    connect(m_proxy, &QAbstractItemModel::columnsRemoved, this, &DataGrid::spaltenzahlAnpassen);
    m_fertig = true;
    zeilenhoeheAnwenden();
}

DataGrid::~DataGrid()
{
    // The view and its parts call back into the grid while they go, so they go while the
    // grid is still whole.
    m_fertig = false;
    m_proxy->disconnect(this);
    if (m_modell)
        m_modell->disconnect(this);
    delete m_fuss;
    delete m_ansicht;
}

bool DataGrid::eventFilter(QObject* objekt, QEvent* ereignis)
{
    // The press reports only the row; Ctrl and Shift come from the event itself.
    if (ereignis->type() == QEvent::MouseButtonPress
        && objekt == m_ansicht->verticalHeader()->viewport())
        m_kopfUmschalter = static_cast<QMouseEvent*>(ereignis)->modifiers();
    return QWidget::eventFilter(objekt, ereignis);
}

QTableView* DataGrid::ansicht() const
{
    return m_ansicht;
}

void DataGrid::setzeModell(QAbstractItemModel* modell)
{
    if (m_rastermodell)
        disconnect(m_rastermodell, nullptr, this, nullptr);
    if (m_modell)
        disconnect(m_modell, &QObject::destroyed, this, nullptr);
    m_modell = modell;
    m_rastermodell = qobject_cast<Rastermodell*>(modell);
    if (modell) {
        connect(modell, &QObject::destroyed, this, [this] {
            m_modell = nullptr;
            m_rastermodell = nullptr;
        });
    }
    m_hinzufuegen = false;
    if (m_rastermodell) {
        connect(m_rastermodell, &Rastermodell::bearbeitungBegonnen, this,
            &DataGrid::bearbeitungBegonnen);
        connect(m_rastermodell, &Rastermodell::aktuelleZeileGeaendert, this,
            &DataGrid::aktuelleZeileVomModell);
        connect(m_rastermodell, &Rastermodell::lesefehler, this, &DataGrid::lesefehlerZeigen);
        if (m_spaltenGesetzt) {
            QList<Spaltenbindung> bindungen;
            for (const Spalte& s : std::as_const(m_spalten))
                bindungen.append({ s.def.datenfeld, s.def.format });
            m_rastermodell->setzeSpalten(bindungen);
        }
        m_rastermodell->setzeNeuzeile(!m_nurLesen);
    }
    m_breitenSetzen = true;
    m_proxy->setSourceModel(modell);
    if (!m_rastermodell)
        m_ansicht->setEditTriggers(QAbstractItemView::NoEditTriggers);
    else if (!m_nurLesen)
        m_ansicht->setEditTriggers(QAbstractItemView::DoubleClicked
            | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
}

void DataGrid::modellZurueckgesetzt()
{
    m_hinzufuegen = false;
    m_lesefehlerGezeigt = false;
    spaltenzahlAnpassen();
    if (m_proxy->rowCount() > 0 && !m_ansicht->currentIndex().isValid()) {
        const int spalte = qMax(0, ersteBearbeitbareSpalte());
        m_ansicht->selectionModel()->setCurrentIndex(
            index(0, spalte), QItemSelectionModel::NoUpdate);
    }
    // A requery started from the search row must not take the user out of it.
    for (int spalte = 0; spalte < m_spalten.size(); ++spalte) {
        QLineEdit* feld = m_kopf->suchfeld(spalte);
        if (feld && feld->hasFocus())
            feld->setCursorPosition(int(feld->text().size()));
    }
}

void DataGrid::spaltenzahlAnpassen()
{
    const int anzahl = m_proxy->columnCount();
    const qsizetype vorher = m_spalten.size();
    if (!m_spaltenGesetzt) {
        m_spalten.resize(anzahl);
        for (int i = 0; i < anzahl; ++i) {
            m_spalten[i].def.datenfeld
                = m_proxy->headerData(i, Qt::Horizontal, Rasterrolle::Datenfeld).toString();
        }
    } else if (m_spalten.size() < anzahl) {
        m_spalten.resize(anzahl);
    }
    if (m_breitenSetzen || vorher != m_spalten.size())
        spaltenAnwenden();
    m_proxy->spaltenkoepfeGeaendert();
}

void DataGrid::spaltenAnwenden()
{
    m_breitenSetzen = true;
    const int anzahl = qMin(int(m_spalten.size()), m_proxy->columnCount());
    for (int i = 0; i < anzahl; ++i) {
        Spalte& s = m_spalten[i];
        const int breite
            = s.def.breite > 0 ? twipsZuPixel(s.def.breite) : m_kopf->defaultSectionSize();
        m_ansicht->setColumnWidth(i, breite);
        m_ansicht->setColumnHidden(i, !s.def.sichtbar);
        s.basisbreite = breite;
    }
    m_basisViewport = m_ansicht->viewport()->width();
    m_breitenSetzen = false;
    proportionalAnpassen();
}

void DataGrid::proportionalAnpassen()
{
    if (!m_fertig)
        return;
    const int breite = m_ansicht->viewport()->width();
    if (!m_proportional || breite <= 0 || m_basisViewport <= 0 || breite == m_basisViewport)
        return;
    m_breitenSetzen = true;
    const int anzahl = qMin(int(m_spalten.size()), m_proxy->columnCount());
    for (int i = 0; i < anzahl; ++i) {
        const int basis = m_spalten.at(i).basisbreite;
        m_ansicht->setColumnWidth(i, qMax(1, qRound(double(basis) * breite / m_basisViewport)));
    }
    m_breitenSetzen = false;
}

int DataGrid::twipsZuPixel(double twips) const
{
    return qMax(1, qRound(twips * logicalDpiX() / 1440.0));
}

double DataGrid::pixelZuTwips(int pixel) const
{
    return double(qRound(pixel * 1440.0 / logicalDpiX()));
}

QModelIndex DataGrid::index(int zeile, int spalte) const
{
    return m_proxy->index(zeile, spalte);
}

void DataGrid::setzeSpalten(const QList<Rasterspalte>& spalten)
{
    m_spaltenGesetzt = !spalten.isEmpty();
    m_spalten.clear();
    for (const Rasterspalte& def : spalten)
        m_spalten.append({ def, {}, Spaltenausrichtung::Links, Kopfstil::Heading, 0 });
    m_breitenSetzen = true;
    if (m_rastermodell) {
        QList<Spaltenbindung> bindungen;
        for (const Rasterspalte& def : spalten)
            bindungen.append({ def.datenfeld, def.format });
        m_rastermodell->setzeSpalten(bindungen);
    } else {
        spaltenzahlAnpassen();
    }
}

QList<Rasterspalte> DataGrid::spalten() const
{
    QList<Rasterspalte> ergebnis;
    for (int i = 0; i < m_spalten.size(); ++i) {
        Rasterspalte def = m_spalten.at(i).def;
        if (i < m_proxy->columnCount()) {
            def.titel = spaltentitel(i);
            def.sichtbar = !m_ansicht->isColumnHidden(i);
            if (def.sichtbar)
                def.breite = pixelZuTwips(m_ansicht->columnWidth(i));
        }
        ergebnis.append(def);
    }
    return ergebnis;
}

int DataGrid::spaltenanzahl() const
{
    return m_proxy->columnCount();
}

QString DataGrid::spaltentitel(int spalte) const
{
    if (spalte >= 0 && spalte < m_spalten.size() && !m_spalten.at(spalte).def.titel.isEmpty())
        return m_spalten.at(spalte).def.titel;
    return m_modell ? m_modell->headerData(spalte, Qt::Horizontal, Qt::DisplayRole).toString()
                    : QString();
}

QString DataGrid::datenfeld(int spalte) const
{
    if (spalte >= 0 && spalte < m_spalten.size() && !m_spalten.at(spalte).def.datenfeld.isEmpty())
        return m_spalten.at(spalte).def.datenfeld;
    return m_modell
        ? m_modell->headerData(spalte, Qt::Horizontal, Rasterrolle::Datenfeld).toString()
        : QString();
}

int DataGrid::feldtyp(int spalte) const
{
    return m_modell ? m_modell->headerData(spalte, Qt::Horizontal, Rasterrolle::Feldtyp).toInt()
                    : 0;
}

bool DataGrid::spalteGesperrt(int spalte) const
{
    return spalte >= 0 && spalte < m_spalten.size() && m_spalten.at(spalte).def.gesperrt;
}

bool DataGrid::bearbeitbar(int spalte) const
{
    return m_rastermodell && !m_nurLesen && !spalteGesperrt(spalte);
}

int DataGrid::ersteBearbeitbareSpalte() const
{
    const QHeaderView* kopf = m_ansicht->horizontalHeader();
    int erste = -1;
    for (int v = 0; v < kopf->count(); ++v) {
        const int spalte = kopf->logicalIndex(v);
        if (kopf->isSectionHidden(spalte))
            continue;
        if (erste < 0)
            erste = spalte;
        if (!spalteGesperrt(spalte))
            return spalte;
    }
    return erste;
}

void DataGrid::setzeTitel(const QString& titel)
{
    m_titel->setText(titel);
    m_titel->setVisible(!titel.isEmpty());
}

QString DataGrid::titel() const
{
    return m_titel->text();
}

void DataGrid::setzeFarbe(Rasterfarbe rolle, qint64 wert)
{
    m_farben[size_t(rolle)] = Farbe(wert, palette());
    farbenAnwenden();
}

QColor DataGrid::farbe(Rasterfarbe rolle) const
{
    return m_farben[size_t(rolle)];
}

void DataGrid::farbenAnwenden()
{
    QPalette p = m_ansicht->palette();
    p.setColor(QPalette::Base, farbe(Rasterfarbe::HintergrundAllgemein));
    p.setColor(QPalette::Text, farbe(Rasterfarbe::TextAllgemein));
    m_ansicht->setPalette(p);
    m_kopf->setzeSuchfarben(
        farbe(Rasterfarbe::HintergrundSuchzeile), farbe(Rasterfarbe::TextSuchzeile));
    if (m_fuss)
        m_fuss->update();
    m_ansicht->viewport()->update();
}

void DataGrid::setzeZebramuster(bool ja)
{
    m_zebra = ja;
    m_ansicht->viewport()->update();
}

void DataGrid::setzeZeilenhoehe(double twips)
{
    m_zeilenhoeheTwips = twips;
    zeilenhoeheAnwenden();
}

void DataGrid::zeilenhoeheAnwenden()
{
    QHeaderView* zeilen = m_ansicht->verticalHeader();
    const int hoehe = m_zeilenhoeheTwips > 0 ? twipsZuPixel(m_zeilenhoeheTwips)
                                             : m_ansicht->fontMetrics().height() + 6;
    zeilen->setMinimumSectionSize(qMin(hoehe, 4));
    zeilen->setDefaultSectionSize(hoehe);
    // Room for the record selector's marks; a fixed width spares measuring millions of rows.
    zeilen->setFixedWidth(m_ansicht->fontMetrics().horizontalAdvance(QStringLiteral("▶✎")) + 6);
}

void DataGrid::setzeSchriftgroesse(double punkte)
{
    if (punkte <= 0)
        return;
    QFont f = font();
    f.setPointSizeF(punkte);
    setFont(f);
    zeilenhoeheAnwenden();
    m_kopf->updateGeometry();
    Q_EMIT m_kopf->geometriesChanged();
}

void DataGrid::setzeRechteSpalteExpandieren(bool ja)
{
    m_kopf->setStretchLastSection(ja);
}

void DataGrid::setzeProportionaleSpaltenbreiten(bool ja)
{
    m_proportional = ja;
    if (ja) {
        for (int i = 0; i < m_spalten.size() && i < m_proxy->columnCount(); ++i)
            m_spalten[i].basisbreite = m_ansicht->columnWidth(i);
        m_basisViewport = m_ansicht->viewport()->width();
    }
}

void DataGrid::setzeKopfstilBild(Kopfstil stil, const QString& bilddatei, const QString& tooltip)
{
    m_kopfbilder[size_t(stil)] = QFileInfo(bilddatei).isFile() ? QIcon(bilddatei) : QIcon();
    m_kopftipps[size_t(stil)] = tooltip;
    m_proxy->spaltenkoepfeGeaendert();
}

void DataGrid::setzeKopfstil(int spalte, Kopfstil stil)
{
    if (spalte < 0 || spalte >= m_spalten.size())
        return;
    m_spalten[spalte].kopfstil = stil;
    Q_EMIT m_proxy->headerDataChanged(Qt::Horizontal, spalte, spalte);
}

Kopfstil DataGrid::kopfstil(int spalte) const
{
    return spalte >= 0 && spalte < m_spalten.size() ? m_spalten.at(spalte).kopfstil
                                                    : Kopfstil::Heading;
}

QIcon DataGrid::kopfbild(int spalte) const
{
    return m_kopfbilder[size_t(kopfstil(spalte))];
}

QString DataGrid::kopftipp(int spalte) const
{
    return m_kopftipps[size_t(kopfstil(spalte))];
}

void DataGrid::setzeSuchzeile(bool ja)
{
    m_kopf->setzeSuchzeile(ja);
}

bool DataGrid::suchzeile() const
{
    return m_kopf->suchzeile();
}

QString DataGrid::suchtext(int spalte) const
{
    return m_kopf->suchtext(spalte);
}

void DataGrid::setzeSuchtext(int spalte, const QString& text)
{
    m_kopf->setzeSuchtext(spalte, text);
}

void DataGrid::setzeFusszeile(bool ja)
{
    m_fuss->setVisible(ja);
    // The footer sits between the rows and the horizontal scroll bar, so the view's own bar
    // gives way to one under the footer.
    m_ansicht->setHorizontalScrollBarPolicy(ja ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    laufleisteAbgleichen();
}

bool DataGrid::fusszeile() const
{
    return !m_fuss->isHidden();
}

void DataGrid::laufleisteAbgleichen()
{
    if (!m_fertig)
        return;
    const QScrollBar* innen = m_ansicht->horizontalScrollBar();
    m_laufleiste->setRange(innen->minimum(), innen->maximum());
    m_laufleiste->setPageStep(innen->pageStep());
    m_laufleiste->setSingleStep(innen->singleStep());
    m_laufleiste->setValue(innen->value());
    m_laufleiste->setVisible(fusszeile() && innen->maximum() > innen->minimum());
    if (m_fuss)
        m_fuss->update();
}

void DataGrid::setzeFusstext(int spalte, const QString& text, Spaltenausrichtung a)
{
    if (spalte < 0)
        return;
    if (spalte >= m_spalten.size())
        m_spalten.resize(spalte + 1);
    m_spalten[spalte].fusstext = text;
    m_spalten[spalte].fussausrichtung = a;
    m_fuss->update();
}

QString DataGrid::fusstext(int spalte) const
{
    return spalte >= 0 && spalte < m_spalten.size() ? m_spalten.at(spalte).fusstext : QString();
}

Spaltenausrichtung DataGrid::fussausrichtung(int spalte) const
{
    return spalte >= 0 && spalte < m_spalten.size() ? m_spalten.at(spalte).fussausrichtung
                                                    : Spaltenausrichtung::Links;
}

void DataGrid::fusstexteLeeren()
{
    for (Spalte& s : m_spalten)
        s.fusstext.clear();
    m_fuss->update();
}

double DataGrid::spaltensumme(int spalte) const
{
    double summe = 0;
    const int zeilen = datenzeilen();
    for (int zeile = 0; zeile < zeilen; ++zeile) {
        bool ok = false;
        const double wert = zellwert(zeile, spalte).toDouble(&ok);
        if (ok)
            summe += wert;
    }
    return summe;
}

int DataGrid::datenzeilen() const
{
    int zeilen = m_proxy->rowCount();
    if (zeilen > 0 && istNeuzeile(zeilen - 1))
        --zeilen;
    if (m_hinzufuegen && m_rastermodell && m_rastermodell->bearbeiteteZeile() == zeilen - 1)
        --zeilen;
    return zeilen;
}

bool DataGrid::istNeuzeile(int zeile) const
{
    return m_modell && m_modell->columnCount() > 0
        && m_modell->index(zeile, 0).data(Rasterrolle::Neuzeile).toBool();
}

int DataGrid::aktuelleZeile() const
{
    return m_ansicht->currentIndex().row();
}

int DataGrid::aktuelleSpalte() const
{
    return m_ansicht->currentIndex().column();
}

QString DataGrid::zelltext(int zeile, int spalte) const
{
    return index(zeile, spalte).data(Qt::DisplayRole).toString();
}

QVariant DataGrid::zellwert(int zeile, int spalte) const
{
    const QModelIndex i = index(zeile, spalte);
    return m_rastermodell ? i.data(Rasterrolle::Wert) : i.data(Qt::EditRole);
}

QByteArray DataGrid::lesezeichen(int zeile) const
{
    return m_modell && m_modell->columnCount() > 0
        ? m_modell->index(zeile, 0).data(Rasterrolle::Lesezeichen).toByteArray()
        : QByteArray();
}

std::pair<int, int> DataGrid::sichtbareZeilen() const
{
    const int zeilen = m_proxy->rowCount();
    if (zeilen == 0)
        return { -1, -1 };
    const int erste = m_ansicht->rowAt(0);
    int letzte = m_ansicht->rowAt(m_ansicht->viewport()->height() - 1);
    if (letzte < 0)
        letzte = zeilen - 1;
    return { erste, letzte };
}

} // namespace kv
