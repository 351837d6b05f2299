#include "masks/ui/Maskenflaeche.h"

#include "masks/Beschriftungslage.h"
#include "widgets/Bildlage.h"

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QTabWidget>
#include <cmath>

namespace kv {

namespace {
constexpr double TwipsJeZoll = 1440.0;
// Caption and element keep this much room between them (twips).
constexpr int Beschriftungsabstand = 60;
} // namespace

Maskenflaeche::Maskenflaeche(const Maskendefinition& d, int dpi, QWidget* parent)
    : QWidget(parent)
    , m_beschriftung(d.feldbeschriftung)
    , m_dpi(dpi > 0 ? dpi : 96)
{
    setObjectName(QStringLiteral("VideoSoftElastic1"));
    const bool virtuell = d.virtuell && d.virtuelleBreite > 0 && d.virtuelleHoehe > 0;
    m_entwurf = QSize(pixel(virtuell ? d.virtuelleBreite : d.breite),
        pixel(virtuell ? d.virtuelleHoehe : double(d.hoehe)));
    if (d.karteikarte) {
        const Karteikarte& k = *d.karteikarte;
        m_karteikarte = new QTabWidget(this);
        m_karteikarte->setObjectName(QStringLiteral("VideoSoftIndexTab1"));
        m_kartenentwurf = QRect(pixel(k.links), pixel(k.oben), pixel(k.breite), pixel(k.hoehe));
        m_karteikarte->setGeometry(m_kartenentwurf);
        for (const QString& titel : k.titel) {
            auto* seite = new QWidget;
            seite->setObjectName(QStringLiteral("VideoSoftElastic2"));
            m_karteikarte->addTab(seite, titel);
            m_seiten.append(seite);
        }
    }
    // Elements fit in even when the definition's size is smaller than they need.
    for (const Maskenelement& e : d.elemente) {
        if (e.seite == 0)
            m_entwurf
                = m_entwurf.expandedTo(QSize(pixel(e.links + e.breite), pixel(e.oben + e.hoehe)));
    }
    if (m_karteikarte)
        m_entwurf = m_entwurf.expandedTo(
            QSize(m_kartenentwurf.right() + 1, m_kartenentwurf.bottom() + 1));
    resize(m_entwurf);
}

int Maskenflaeche::pixel(double twips) const
{
    return int(std::lround(twips * m_dpi / TwipsJeZoll));
}

QWidget* Maskenflaeche::behaelter(int seite) const
{
    if (seite == 0)
        return const_cast<Maskenflaeche*>(this);
    return seite >= 1 && seite <= m_seiten.size() ? m_seiten.at(seite - 1) : nullptr;
}

QSize Maskenflaeche::behaeltergroesse(int seite) const
{
    if (seite == 0)
        return size();
    const QWidget* b = behaelter(seite);
    // Before the tab control is shown its pages have no size yet.
    return b && b->width() > 0 ? b->size() : m_karteikarte->size();
}

QLabel* Maskenflaeche::platziere(
    QWidget* element, int seite, const Maskenelement& e, const QString& text)
{
    const QRect entwurf(
        pixel(e.links), pixel(e.oben), std::max(pixel(e.breite), 1), std::max(pixel(e.hoehe), 1));
    element->setGeometry(entwurf);
    QLabel* beschriftung = nullptr;
    if (!text.isEmpty()) {
        beschriftung = new QLabel(text, behaelter(seite));
        beschriftung->setObjectName(QStringLiteral("Beschriftung"));
        beschriftung->setAlignment(ausrichtungVon(m_beschriftung.ausrichtung));
        // The caption's area may reach over other elements; clicks go to what lies below.
        beschriftung->setAttribute(Qt::WA_TransparentForMouseEvents);
        beschriftung->lower();
        beschriftung->setBuddy(element);
    }
    m_plaetze.append({ element, beschriftung, seite, entwurf });
    legeBeschriftung(m_plaetze.last(), entwurf, behaeltergroesse(seite));
    return beschriftung;
}

void Maskenflaeche::legeBeschriftung(const Platz& p, const QRect& element, const QSize& behaelter)
{
    if (!p.beschriftung)
        return;
    const int zeile = p.beschriftung->fontMetrics().height() + 2;
    p.beschriftung->setGeometry(beschriftungsbereich(element, m_beschriftung,
        m_beschriftung.groesse > 0 ? pixel(m_beschriftung.groesse) : 0, QRect(QPoint(), behaelter),
        zeile, pixel(Beschriftungsabstand)));
}

void Maskenflaeche::setzeHintergrund(
    const QString& datei, const QString& verzeichnis, Hintergrundausrichtung lage)
{
    m_lage = lage;
    m_hintergrund = QImage();
    if (!datei.trimmed().isEmpty()) {
        QString pfad = QDir::fromNativeSeparators(datei.trimmed());
        if (QDir::isRelativePath(pfad) && !verzeichnis.isEmpty())
            pfad = QDir(QDir::fromNativeSeparators(verzeichnis)).filePath(pfad);
        m_hintergrund.load(pfad);
    }
    update();
}

void Maskenflaeche::skaliere(const QSize& groesse)
{
    if (groesse == m_skaliertAuf || groesse.isEmpty())
        return;
    m_skaliertAuf = groesse;
    resize(groesse);
    if (m_karteikarte)
        m_karteikarte->setGeometry(proportional(m_kartenentwurf, m_entwurf, groesse));
    for (const Platz& p : m_plaetze) {
        // Elements on tab pages scale with the tab control.
        const QSize bezug = p.seite == 0 ? m_entwurf : m_kartenentwurf.size();
        const QSize ziel = p.seite == 0 ? groesse : m_karteikarte->size();
        const QRect r = proportional(p.entwurf, bezug, ziel);
        p.element->setGeometry(r);
        legeBeschriftung(p, r, p.seite == 0 ? groesse : ziel);
    }
}

void Maskenflaeche::paintEvent(QPaintEvent*)
{
    if (m_hintergrund.isNull())
        return;
    QPainter maler(this);
    zeichneBild(maler, rect(), m_hintergrund, m_lage);
}

} // namespace kv
