#include "shell/ui/frmAnpassen.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "base/Hilfe.h"
#include "shell/Befehlstabelle.h"
#include "shell/Hilfeseiten.h"
#include "shell/Prozesswerte.h"
#include "shell/ui/Befehlsauswahl.h"
#include "shell/ui/frmTastatur.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kv {

namespace {

constexpr int NameRolle = Qt::UserRole;

QString ohneKuerzel(QString text)
{
    return text.remove(QLatin1Char('&'));
}

QString werkzeugText(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("――――――");
    const Befehl* b = FindeBefehl(name);
    return ohneKuerzel(b ? b->text : Bandtitel(name));
}

} // namespace

frmAnpassen::frmAnpassen(const Leistenlayout& layout, QWidget* parent)
    : QDialog(parent)
    , m_layout(layout)
{
    setObjectName(QStringLiteral("frmAnpassen"));
    setFont(Programmschrift());
    setWindowTitle(QStringLiteral("Anpassen"));
    setProperty(HilfeseiteEigenschaft, Hilfeseiten::Anpassen);
    m_tabs = new QTabWidget;
    const auto neuerKnopf = [this](const QString& text, void (frmAnpassen::*methode)()) {
        auto* k = new QPushButton(text);
        k->setObjectName(text);
        connect(k, &QPushButton::clicked, this, methode);
        return k;
    };

    // Tool bars
    auto* seiteLeisten = new QWidget;
    auto* leistenLayout = new QGridLayout(seiteLeisten);
    m_leisten = new QListWidget;
    leistenLayout->addWidget(new QLabel(QStringLiteral("Symbolleiste")), 0, 0);
    leistenLayout->addWidget(m_leisten, 1, 0, 5, 1);
    const QList<QPair<QString, void (frmAnpassen::*)()>> leistenKnoepfe = {
        { QStringLiteral("Neu"), &frmAnpassen::neueLeiste },
        { QStringLiteral("Umbenennen"), &frmAnpassen::umbenennen },
        { QStringLiteral("Löschen"), &frmAnpassen::loeschen },
        { QStringLiteral("Zurücksetzen"), &frmAnpassen::zuruecksetzen },
    };
    int zeile = 1;
    for (const auto& [text, methode] : leistenKnoepfe)
        leistenLayout->addWidget(neuerKnopf(text, methode), zeile++, 1);
    // The list takes the height, not the heading row.
    leistenLayout->setRowStretch(5, 1);
    connect(m_leisten, &QListWidget::itemChanged, this, [this](QListWidgetItem* e) {
        if (Leistenbelegung* l = m_layout.leiste(e->data(NameRolle).toString()))
            l->sichtbar = e->checkState() == Qt::Checked;
    });
    m_tabs->addTab(seiteLeisten, QStringLiteral("Symbolleiste"));

    // Commands
    auto* seiteBefehle = new QWidget;
    auto* befehleLayout = new QGridLayout(seiteBefehle);
    m_auswahl = new Befehlsauswahl;
    m_ziel = new QComboBox;
    m_zielWerkzeuge = new QListWidget;
    befehleLayout->addWidget(m_auswahl, 0, 0, 3, 1);
    befehleLayout->addWidget(new QLabel(QStringLiteral("Symbolleiste")), 0, 1);
    befehleLayout->addWidget(m_ziel, 1, 1, Qt::AlignTop);
    befehleLayout->addWidget(m_zielWerkzeuge, 2, 1);
    const QList<QPair<QString, void (frmAnpassen::*)()>> befehlKnoepfe = {
        { QStringLiteral("Befehlsbeschreibung"), &frmAnpassen::befehlsbeschreibung },
        { QStringLiteral("Zuweisen"), &frmAnpassen::zuweisen },
        { QStringLiteral("Entfernen"), &frmAnpassen::entfernen },
        { QStringLiteral("Tastatur..."), &frmAnpassen::tastatur },
    };
    auto* befehlKnopfzeile = new QHBoxLayout;
    for (const auto& [text, methode] : befehlKnoepfe)
        befehlKnopfzeile->addWidget(neuerKnopf(text, methode));
    // The choices for the entry chosen on the bar.
    auto* auswahlAendern = new QPushButton(QStringLiteral("Auswahl ändern"));
    auswahlAendern->setObjectName(QStringLiteral("Auswahl ändern"));
    auto* auswahlMenue = new QMenu(auswahlAendern);
    m_auswahlMenue = auswahlMenue;
    auswahlMenue->setObjectName(QStringLiteral("mnuAuswahl"));
    auswahlMenue->addAction(
        QStringLiteral("Zurücksetzen"), this, &frmAnpassen::auswahlZuruecksetzen);
    auswahlMenue->addAction(
        QStringLiteral("Name ändern..."), this, &frmAnpassen::auswahlUmbenennen);
    m_gruppierung = auswahlMenue->addAction(QStringLiteral("Gruppierung beginnen"));
    m_gruppierung->setCheckable(true);
    connect(m_gruppierung, &QAction::triggered, this, &frmAnpassen::gruppierungBeginnen);
    connect(auswahlMenue, &QMenu::aboutToShow, this, &frmAnpassen::auswahlmenueVorbereiten);
    auswahlAendern->setMenu(auswahlMenue);
    befehlKnopfzeile->addWidget(auswahlAendern);
    befehlKnopfzeile->addStretch();
    befehleLayout->addLayout(befehlKnopfzeile, 3, 0, 1, 2);
    connect(m_ziel, &QComboBox::currentIndexChanged, this, &frmAnpassen::zielFuellen);
    m_tabs->addTab(seiteBefehle, QStringLiteral("Befehle"));

    // Options
    auto* seiteOptionen = new QWidget;
    auto* optionenLayout = new QVBoxLayout(seiteOptionen);
    const auto schalter = [this](const QString& text, bool Leistenoptionen::*feld) {
        auto* c = new QCheckBox(text);
        c->setObjectName(text);
        c->setChecked(m_layout.optionen.*feld);
        connect(
            c, &QCheckBox::toggled, this, [this, feld](bool an) { m_layout.optionen.*feld = an; });
        return c;
    };
    auto* personalisiert = new QGroupBox(QStringLiteral("Personalisierte Menüs"));
    auto* personalisiertLayout = new QVBoxLayout(personalisiert);
    QCheckBox* zuletzt
        = schalter(QStringLiteral("Menüs zeigen zuletzt verwendete Befehle zuerst an"),
            &Leistenoptionen::personalisiert);
    personalisiertLayout->addWidget(zuletzt);
    QCheckBox* verzoegert
        = schalter(QStringLiteral("Nach kurzer Verzögerung vollständige Menüs anzeigen"),
            &Leistenoptionen::vollstaendigNachVerzoegerung);
    verzoegert->setEnabled(m_layout.optionen.personalisiert);
    connect(zuletzt, &QCheckBox::toggled, verzoegert, &QWidget::setEnabled);
    personalisiertLayout->addWidget(verzoegert);
    optionenLayout->addWidget(personalisiert);

    auto* weitere = new QGroupBox(QStringLiteral("Weitere Optionen"));
    auto* weitereLayout = new QGridLayout(weitere);
    weitereLayout->addWidget(
        schalter(QStringLiteral("Symbole vergrößern"), &Leistenoptionen::grosseSymbole), 0, 0, 1,
        2);
    weitereLayout->addWidget(
        schalter(QStringLiteral("Quickinfo anzeigen"), &Leistenoptionen::quickinfo), 1, 0, 1, 2);
    weitereLayout->addWidget(schalter(QStringLiteral("Tastenkombinationen in Quickinfo anzeigen"),
                                 &Leistenoptionen::tastenInQuickinfo),
        2, 0, 1, 2);
    auto* animation = new QComboBox;
    animation->setObjectName(QStringLiteral("Menüanimation"));
    for (const char* text : { "(Keine)", "Abwechselnd", "Entfalten", "Abrollen" })
        animation->addItem(QString::fromUtf8(text));
    animation->setCurrentIndex(static_cast<int>(m_layout.optionen.animation));
    connect(animation, &QComboBox::currentIndexChanged, this,
        [this](int i) { m_layout.optionen.animation = static_cast<Menueanimation>(i); });
    auto* animationText = new QLabel(QStringLiteral("Menüanimation:"));
    animationText->setBuddy(animation);
    weitereLayout->addWidget(animationText, 3, 0);
    weitereLayout->addWidget(animation, 3, 1);
    weitereLayout->setColumnStretch(1, 1);
    optionenLayout->addWidget(weitere);
    optionenLayout->addStretch();
    m_tabs->addTab(seiteOptionen, QStringLiteral("Optionen"));

    auto* knoepfe = new QDialogButtonBox;
    auto* schliessen
        = knoepfe->addButton(QStringLiteral("Schließen"), QDialogButtonBox::AcceptRole);
    schliessen->setObjectName(QStringLiteral("Schließen"));
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layoutGesamt = new QVBoxLayout(this);
    layoutGesamt->addWidget(m_tabs);
    layoutGesamt->addWidget(knoepfe);

    leistenFuellen(QString());
}

