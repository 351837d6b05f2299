#include "shell/ui/frmSicherung.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "base/Hilfe.h"
#include "base/Pfade.h"
#include "base/Programmverzeichnis.h"
#include "widgets/Fortschrittsanzeige.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

namespace {

const QString ZipFilter = QStringLiteral("Zip-Archiv (*.zip)|*.zip|Alle Dateien (*.*)|*.*");

} // namespace

frmSicherung::frmSicherung(const SicherungsAuftrag& auftrag, QWidget* parent)
    : QDialog(parent)
    , m_auftrag(auftrag)
    , m_archiv(new QLineEdit(this))
    , m_liste(new QListWidget(this))
    , m_start(new QPushButton(
          auftrag.ruecksicherung ? QStringLiteral("&Rücksichern") : QStringLiteral("&Sichern"),
          this))
{
    setObjectName(QStringLiteral("frmSicherung"));
    setWindowTitle(auftrag.fenstertitel);
    setProperty(HilfeseiteEigenschaft, auftrag.hilfedatei);
    if (QFileInfo::exists(auftrag.symbol))
        setWindowIcon(QIcon(auftrag.symbol));
    setFont(auftrag.schrift);
    if (!auftrag.hauptfenster.isEmpty())
        move(auftrag.hauptfenster.center() - QPoint(250, 200));

    auto* ueberschrift = new QLabel(auftrag.ueberschrift, this);
    QFont gross = font();
    gross.setBold(true);
    gross.setPointSizeF(gross.pointSizeF() * 1.5);
    ueberschrift->setFont(gross);
    // Without a database the restore asks for its target when it starts.
    auto* verzeichnis = new QLabel(auftrag.verzeichnis.isEmpty()
            ? QStringLiteral("Verzeichnis: wird beim Rücksichern erfragt")
            : QStringLiteral("Verzeichnis: ") + QDir::toNativeSeparators(auftrag.verzeichnis),
        this);
    verzeichnis->setObjectName(QStringLiteral("lblVerzeichnis"));
    verzeichnis->setWordWrap(true);
    auto* archivText = new QLabel(QStringLiteral("&Archiv:"), this);
    archivText->setBuddy(m_archiv);
    m_archiv->setObjectName(QStringLiteral("txtArchiv"));
    m_archiv->setReadOnly(true);
    auto* suchen = new QPushButton(QStringLiteral("&Durchsuchen..."), this);
    m_liste->setObjectName(QStringLiteral("lstDateien"));
    m_start->setObjectName(QStringLiteral("cmdStart"));
    m_start->setEnabled(false);
    auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Close, this);
    knoepfe->addButton(m_start, QDialogButtonBox::ActionRole);

    auto* zeile = new QHBoxLayout;
    zeile->addWidget(archivText);
    zeile->addWidget(m_archiv, 1);
    zeile->addWidget(suchen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ueberschrift);
    layout->addWidget(verzeichnis);
    layout->addLayout(zeile);
    layout->addWidget(
        new QLabel(auftrag.ruecksicherung ? QStringLiteral("Dateien in der Sicherung:")
                                          : QStringLiteral("Diese Dateien werden gesichert:"),
            this));
    layout->addWidget(m_liste, 1);
    layout->addWidget(knoepfe);
    resize(500, 400);

    connect(suchen, &QPushButton::clicked, this, &frmSicherung::archivWaehlen);
    connect(m_start, &QPushButton::clicked, this, [this] {
        if (ausfuehren())
            accept();
    });
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);

    if (!auftrag.ruecksicherung)
        zeigeDateien(Sicherung::PassendeDateien(
            auftrag.verzeichnis, Sicherung::Muster(auftrag.dateiliste, auftrag.verzeichnis)));
}

void frmSicherung::zeigeDateien(const QStringList& dateien)
{
    m_liste->clear();
    for (const QString& name : dateien) {
        auto* eintrag = new QListWidgetItem(name, m_liste);
        if (m_auftrag.ruecksicherung) {
            eintrag->setFlags(eintrag->flags() | Qt::ItemIsUserCheckable);
            eintrag->setCheckState(Qt::Checked);
        }
    }
}

bool frmSicherung::archivWaehlen()
{
    DateiDialogOptionen o;
    o.speichern = !m_auftrag.ruecksicherung;
    o.titel = m_auftrag.ruecksicherung ? QStringLiteral("Sicherung zum Rücksichern auswählen")
                                       : QStringLiteral("Sicherung speichern unter");
    o.filter = ZipFilter;
    const QString letztes
        = Sicherung::LetztesVerzeichnis(m_auftrag.iniPfad, m_auftrag.iniAbschnitt);
    o.startVerzeichnis
        = !letztes.isEmpty() && QFileInfo(letztes).isDir() ? letztes : m_auftrag.verzeichnis;
    if (!m_auftrag.ruecksicherung)
        o.dateiname = QStringLiteral("Kelvado-Sicherung-")
            + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".zip");
    const DateiDialogErgebnis e = Dialoge::aktuell().dateiDialog(o);
    if (e.abgebrochen || e.pfad.isEmpty())
        return false;
    return setzeArchiv(e.pfad);
}

