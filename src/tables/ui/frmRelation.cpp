#include "tables/ui/frmRelation.h"

#include "engine/Database.h"
#include "tables/SqlNamen.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv {

frmRelation::frmRelation(engine::Database& db, const QString& relation, QWidget* parent)
    : QDialog(parent)
    , m_db(db)
    , m_alterName(relation)
    , m_name(new QLineEdit(this))
    , m_einsZuEins(new QRadioButton(QStringLiteral("1 : 1"), this))
    , m_einsZuN(new QRadioButton(QStringLiteral("1 : n"), this))
    , m_weitere(new QLabel(this))
    , m_speichern(new QPushButton(QStringLiteral("&Speichern"), this))
{
    if (!relation.isEmpty()) {
        m_geladen = Beziehungseingabe::aus(db.relations().item(relation));
        m_alterName = m_geladen.name;
    }
    setObjectName(QStringLiteral("frmRelation"));
    setWindowTitle(QStringLiteral("Relation (Beziehung)")
        + (relation.isEmpty() ? QStringLiteral(" neu erstellen") : QStringLiteral(" bearbeiten")));
    // Dialogs are windows of their own: they take the program font from their owner.
    if (parent)
        setFont(parent->font());
    m_name->setObjectName(QStringLiteral("Text1"));
    m_speichern->setObjectName(QStringLiteral("Speichern"));
    m_weitere->setObjectName(QStringLiteral("WeiterePaare"));
    m_weitere->setWordWrap(true);

    QStringList tabellen;
    for (const engine::TableDef* t : db.tableDefs().items())
        if (!t->isSystem())
            tabellen << t->name();
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Name:"), m_name);
    static const char* const tabellentitel[] = { "&Basistabelle:", "&Fremdtabelle:" };
    static const char* const feldtitel[]
        = { "Datenfeld B&asistabelle:", "Datenfeld F&remdtabelle:" };
    for (size_t seite = 0; seite < 2; ++seite) {
        m_tabellen[seite] = new QComboBox(this);
        m_tabellen[seite]->setObjectName(QStringLiteral("Tabelle%1").arg(seite));
        m_tabellen[seite]->addItems(tabellen);
        m_tabellen[seite]->setCurrentIndex(-1);
        m_felder[seite] = new QComboBox(this);
        m_felder[seite]->setObjectName(QStringLiteral("Feld%1").arg(seite));
        form->addRow(QString::fromUtf8(tabellentitel[seite]), m_tabellen[seite]);
        form->addRow(QString::fromUtf8(feldtitel[seite]), m_felder[seite]);
    }
    form->addRow(QString(), m_weitere);

    auto* form1 = new QGroupBox(QStringLiteral("Verknüpfungsform"), this);
    auto* form1layout = new QHBoxLayout(form1);
    form1layout->addWidget(m_einsZuEins);
    form1layout->addWidget(m_einsZuN);
    form1layout->addStretch(1);
    m_einsZuN->setChecked(true);

    auto* typ = new QGroupBox(QStringLiteral("Verknüpfungstyp"), this);
    auto* typlayout = new QVBoxLayout(typ);
    static const char* const typtexte[] = {
        "Nur Daten, in denen Felder aus beiden Tabellen übereinstimmen",
        "Alle Basisdaten und nur Fremddaten, in denen verknüpfte Felder übereinstimmen",
        "Alle Fremddaten und nur Basisdaten, in den verknüpfte Felder übereinstimmen",
    };
    for (size_t i = 0; i < m_verknuepfung.size(); ++i) {
        m_verknuepfung[i] = new QRadioButton(QString::fromUtf8(typtexte[i]), typ);
        m_verknuepfung[i]->setObjectName(QStringLiteral("Verknuepfung%1").arg(i));
        typlayout->addWidget(m_verknuepfung[i]);
    }

    auto* integritaet = new QGroupBox(QStringLiteral("Referentielle Integrität"), this);
    auto* integritaetslayout = new QHBoxLayout(integritaet);
    static const char* const regeltexte[]
        = { "&erzwingen", "Ä&nderungsweitergabe", "&Löschweitergabe", "&übernommen" };
    for (int i = 0; i < Regelanzahl; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(regeltexte[i]), integritaet);
        box->setObjectName(QStringLiteral("Regel%1").arg(i));
        integritaetslayout->addWidget(box);
        m_regeln[static_cast<size_t>(i)] = box;
    }

    auto* abbruch = new QPushButton(QStringLiteral("Abbruch"), this);
    abbruch->setObjectName(QStringLiteral("Abbruch"));
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(m_speichern);
    knoepfe->addWidget(abbruch);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(form1);
    layout->addWidget(typ);
    layout->addWidget(integritaet);
    layout->addLayout(knoepfe);

    // What a stored relation holds; a new one starts as 1:n with the inner join.
    m_nameVonHand = !m_geladen.name.isEmpty();
    m_name->setText(m_geladen.name);
    m_tabellen[0]->setCurrentIndex(m_tabellen[0]->findText(m_geladen.basistabelle));
    m_tabellen[1]->setCurrentIndex(m_tabellen[1]->findText(m_geladen.fremdtabelle));
    tabelleGewaehlt(0);
    tabelleGewaehlt(1);
    m_felder[0]->setCurrentIndex(m_felder[0]->findText(m_geladen.basisfeld));
    m_felder[1]->setCurrentIndex(m_felder[1]->findText(m_geladen.fremdfeld));
    (m_geladen.einsZuEins ? m_einsZuEins : m_einsZuN)->setChecked(true);
    verknuepfung(m_geladen.verknuepfung)->setChecked(true);
    regel(Erzwingen)->setChecked(m_geladen.erzwingen);
    regel(Aenderungsweitergabe)->setChecked(m_geladen.aenderungsweitergabe);
    regel(Loeschweitergabe)->setChecked(m_geladen.loeschweitergabe);
    regel(Uebernommen)->setChecked(m_geladen.uebernommen);

    connect(m_name, &QLineEdit::textEdited, this, [this] {
        m_nameVonHand = true;
        aktualisieren();
    });
    for (int seite = 0; seite < 2; ++seite) {
        connect(m_tabellen[static_cast<size_t>(seite)], &QComboBox::activated, this,
            [this, seite] { tabelleGewaehlt(seite); });
        connect(m_felder[static_cast<size_t>(seite)], &QComboBox::currentIndexChanged, this,
            &frmRelation::aktualisieren);
    }
    connect(regel(Erzwingen), &QCheckBox::toggled, this, &frmRelation::aktualisieren);
    connect(m_speichern, &QPushButton::clicked, this, &frmRelation::speichern);
    connect(abbruch, &QPushButton::clicked, this, &QDialog::reject);
    aktualisieren();
}