QListWidget* frmAnpassen::kategorien() const
{
    return m_auswahl->kategorien();
}

QListWidget* frmAnpassen::befehle() const
{
    return m_auswahl->befehle();
}

QPushButton* frmAnpassen::knopf(const QString& text) const
{
    return findChild<QPushButton*>(text);
}

QCheckBox* frmAnpassen::option(const QString& text) const
{
    return findChild<QCheckBox*>(text);
}

QString frmAnpassen::gewaehlteLeiste() const
{
    const QListWidgetItem* e = m_leisten->currentItem();
    return e ? e->data(NameRolle).toString() : QString();
}

void frmAnpassen::leistenFuellen(const QString& waehlen)
{
    const QSignalBlocker sperre(m_leisten);
    m_leisten->clear();
    for (const Leistenbelegung& l : std::as_const(m_layout.leisten)) {
        if (l.menue)
            continue;
        auto* e = new QListWidgetItem(l.titel, m_leisten);
        e->setData(NameRolle, l.name);
        e->setFlags(e->flags() | Qt::ItemIsUserCheckable);
        e->setCheckState(l.sichtbar ? Qt::Checked : Qt::Unchecked);
        if (l.name == waehlen || (waehlen.isEmpty() && m_leisten->count() == 1))
            m_leisten->setCurrentItem(e);
    }
    const QString ziel = m_ziel->currentData().toString();
    const QSignalBlocker zielSperre(m_ziel);
    m_ziel->clear();
    for (const Leistenbelegung& l : std::as_const(m_layout.leisten))
        m_ziel->addItem(l.menue ? QStringLiteral("Menü ") + ohneKuerzel(l.titel) : l.titel, l.name);
    m_ziel->setCurrentIndex(std::max(0, m_ziel->findData(ziel)));
    zielFuellen();
}

