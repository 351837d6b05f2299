#include "widgets/Objektfeld.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "masks/Beschriftungslage.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QUrl>

namespace kv {

namespace {

QMimeType objektart(const QByteArray& daten)
{
    return QMimeDatabase().mimeTypeForData(daten);
}

QByteArray dateiinhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

Objektfeld::Objektfeld(QWidget* parent)
    : Feldelement(parent)
    , m_anzeige(new QLabel(this))
    , m_oeffner(
          [](const QString& pfad) { return QDesktopServices::openUrl(QUrl::fromLocalFile(pfad)); })
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_anzeige);
    m_anzeige->setFrameShape(QFrame::StyledPanel);
    m_anzeige->setWordWrap(true);
    setFocusPolicy(Qt::StrongFocus);
    m_anzeige->setText(beschreibung());
}

Objektfeld::~Objektfeld() = default;

void Objektfeld::setzeEinstellungen(const BildEinstellungen& e)
{
    m_anzeige->setAlignment(ausrichtungVon(e.ausrichtung));
}

QString Objektfeld::beschreibung() const
{
    if (m_daten.isEmpty())
        return QStringLiteral("(leer)");
    const QMimeType art = objektart(m_daten);
    const QString name = art.comment().isEmpty() ? art.name() : art.comment();
    return name + QStringLiteral(", ") + QLocale().toString(qlonglong(m_daten.size()))
        + QStringLiteral(" Bytes");
}

void Objektfeld::zeigeWert(const QVariant& wert)
{
    bearbeitungBeenden();
    m_daten = wert.isNull() ? QByteArray() : wert.toByteArray();
    m_anzeige->setText(beschreibung());
    setzeDatenGeaendert(false);
}

QVariant Objektfeld::wert() const
{
    return m_daten.isEmpty() ? QVariant() : QVariant(m_daten);
}

void Objektfeld::uebernehmen(const QByteArray& daten)
{
    m_daten = daten;
    m_anzeige->setText(beschreibung());
    meldeAenderung();
}

bool Objektfeld::einfuegen()
{
    if (nurLesen())
        return false;
    DateiDialogOptionen o;
    o.titel = QStringLiteral("Objekt einfügen");
    o.filter = QStringLiteral("Alle Dateien|*.*");
    const DateiDialogErgebnis e = Dialoge::aktuell().dateiDialog(o);
    if (e.abgebrochen || e.pfad.isEmpty())
        return false;
    QFile datei(e.pfad);
    if (!datei.open(QIODevice::ReadOnly)) {
        zeigeMeldung(QStringLiteral("Die Datei kann nicht gelesen werden:") + Zeilenumbruch
            + Zeilenumbruch + e.pfad + Zeilenumbruch + Zeilenumbruch + datei.errorString());
        return false;
    }
    uebernehmen(datei.readAll());
    return true;
}

bool Objektfeld::bearbeiten()
{
    if (m_daten.isEmpty())
        return false;
    bearbeitungBeenden();
    m_ordner = std::make_unique<QTemporaryDir>();
    const QString endung = objektart(m_daten).preferredSuffix();
    const QString pfad
        = m_ordner->filePath((datenfeld().isEmpty() ? QStringLiteral("Objekt") : datenfeld())
            + (endung.isEmpty() ? QString() : u'.' + endung));
    QFile datei(pfad);
    if (!m_ordner->isValid() || !datei.open(QIODevice::WriteOnly)
        || datei.write(m_daten) != m_daten.size()) {
        zeigeMeldung(QStringLiteral("Das Objekt kann nicht zur Bearbeitung bereitgestellt werden:")
            + Zeilenumbruch + Zeilenumbruch + pfad);
        m_ordner.reset();
        return false;
    }
    datei.close();
    m_datei = pfad;
    m_geoeffnet = m_daten;
    m_waechter = new QFileSystemWatcher({ pfad }, this);
    // Programs that save by replacing the file end the watch; the path is watched again.
    connect(m_waechter, &QFileSystemWatcher::fileChanged, this, [this](const QString& p) {
        if (QFile::exists(p) && !m_waechter->files().contains(p))
            m_waechter->addPath(p);
        rueckgabePruefen();
    });
    if (!m_oeffner(pfad)) {
        zeigeMeldung(QStringLiteral("Für diese Art von Objekt ist kein Programm eingerichtet:")
            + Zeilenumbruch + Zeilenumbruch + beschreibung());
        bearbeitungBeenden();
        return false;
    }
    return true;
}

bool Objektfeld::rueckgabePruefen()
{
    if (m_datei.isEmpty() || m_fragt)
        return false;
    const QByteArray neu = dateiinhalt(m_datei);
    if (neu.isEmpty() || neu == m_geoeffnet)
        return false;
    m_fragt = true;
    const Antwort a = zeigeMeldung(
        QStringLiteral("Das Objekt wurde außerhalb des Programms geändert.") + Zeilenumbruch
            + Zeilenumbruch + QStringLiteral("Soll die geänderte Fassung gespeichert werden?"),
        QStringLiteral("Objekt bearbeiten"), Knoepfe::JaNein, Symbol::Frage);
    m_fragt = false;
    // Asked once per saved state of the file.
    m_geoeffnet = neu;
    if (a != Antwort::Ja || nurLesen())
        return false;
    uebernehmen(neu);
    return true;
}

void Objektfeld::loeschen()
{
    if (!nurLesen() && !m_daten.isEmpty()) {
        bearbeitungBeenden();
        uebernehmen(QByteArray());
    }
}

void Objektfeld::bearbeitungBeenden()
{
    delete m_waechter;
    m_waechter = nullptr;
    m_datei.clear();
    m_geoeffnet.clear();
    m_ordner.reset();
}

bool Objektfeld::menueZeigen(const QPoint& pos)
{
    if (m_daten.isEmpty())
        return einfuegen();
    QStringList eintraege { QStringLiteral("Objekt bearbeiten;") };
    if (!nurLesen())
        eintraege.append(QStringLiteral("Objekt löschen;Löschen"));
    switch (waehleAusMenue(eintraege, pos)) {
    case 1:
        return bearbeiten();
    case 2:
        loeschen();
        return true;
    default:
        return false;
    }
}

bool Objektfeld::doppelklick(const QPoint& pos)
{
    return menueZeigen(pos);
}

void Objektfeld::mouseDoubleClickEvent(QMouseEvent* e)
{
    doppelklick(e->position().toPoint());
}

void Objektfeld::contextMenuEvent(QContextMenuEvent* e)
{
    menueZeigen(e->pos());
}

} // namespace kv