bool frmRelation::oeffne(engine::Database& db, const QString& relation, QWidget* parent)
{
    frmRelation dialog(db, relation, parent);
    return dialog.exec() == QDialog::Accepted;
}

void frmRelation::tabelleGewaehlt(int seite)
{
    QComboBox* felder = m_felder.at(static_cast<size_t>(seite));
    const QString tabelle = m_tabellen.at(static_cast<size_t>(seite))->currentText();
    const QString vorher = felder->currentText();
    felder->clear();
    if (engine::TableDef* t = m_db.tableDefs().find(tabelle))
        for (const engine::Field* f : t->fields().items())
            felder->addItem(f->name());
    felder->setCurrentIndex(std::max(0, felder->findText(vorher)));
    // A new relation is named after its tables until the user names it.
    if (!m_nameVonHand && !m_tabellen[0]->currentText().isEmpty()
        && !m_tabellen[1]->currentText().isEmpty())
        m_name->setText(m_tabellen[0]->currentText() + m_tabellen[1]->currentText());
    aktualisieren();
}

Beziehungseingabe frmRelation::eingabe() const
{
    Beziehungseingabe e = m_geladen;
    e.name = m_name->text().trimmed();
    e.basistabelle = m_tabellen[0]->currentText();
    e.fremdtabelle = m_tabellen[1]->currentText();
    e.basisfeld = m_felder[0]->currentText();
    e.fremdfeld = m_felder[1]->currentText();
    e.einsZuEins = m_einsZuEins->isChecked();
    e.verknuepfung = m_verknuepfung[1]->isChecked() ? Verknuepfungstyp::Links
        : m_verknuepfung[2]->isChecked()            ? Verknuepfungstyp::Rechts
                                                    : Verknuepfungstyp::Innen;
    e.erzwingen = regel(Erzwingen)->isChecked();
    e.aenderungsweitergabe = regel(Aenderungsweitergabe)->isChecked();
    e.loeschweitergabe = regel(Loeschweitergabe)->isChecked();
    e.uebernommen = regel(Uebernommen)->isChecked();
    return e;
}

void frmRelation::aktualisieren()
{
    const Beziehungseingabe e = eingabe();
    m_speichern->setEnabled(e.vollstaendig());
    // Cascades act only on an enforced relation; they keep their state meanwhile.
    regel(Aenderungsweitergabe)->setEnabled(e.erzwingen);
    regel(Loeschweitergabe)->setEnabled(e.erzwingen);
    const QList<engine::RelationField> paare = e.paare();
    QStringList weitere;
    for (qsizetype i = 1; i < paare.size(); ++i)
        weitere << Klammername(paare.at(i).name) + QStringLiteral(" = ")
                + Klammername(paare.at(i).foreignName);
    m_weitere->setText(weitere.isEmpty()
            ? QString()
            : QStringLiteral("Weitere Feldpaare: ") + weitere.join(QStringLiteral("; ")));
    m_weitere->setVisible(!weitere.isEmpty());
}

void frmRelation::speichern()
{
    if (!eingabe().vollstaendig())
        return;
    if (speichereBeziehung(m_db, eingabe(), m_alterName))
        accept();
}

} // namespace kv