void frmAnpassen::zielFuellen()
{
    m_zielWerkzeuge->clear();
    if (const Leistenbelegung* l = m_layout.leiste(m_ziel->currentData().toString())) {
        // A tool bar lists its buttons as they read.
        for (const QString& name : l->werkzeuge)
            new QListWidgetItem(l->menue || name.isEmpty()
                    ? werkzeugText(name)
                    : m_layout.anzeigetexte(l->name, name).text,
                m_zielWerkzeuge);
    }
}

void frmAnpassen::neueLeiste()
{
    titelAendern(QStringLiteral("Neue Symbolleiste anlegen"), QString(),
        [this](const QString& titel) { return m_layout.neueLeiste(titel); });
}

void frmAnpassen::umbenennen()
{
    const Leistenbelegung* l = m_layout.leiste(gewaehlteLeiste());
    if (!l)
        return;
    titelAendern(QStringLiteral("Symbolleiste umbenennen"), l->titel,
        [this, name = l->name](
            const QString& titel) { return m_layout.umbenennen(name, titel) ? name : QString(); });
}

void frmAnpassen::titelAendern(const QString& ueberschrift, const QString& vorgabe,
    const std::function<QString(const QString&)>& aendern)
{
    const std::optional<QString> titel = Dialoge::aktuell().eingabe(
        QStringLiteral("Name der Symbolleiste"), ueberschrift, vorgabe);
    if (!titel || titel->trimmed().isEmpty())
        return;
    const QString name = aendern(*titel);
    if (name.isEmpty()) {
        zeigeMeldung(QStringLiteral("Eine Symbolleiste mit diesem Namen ist bereits vorhanden!"),
            ueberschrift);
        return;
    }
    leistenFuellen(name);
}

void frmAnpassen::loeschen()
{
    const Leistenbelegung* l = m_layout.leiste(gewaehlteLeiste());
    if (!l)
        return;
    if (!l->eigene) {
        zeigeMeldung(QStringLiteral("Diese Symbolleiste gehört zum Programm und kann nicht "
                                    "gelöscht werden."),
            QStringLiteral("Symbolleiste löschen"));
        return;
    }
    if (zeigeMeldung(QStringLiteral("Sind Sie sicher, dass Sie die Symbolleiste löschen wollen?"),
            QStringLiteral("Symbolleiste löschen"), Knoepfe::JaNein, Symbol::Frage, 2)
        != Antwort::Ja)
        return;
    m_layout.loeschen(l->name);
    leistenFuellen(QString());
}

void frmAnpassen::zuruecksetzen()
{
    const QString name = gewaehlteLeiste();
    m_layout.zuruecksetzen(name);
    leistenFuellen(name);
}

