#include "shell/ui/frmTastatur.h"

#include "base/Dialoge.h"
#include "base/Hilfe.h"
#include "shell/Befehlstabelle.h"
#include "shell/Hilfeseiten.h"
#include "shell/Prozesswerte.h"
#include "shell/ui/Befehlsauswahl.h"
#include "widgets/Werkzeugdefinition.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

namespace {

const QString Titel = QStringLiteral("Tastenkombinationen anpassen");
constexpr int TastenRolle = Qt::UserRole;

QString befehlstext(const QString& name)
{
    const Befehl* b = FindeBefehl(name);
    return b ? QString(b->text).remove(QLatin1Char('&')) : name;
}

// The reason a key is refused, as the user reads it; empty when it can be given.
QString sperrtext(const QKeySequence& taste)
{
    const Tastensperre sperre = Tastenbelegung::sperre(taste);
    const QString text = Tastentext(taste);
    switch (sperre.grund) {
    case Tastensperre::Grund::Keine:
    case Tastensperre::Grund::Leer:
        break;
    case Tastensperre::Grund::OhneStrgAlt:
        return QStringLiteral("Die Taste %1 kann nur zusammen mit Strg oder Alt zugewiesen werden.")
            .arg(text);
    case Tastensperre::Grund::Arbeitsfenster:
        return QStringLiteral("Die Tastenkombination %1 wird in den Arbeitsfenstern verwendet und "
                              "kann nicht zugewiesen werden.")
            .arg(text);
    case Tastensperre::Grund::Menue:
        return QStringLiteral(
            "Die Tastenkombination %1 öffnet das Menü \"%2\" und kann nicht zugewiesen werden.")
            .arg(text, sperre.menue);
    }
    return {};
}

} // namespace

frmTastatur::frmTastatur(const Tastenbelegung& belegung, QWidget* parent)
    : QDialog(parent)
    , m_belegung(belegung)
    , m_auswahl(new Befehlsauswahl)
    , m_aktuelle(new QListWidget)
    , m_eingabe(new QKeySequenceEdit)
    , m_inhaber(new QLabel)
{
    setObjectName(QStringLiteral("frmTastatur"));
    setFont(Programmschrift());
    setProperty(HilfeseiteEigenschaft, Hilfeseiten::Tastatur);
    setWindowTitle(Titel);
    m_aktuelle->setObjectName(QStringLiteral("Momentane Tastenkombination"));
    m_eingabe->setObjectName(QStringLiteral("Neue Tastenkombination drücken"));
    m_inhaber->setWordWrap(true);

    auto* raster = new QGridLayout;
    raster->addWidget(m_auswahl, 0, 0, 6, 1);
    raster->addWidget(new QLabel(QStringLiteral("Momentane Tastenkombination")), 0, 1);
    raster->addWidget(m_aktuelle, 1, 1);
    raster->addWidget(new QLabel(QStringLiteral("Neue Tastenkombination drücken")), 2, 1);
    raster->addWidget(m_eingabe, 3, 1);
    raster->addWidget(m_inhaber, 4, 1);
    // The actions on the left, closing on the right; the dialog has no default button, since
    // Enter may be the key the user is about to assign.
    auto* knoepfe = new QHBoxLayout;
    const QList<QPair<QString, void (frmTastatur::*)()>> aktionen = {
        { QStringLiteral("Zuweisen"), &frmTastatur::zuweisen },
        { QStringLiteral("Entfernen"), &frmTastatur::entfernen },
        { QStringLiteral("Alle zurücksetzen"), &frmTastatur::alleZuruecksetzen },
        { QStringLiteral("Schließen"), &QDialog::accept },
    };
    for (const auto& [text, methode] : aktionen) {
        auto* k = new QPushButton(text);
        k->setObjectName(text);
        k->setAutoDefault(false);
        connect(k, &QPushButton::clicked, this, methode);
        if (text == QStringLiteral("Schließen"))
            knoepfe->addStretch();
        knoepfe->addWidget(k);
    }
    auto* gesamt = new QVBoxLayout(this);
    gesamt->addLayout(raster);
    gesamt->addLayout(knoepfe);

    connect(m_auswahl, &Befehlsauswahl::befehlGewaehlt, this, &frmTastatur::aktuelleFuellen);
    connect(m_eingabe, &QKeySequenceEdit::keySequenceChanged, this, &frmTastatur::inhaberZeigen);
    aktuelleFuellen();
}

QPushButton* frmTastatur::knopf(const QString& text) const
{
    return findChild<QPushButton*>(text);
}

void frmTastatur::aktuelleFuellen()
{
    m_aktuelle->clear();
    for (const QKeySequence& t : m_belegung.tasten(m_auswahl->befehl())) {
        auto* e = new QListWidgetItem(Tastentext(t), m_aktuelle);
        e->setData(TastenRolle, t.toString(QKeySequence::PortableText));
    }
    m_aktuelle->setCurrentRow(0);
}

void frmTastatur::inhaberZeigen()
{
    const QString inhaber = m_belegung.inhaber(m_eingabe->keySequence());
    m_inhaber->setText(inhaber.isEmpty()
            ? QString()
            : QStringLiteral("Zurzeit zugewiesen an: ") + befehlstext(inhaber));
}

void frmTastatur::zuweisen()
{
    const QString befehl = m_auswahl->befehl();
    const QKeySequence taste = Tastenbelegung::ersteTaste(m_eingabe->keySequence());
    if (befehl.isEmpty() || taste.isEmpty())
        return;
    if (const QString grund = sperrtext(taste); !grund.isEmpty()) {
        zeigeMeldung(grund, Titel, Knoepfe::Ok, Symbol::Information);
        return;
    }
    const QString bisher = m_belegung.inhaber(taste);
    if (!bisher.isEmpty() && bisher != befehl
        && zeigeMeldung(QStringLiteral("Die Tastenkombination %1 ist bereits dem Befehl \"%2\" "
                                       "zugewiesen.\n\nSoll sie stattdessen dem Befehl \"%3\" "
                                       "zugewiesen werden?")
                            .arg(Tastentext(taste), befehlstext(bisher), befehlstext(befehl)),
               Titel, Knoepfe::JaNein, Symbol::Frage, 2)
            != Antwort::Ja)
        return;
    if (!m_belegung.zuweisen(befehl, taste))
        return;
    m_eingabe->clear();
    aktuelleFuellen();
}

void frmTastatur::entfernen()
{
    const QListWidgetItem* e = m_aktuelle->currentItem();
    if (!e)
        return;
    m_belegung.entfernen(m_auswahl->befehl(),
        QKeySequence::fromString(e->data(TastenRolle).toString(), QKeySequence::PortableText));
    aktuelleFuellen();
    inhaberZeigen();
}

void frmTastatur::alleZuruecksetzen()
{
    if (zeigeMeldung(QStringLiteral("Sollen alle Tastenkombinationen auf die Vorgaben "
                                    "zurückgesetzt werden?"),
            Titel, Knoepfe::JaNein, Symbol::Frage, 2)
        != Antwort::Ja)
        return;
    m_belegung.zuruecksetzen();
    aktuelleFuellen();
    inhaberZeigen();
}

} // namespace kv
