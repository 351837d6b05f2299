#pragma once

#include "masks/Maskendefinition.h"

#include <QImage>
#include <QList>
#include <QWidget>

class QLabel;
class QTabWidget;

namespace kv {

/// The surface of a mask: its elements at their places (pixels from twips), each caption beside
/// its element by the caption layout, the tab control with one page per title, the background
/// picture by its placement, and the elements scaled with the surface when the mask is
/// proportional.
class Maskenflaeche : public QWidget {
    Q_OBJECT
public:
    /// dpi: logical dots per inch for the twips of the definition.
    Maskenflaeche(const Maskendefinition& definition, int dpi, QWidget* parent = nullptr);

    /// The size the definition gives the surface (the virtual one for a virtual mask), pixels.
    QSize entwurfsgroesse() const { return m_entwurf; }
    int pixel(double twips) const;

    /// The surface itself for page 0, tab page k (from 1) otherwise; nullptr without that page.
    QWidget* behaelter(int seite) const;
    QTabWidget* karteikarte() const { return m_karteikarte; }

    /// Puts an element (already a child of its container) at its place, with its caption when
    /// the text is not empty; returns the caption's label (nullptr without one).
    QLabel* platziere(QWidget* element, int seite, const Maskenelement& e, const QString& text);

    /// The background picture (a file; relative to verzeichnis) and its placement.
    void setzeHintergrund(
        const QString& datei, const QString& verzeichnis, Hintergrundausrichtung lage);
    const QImage& hintergrund() const { return m_hintergrund; }

    /// Scales every element and caption from the designed size to groesse.
    void skaliere(const QSize& groesse);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    struct Platz {
        QWidget* element;
        QLabel* beschriftung;
        int seite;
        QRect entwurf;
    };
    void legeBeschriftung(const Platz& p, const QRect& element, const QSize& behaelter);
    QSize behaeltergroesse(int seite) const;

    Feldbeschriftung m_beschriftung;
    int m_dpi;
    QSize m_entwurf;
    QRect m_kartenentwurf;
    QTabWidget* m_karteikarte = nullptr;
    QList<QWidget*> m_seiten;
    QList<Platz> m_plaetze;
    QImage m_hintergrund;
    Hintergrundausrichtung m_lage = Hintergrundausrichtung::LinksOben;
    QSize m_skaliertAuf;
};

} // namespace kv