void frmAnpassen::zuweisen()
{
    const QString befehl = m_auswahl->befehl();
    if (befehl.isEmpty())
        return;
    const QString leiste = m_ziel->currentData().toString();
    const int position = m_zielWerkzeuge->currentRow() < 0 ? -1 : m_zielWerkzeuge->currentRow() + 1;
    if (m_layout.hinzufuegen(leiste, befehl, position)) {
        zielFuellen();
        m_zielWerkzeuge->setCurrentRow(position < 0 ? m_zielWerkzeuge->count() - 1 : position);
    }
}

void frmAnpassen::entfernen()
{
    const int zeile = m_zielWerkzeuge->currentRow();
    if (m_layout.entfernen(m_ziel->currentData().toString(), zeile)) {
        zielFuellen();
        m_zielWerkzeuge->setCurrentRow(std::min(zeile, m_zielWerkzeuge->count() - 1));
    }
}

void frmAnpassen::befehlsbeschreibung()
{
    const Befehl* b = FindeBefehl(m_auswahl->befehl());
    if (!b)
        return;
    zeigeMeldung(ohneKuerzel(b->text) + Zeilenumbruch + Zeilenumbruch + b->beschreibung,
        QStringLiteral("Befehlsbeschreibung"), Knoepfe::Ok, Symbol::Information);
}

QString frmAnpassen::gewaehltesWerkzeug() const
{
    const Leistenbelegung* l = m_layout.leiste(m_ziel->currentData().toString());
    const int zeile = m_zielWerkzeuge->currentRow();
    return l && zeile >= 0 && zeile < l->werkzeuge.size() ? l->werkzeuge.at(zeile) : QString();
}

void frmAnpassen::auswahlmenueVorbereiten()
{
    const Leistenbelegung* l = m_layout.leiste(m_ziel->currentData().toString());
    const int zeile = m_zielWerkzeuge->currentRow();
    const bool werkzeug = !gewaehltesWerkzeug().isEmpty();
    for (QAction* a : m_auswahlMenue->actions())
        a->setEnabled(werkzeug);
    m_gruppierung->setEnabled(werkzeug && zeile > 0);
    m_gruppierung->setChecked(werkzeug && zeile > 0 && l->werkzeuge.at(zeile - 1).isEmpty());
}

void frmAnpassen::auswahlAendern(
    const std::function<void(const QString& leiste, const QString& werkzeug)>& aendern)
{
    const QString werkzeug = gewaehltesWerkzeug();
    if (werkzeug.isEmpty())
        return;
    const int zeile = m_zielWerkzeuge->currentRow();
    aendern(m_ziel->currentData().toString(), werkzeug);
    zielFuellen();
    m_zielWerkzeuge->setCurrentRow(zeile);
}

void frmAnpassen::auswahlZuruecksetzen()
{
    auswahlAendern([this](const QString& leiste, const QString& werkzeug) {
        m_layout.setzeText(leiste, werkzeug, QString(), QString());
    });
}

void frmAnpassen::auswahlUmbenennen()
{
    auswahlAendern([this](const QString& leiste, const QString& werkzeug) {
        const Werkzeugtexte texte = m_layout.anzeigetexte(leiste, werkzeug);
        const std::optional<QString> name
            = Dialoge::aktuell().eingabe(QStringLiteral("Name:"), QStringLiteral("Auswahl ändern"),
                m_layout.leiste(leiste)->menue ? werkzeugText(werkzeug) : texte.text);
        if (name)
            m_layout.aendereTexte(leiste, werkzeug, { name->trimmed(), texte.tooltip });
    });
}

void frmAnpassen::gruppierungBeginnen(bool an)
{
    const QString leiste = m_ziel->currentData().toString();
    const Leistenbelegung* l = m_layout.leiste(leiste);
    int zeile = m_zielWerkzeuge->currentRow();
    if (!l || gewaehltesWerkzeug().isEmpty() || zeile < 1)
        return;
    const bool trennerDavor = l->werkzeuge.at(zeile - 1).isEmpty();
    if (an && !trennerDavor && m_layout.hinzufuegen(leiste, QString(), zeile))
        ++zeile;
    else if (!an && trennerDavor && m_layout.entfernen(leiste, zeile - 1))
        --zeile;
    zielFuellen();
    m_zielWerkzeuge->setCurrentRow(zeile);
}

void frmAnpassen::tastatur()
{
    frmTastatur dialog(m_layout.tasten, this);
    dialog.exec();
    m_layout.tasten = dialog.belegung();
}

} // namespace kv
