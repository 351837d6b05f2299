#include "widgets/Spaltenliste.h"

#include "base/Format.h"
#include "base/Werteparser.h"
#include "base/Wertzahl.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace kv {

namespace {

constexpr int Wertrolle = Qt::UserRole + 1;
constexpr double TwipsJeZoll = 1440.0;

// Truth values compare as the numbers they are stored as.
bool istZahl(const QVariant& v)
{
    return IstZahlwert(v) || v.metaType().id() == QMetaType::Bool;
}

std::optional<double> alsZahl(const QVariant& v)
{
    return v.metaType().id() == QMetaType::Bool ? std::optional<double>(v.toDouble())
                                                : WertAlsZahl(v);
}

} // namespace

bool listenwertPasst(const QVariant& liste, const QVariant& gespeichert)
{
    if (liste.isNull() || gespeichert.isNull())
        return liste.isNull() && gespeichert.isNull();
    if (istZahl(liste) || istZahl(gespeichert)) {
        const std::optional<double> a = alsZahl(liste);
        const std::optional<double> b = alsZahl(gespeichert);
        return a && b && *a == *b;
    }
    const bool datumA = liste.metaType().id() == QMetaType::QDateTime;
    const bool datumB = gespeichert.metaType().id() == QMetaType::QDateTime;
    if (datumA || datumB) {
        const std::optional<QDateTime> a
            = datumA ? std::optional(liste.toDateTime()) : ParseDatum(liste.toString());
        const std::optional<QDateTime> b
            = datumB ? std::optional(gespeichert.toDateTime()) : ParseDatum(gespeichert.toString());
        return a && b && *a == *b;
    }
    return liste.toString().compare(gespeichert.toString(), Qt::CaseInsensitive) == 0;
}

Spaltenliste::Spaltenliste(QWidget* parent)
    : Feldelement(parent)
    , m_box(new QComboBox(this))
    , m_liste(new QTableView(m_box))
    , m_modell(new QStandardItemModel(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_box);
    setFocusProxy(m_box);
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->setSelectionMode(QAbstractItemView::SingleSelection);
    m_liste->verticalHeader()->hide();
    m_liste->horizontalHeader()->hide();
    m_liste->setShowGrid(false);
    m_liste->setWordWrap(false);
    m_box->setModel(m_modell);
    m_box->setView(m_liste);
    m_box->installEventFilter(this);
    connect(m_box, &QComboBox::activated, this, [this] {
        if (!m_zeigt)
            meldeAenderung();
    });
}

void Spaltenliste::setzeEinstellungen(const ComboboxEinstellungen& e)
{
    m_e = e;
    m_spalten = e.spalten;
    setzeNurLesen(e.sperre);
    spaltenAnwenden();
}

int Spaltenliste::spalteNamens(const QString& name, int vorgabe) const
{
    for (int i = 0; i < m_spalten.size(); ++i) {
        if (m_spalten.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return vorgabe;
}

void Spaltenliste::setzeZeilen(const QList<QVariantList>& zeilen, const QStringList& spaltennamen)
{
    int breiteste = int(spaltennamen.size());
    for (const QVariantList& z : zeilen)
        breiteste = std::max(breiteste, int(z.size()));
    // Columns the definition does not name are shown with a default width.
    for (int i = int(m_spalten.size()); i < breiteste; ++i) {
        Combospalte s;
        s.name = i < spaltennamen.size() ? spaltennamen.at(i) : QString::number(i + 1);
        s.breite = 1440;
        m_spalten.append(s);
    }
    m_modell->clear();
    m_modell->setColumnCount(int(m_spalten.size()));
    for (const QVariantList& z : zeilen) {
        QList<QStandardItem*> zellen;
        for (int i = 0; i < m_spalten.size(); ++i) {
            const QVariant w = i < z.size() ? z.at(i) : QVariant();
            auto* zelle = new QStandardItem(Format(w, m_spalten.at(i).format()));
            zelle->setData(w, Wertrolle);
            zelle->setEditable(false);
            zellen.append(zelle);
        }
        m_modell->appendRow(zellen);
    }
    spaltenAnwenden();
    m_box->setCurrentIndex(-1);
}

void Spaltenliste::spaltenAnwenden()
{
    m_verknuepfung = spalteNamens(m_e.verknuepfungsfeld, 0);
    m_anzeige = spalteNamens(m_e.angezeigteSpalte(), m_verknuepfung);
    m_box->setModelColumn(m_anzeige);
    const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    for (int i = 0; i < m_spalten.size(); ++i) {
        const Combospalte& s = m_spalten.at(i);
        m_liste->setColumnHidden(i, !s.sichtbar());
        if (s.sichtbar() && s.breite > 0)
            m_liste->setColumnWidth(i, int(s.breite * dpi / TwipsJeZoll + 0.5));
    }
    m_liste->setMinimumWidth(listenbreite());
}

int Spaltenliste::listenbreite() const
{
    int summe = 0;
    for (int i = 0; i < m_spalten.size(); ++i) {
        if (!m_liste->isColumnHidden(i))
            summe += m_liste->columnWidth(i);
    }
    return summe + m_liste->verticalScrollBar()->sizeHint().width() + 2 * m_liste->frameWidth();
}

int Spaltenliste::zeilenanzahl() const
{
    return m_modell->rowCount();
}

QVariant Spaltenliste::zellwert(int zeile, int spalte) const
{
    return m_modell->index(zeile, spalte).data(Wertrolle);
}

int Spaltenliste::gewaehlt() const
{
    return m_box->currentIndex();
}

void Spaltenliste::waehle(int zeile)
{
    if (nurLesen() || zeile < -1 || zeile >= zeilenanzahl())
        return;
    m_box->setCurrentIndex(zeile);
    m_box->setPlaceholderText(QString());
    meldeAenderung();
}

QString Spaltenliste::anzeigetext() const
{
    return gewaehlt() < 0 ? m_box->placeholderText() : m_box->currentText();
}

void Spaltenliste::zeigeWert(const QVariant& wert)
{
    m_zeigt = true;
    int gefunden = -1;
    for (int z = 0; z < zeilenanzahl() && !wert.isNull(); ++z) {
        if (listenwertPasst(zellwert(z, m_verknuepfung), wert)) {
            gefunden = z;
            break;
        }
    }
    m_box->setCurrentIndex(gefunden);
    m_box->setPlaceholderText(gefunden < 0 ? Format(wert) : QString());
    m_zeigt = false;
    setzeDatenGeaendert(false);
}

QVariant Spaltenliste::wert() const
{
    return gewaehlt() < 0 ? QVariant() : zellwert(gewaehlt(), m_verknuepfung);
}

void Spaltenliste::setzeNurLesen(bool ja)
{
    Feldelement::setzeNurLesen(ja);
    m_box->setEnabled(!ja);
}

void Spaltenliste::setzeFarben(const QColor& hintergrund, const QColor& text)
{
    faerbe(m_box, hintergrund, text);
}

bool Spaltenliste::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == m_box && ereignis->type() == QEvent::KeyPress) {
        const int taste = static_cast<QKeyEvent*>(ereignis)->key();
        if ((taste == Qt::Key_Delete || taste == Qt::Key_Backspace) && !nurLesen()) {
            waehle(-1);
            return true;
        }
    }
    return Feldelement::eventFilter(objekt, ereignis);
}

} // namespace kv