bool frmSicherung::setzeArchiv(const QString& pfad)
{
    m_archiv->setText(QDir::toNativeSeparators(pfad));
    if (m_auftrag.ruecksicherung) {
        QString fehler;
        const QStringList inhalt = Sicherung::ArchivInhalt(pfad, &fehler);
        zeigeDateien(inhalt);
        if (!fehler.isEmpty()) {
            m_start->setEnabled(false);
            zeigeMeldung(fehler, m_auftrag.fenstertitel, Knoepfe::Ok, Symbol::Kritisch);
            return false;
        }
    }
    m_start->setEnabled(m_liste->count() > 0);
    return true;
}

QString frmSicherung::archiv() const
{
    return QDir::fromNativeSeparators(m_archiv->text());
}

QStringList frmSicherung::dateien() const
{
    QStringList namen;
    for (int i = 0; i < m_liste->count(); ++i)
        namen.append(m_liste->item(i)->text());
    return namen;
}

QStringList frmSicherung::ausgewaehlteDateien() const
{
    QStringList namen;
    for (int i = 0; i < m_liste->count(); ++i)
        if (m_liste->item(i)->checkState() == Qt::Checked)
            namen.append(m_liste->item(i)->text());
    return namen;
}

QString frmSicherung::zielverzeichnisWaehlen()
{
    DateiDialogOptionen o;
    o.ordner = true;
    o.titel = QStringLiteral("Zielverzeichnis der Rücksicherung wählen");
    // Offered: where the files came from, else where the archive lies.
    const QString quelle = Sicherung::Quellverzeichnis(archiv());
    o.startVerzeichnis = !quelle.isEmpty() && QFileInfo(quelle).isDir()
        ? quelle
        : QFileInfo(archiv()).absolutePath();
    for (;;) {
        const DateiDialogErgebnis e = Dialoge::aktuell().dateiDialog(o);
        if (e.abgebrochen || e.pfad.isEmpty())
            return {};
        // The program folder is shared and belongs to the installation.
        if (QFileInfo(e.pfad) != QFileInfo(Programmverzeichnis()))
            return MitBackslash(QDir::toNativeSeparators(e.pfad));
        zeigeMeldung(QStringLiteral("In das Programmverzeichnis wird nicht zurückgesichert.")
                + Zeilenumbruch + Zeilenumbruch
                + QStringLiteral("Bitte wählen Sie das Verzeichnis Ihrer Datenbank."),
            m_auftrag.fenstertitel, Knoepfe::Ok, Symbol::Warnung);
        o.startVerzeichnis = QFileInfo(archiv()).absolutePath();
    }
}

bool frmSicherung::ausfuehren()
{
    const bool rueck = m_auftrag.ruecksicherung;
    QString verzeichnis = m_auftrag.verzeichnis;
    if (verzeichnis.isEmpty()) {
        verzeichnis = zielverzeichnisWaehlen();
        if (verzeichnis.isEmpty())
            return false;
    }
    const QStringList namen = rueck ? ausgewaehlteDateien() : dateien();
    Fortschrittsanzeige fortschritt(this,
        rueck ? QStringLiteral("Dateien werden zurückgeschrieben...")
              : QStringLiteral("Dateien werden gesichert..."),
        m_auftrag.fenstertitel);
    const Sicherung::Fortschritt melden
        = [&fortschritt](int erledigt, int gesamt, const QString& datei) {
              return fortschritt.melden(erledigt, gesamt, datei);
          };
    const Sicherung::Ueberschreibfrage frage = [&fortschritt](const QString& datei) {
        return fortschritt.fragen([&datei] { return Sicherung::FrageUeberschreiben(datei); });
    };
    const Sicherung::Ergebnis e = rueck
        ? Sicherung::Ruecksichern(archiv(), namen, verzeichnis, frage, melden)
        : Sicherung::Sichern(verzeichnis, namen, archiv(), melden);
    fortschritt.schliessen();
    if (e.abgebrochen) {
        zeigeMeldung(rueck
                ? QStringLiteral(
                    "Die Rücksicherung wurde abgebrochen. Es wurden keine Dateien verändert.")
                : QStringLiteral(
                    "Die Datensicherung wurde abgebrochen. Es wurde kein Archiv geschrieben."),
            m_auftrag.fenstertitel, Knoepfe::Ok, Symbol::Information);
        return false;
    }
    if (!e.ok) {
        zeigeMeldung(e.meldung, m_auftrag.fenstertitel, Knoepfe::Ok, Symbol::Kritisch);
        return false;
    }
    Sicherung::MerkeVerzeichnis(
        m_auftrag.iniPfad, m_auftrag.iniAbschnitt, QFileInfo(archiv()).absolutePath());
    zeigeMeldung((rueck ? QStringLiteral("Die Rücksicherung wurde erfolgreich beendet!")
                        : QStringLiteral("Die Datensicherung wurde erfolgreich beendet!"))
            + Zeilenumbruch + Zeilenumbruch + QString::number(e.dateien)
            + (e.dateien == 1 ? QStringLiteral(" Datei") : QStringLiteral(" Dateien"))
            + (rueck ? QStringLiteral(" zurückgeschrieben.") : QStringLiteral(" gesichert.")),
        m_auftrag.fenstertitel, Knoepfe::Ok, Symbol::Information);
    return true;
}

void SicherungStarten(const SicherungsAuftrag& auftrag, QWidget* parent)
{
    frmSicherung fenster(auftrag, parent);
    fenster.exec();
}

} // namespace kv
