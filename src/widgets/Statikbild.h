#pragma once

#include "masks/Elementeinstellungen.h"

#include <QImage>
#include <QWidget>

namespace kv {

/// A picture in an area ("AnzeigeStatikbild", and the picture part of the bound picture): placed
/// by one of the twelve placements inside an optional frame.
class Statikbild : public QWidget {
    Q_OBJECT
public:
    explicit Statikbild(QWidget* parent = nullptr);

    void setzeEinstellungen(const StatikbildEinstellungen& e, const QString& verzeichnis);
    /// Loads a picture file; a relative path is taken from verzeichnis. False (and no picture)
    /// when the file is missing or holds no picture.
    bool ladeDatei(const QString& datei, const QString& verzeichnis = QString());
    void setzeBild(const QImage& bild);
    const QImage& bild() const { return m_bild; }
    void setzeAusrichtung(Bildausrichtung lage);
    Bildausrichtung ausrichtung() const { return m_lage; }
    void setzeRahmen(Bildrahmen rahmen);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QImage m_bild;
    Bildausrichtung m_lage = Bildausrichtung::LinksOben;
    Bildrahmen m_rahmen = Bildrahmen::Ohne;
};

} // namespace kv
