#include "widgets/Feldbild.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "widgets/Statikbild.h"

#include <QBuffer>
#include <QContextMenuEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QImageReader>

namespace kv {

QString bilddateifilter()
{
    return QStringLiteral("Bilder|*.PNG;*.JPG;*.JPEG;*.GIF;*.BMP;*.ICO|Alle Dateien|*.*");
}

QString bildendung(const QByteArray& daten)
{
    QBuffer puffer;
    puffer.setData(daten);
    puffer.open(QIODevice::ReadOnly);
    QString format = QString::fromLatin1(QImageReader::imageFormat(&puffer));
    return format == QLatin1String("jpeg") ? QStringLiteral("jpg") : format;
}

Feldbild::Feldbild(QWidget* parent)
    : Feldelement(parent)
    , m_anzeige(new Statikbild(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_anzeige);
    setFocusPolicy(Qt::StrongFocus);
}

void Feldbild::setzeEinstellungen(const BildEinstellungen& e)
{
    m_anzeige->setzeAusrichtung(e.ausrichtung);
}

void Feldbild::zeigeWert(const QVariant& wert)
{
    m_daten = wert.isNull() ? QByteArray() : wert.toByteArray();
    m_anzeige->setzeBild(QImage::fromData(m_daten));
    setzeDatenGeaendert(false);
}

QVariant Feldbild::wert() const
{
    return m_daten.isEmpty() ? QVariant() : QVariant(m_daten);
}

void Feldbild::uebernehmen(const QByteArray& daten)
{
    m_daten = daten;
    m_anzeige->setzeBild(QImage::fromData(m_daten));
    meldeAenderung();
}

bool Feldbild::ausDateiLaden()
{
    if (nurLesen())
        return false;
    DateiDialogOptionen o;
    o.titel = QStringLiteral("Grafikdatei auswählen");
    o.filter = bilddateifilter();
    const DateiDialogErgebnis e = Dialoge::aktuell().dateiDialog(o);
    if (e.abgebrochen || e.pfad.isEmpty())
        return false;
    QFile datei(e.pfad);
    const QByteArray daten = datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
    if (QImage::fromData(daten).isNull()) {
        zeigeMeldung(QStringLiteral("Die Datei enthält kein Bild, das angezeigt werden kann:")
            + Zeilenumbruch + Zeilenumbruch + e.pfad);
        return false;
    }
    uebernehmen(daten);
    return true;
}

bool Feldbild::inDateiSpeichern()
{
    if (m_daten.isEmpty())
        return false;
    DateiDialogOptionen o;
    o.speichern = true;
    o.titel = QStringLiteral("Bild speichern unter");
    o.filter = bilddateifilter();
    const QString endung = bildendung(m_daten);
    o.dateiname = datenfeld() + (endung.isEmpty() ? QString() : u'.' + endung);
    const DateiDialogErgebnis e = Dialoge::aktuell().dateiDialog(o);
    if (e.abgebrochen || e.pfad.isEmpty())
        return false;
    QFile datei(e.pfad);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(m_daten) != m_daten.size()) {
        zeigeMeldung(QStringLiteral("Das Bild konnte nicht gespeichert werden:") + Zeilenumbruch
            + Zeilenumbruch + e.pfad + Zeilenumbruch + Zeilenumbruch + datei.errorString());
        return false;
    }
    return true;
}

void Feldbild::entfernen()
{
    if (!nurLesen() && !m_daten.isEmpty())
        uebernehmen(QByteArray());
}

bool Feldbild::menueZeigen(const QPoint& pos)
{
    QStringList eintraege;
    QList<int> aktion;
    if (!nurLesen()) {
        eintraege.append(QStringLiteral("Bild aus Datei laden...;"));
        aktion.append(0);
    }
    if (!m_daten.isEmpty()) {
        eintraege.append(QStringLiteral("Bild in Datei speichern...;"));
        aktion.append(1);
        if (!nurLesen()) {
            eintraege.append(QStringLiteral("Bild entfernen;Löschen"));
            aktion.append(2);
        }
    }
    if (eintraege.isEmpty())
        return false;
    const int wahl = waehleAusMenue(eintraege, pos);
    if (wahl < 1 || wahl > aktion.size())
        return false;
    switch (aktion.at(wahl - 1)) {
    case 0:
        return ausDateiLaden();
    case 1:
        return inDateiSpeichern();
    default:
        entfernen();
        return true;
    }
}

void Feldbild::contextMenuEvent(QContextMenuEvent* e)
{
    menueZeigen(e->pos());
}

void Feldbild::mouseDoubleClickEvent(QMouseEvent* e)
{
    menueZeigen(e->position().toPoint());
}

} // namespace kv
