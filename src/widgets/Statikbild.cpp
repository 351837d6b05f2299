#include "widgets/Statikbild.h"

#include "widgets/Bildlage.h"

#include <QDir>
#include <QPainter>

namespace kv {

Statikbild::Statikbild(QWidget* parent)
    : QWidget(parent)
{ }

void Statikbild::setzeEinstellungen(const StatikbildEinstellungen& e, const QString& verzeichnis)
{
    m_lage = e.ausrichtung;
    m_rahmen = e.rahmen;
    ladeDatei(e.datei, verzeichnis);
}

bool Statikbild::ladeDatei(const QString& datei, const QString& verzeichnis)
{
    QImage bild;
    if (!datei.trimmed().isEmpty()) {
        QString pfad = QDir::fromNativeSeparators(datei.trimmed());
        if (QDir::isRelativePath(pfad) && !verzeichnis.isEmpty())
            pfad = QDir(QDir::fromNativeSeparators(verzeichnis)).filePath(pfad);
        bild.load(pfad);
    }
    setzeBild(bild);
    return !bild.isNull();
}

void Statikbild::setzeBild(const QImage& bild)
{
    m_bild = bild;
    update();
}

void Statikbild::setzeAusrichtung(Bildausrichtung lage)
{
    m_lage = lage;
    update();
}

void Statikbild::setzeRahmen(Bildrahmen rahmen)
{
    m_rahmen = rahmen;
    update();
}

void Statikbild::paintEvent(QPaintEvent*)
{
    QPainter maler(this);
    const QRect innen = zeichneBildrahmen(maler, rect(), m_rahmen, palette());
    zeichneBild(maler, innen, m_bild, m_lage);
}

} // namespace kv
