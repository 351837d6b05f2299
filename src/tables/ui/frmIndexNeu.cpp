#include "tables/ui/frmIndexNeu.h"

#include "tables/Indexfeldtext.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

frmIndexNeu::frmIndexNeu(engine::TableDef& tabelle, QWidget* parent)
    : QDialog(parent)
    , m_tabelle(tabelle)
    , m_name(new QLineEdit(this))
    , m_felder(new QLineEdit(this))
    , m_liste(new QListWidget(this))
    , m_hinzufuegen(new QPushButton(QStringLiteral("&Hinzufügen"), this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("frmIndexNeu"));
    setWindowTitle(QStringLiteral("Neuer Index"));
    // Dialogs are windows of their own: they take the program font from their owner.
    if (parent)
        setFont(parent->font());
    m_name->setObjectName(QStringLiteral("Text1_0"));
    m_felder->setObjectName(QStringLiteral("Text1_1"));
    m_liste->setObjectName(QStringLiteral("List1"));
    m_felder->setToolTip(
        QStringLiteral("Felder des Index, getrennt durch \";\": \"+\" aufsteigend, "
                       "\"-\" absteigend"));
    m_liste->addItems(indexfaehigeFelder(tabelle));
    m_liste->setToolTip(QStringLiteral("Doppelklick fügt das Feld dem Index hinzu"));

    static const char* const titel[Anzahl]
        = { "&Primärschlüssel", "&Eindeutig", "E&rforderlich", "N&ullwerte ignorieren" };
    auto* kaesten = new QVBoxLayout;
    for (int i = 0; i < Anzahl; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(titel[i]), this);
        box->setObjectName(QStringLiteral("Check1_%1").arg(i));
        kaesten->addWidget(box);
        m_eigenschaften[static_cast<size_t>(i)] = box;
    }
    kaesten->addStretch(1);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Index&name:"), m_name);
    form->addRow(QStringLiteral("Index&felder:"), m_felder);
    auto* listenspalte = new QVBoxLayout;
    listenspalte->addWidget(new QLabel(QStringLiteral("Felder der Tabelle:"), this));
    listenspalte->addWidget(m_liste, 1);
    listenspalte->addWidget(m_hinzufuegen);
    auto* mitte = new QHBoxLayout;
    mitte->addLayout(listenspalte, 1);
    mitte->addLayout(kaesten);
    auto* knoepfe = new QDialogButtonBox(this);
    knoepfe->addButton(m_ok, QDialogButtonBox::AcceptRole);
    auto* abbrechen = knoepfe->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    abbrechen->setObjectName(QStringLiteral("Abbrechen"));
    m_ok->setObjectName(QStringLiteral("OK"));
    m_hinzufuegen->setObjectName(QStringLiteral("Hinzufuegen"));
    m_hinzufuegen->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(mitte, 1);
    layout->addWidget(knoepfe);

    connect(m_name, &QLineEdit::textChanged, this, &frmIndexNeu::knoepfeAktualisieren);
    connect(m_felder, &QLineEdit::textChanged, this, &frmIndexNeu::knoepfeAktualisieren);
    connect(m_liste, &QListWidget::itemDoubleClicked, this, &frmIndexNeu::feldHinzufuegen);
    connect(m_hinzufuegen, &QPushButton::clicked, this, &frmIndexNeu::feldHinzufuegen);
    connect(knoepfe, &QDialogButtonBox::accepted, this, &frmIndexNeu::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &frmIndexNeu::reject);
    connect(Check1(Primaer), &QCheckBox::toggled, this, [this](bool an) {
        if (!an)
            return;
        Check1(Eindeutig)->setChecked(true);
        Check1(Erforderlich)->setChecked(true);
    });
    if (m_liste->count() > 0)
        m_liste->setCurrentRow(0);
    knoepfeAktualisieren();
}

bool frmIndexNeu::oeffne(engine::TableDef& tabelle, QWidget* parent)
{
    frmIndexNeu dialog(tabelle, parent);
    return dialog.exec() == QDialog::Accepted;
}

IndexEingabe frmIndexNeu::eingabe() const
{
    IndexEingabe e;
    e.name = m_name->text();
    e.felder = m_felder->text();
    e.primaer = Check1(Primaer)->isChecked();
    e.eindeutig = Check1(Eindeutig)->isChecked();
    e.erforderlich = Check1(Erforderlich)->isChecked();
    e.nullwerteIgnorieren = Check1(NullwerteIgnorieren)->isChecked();
    return e;
}

void frmIndexNeu::feldHinzufuegen()
{
    if (const QListWidgetItem* feld = m_liste->currentItem())
        m_felder->setText(indexfeldAnhaengen(m_felder->text(), feld->text()));
}

void frmIndexNeu::knoepfeAktualisieren()
{
    m_ok->setEnabled(eingabe().vollstaendig());
}

void frmIndexNeu::accept()
{
    if (!eingabe().vollstaendig())
        return;
    if (legeIndexAn(m_tabelle, eingabe()))
        QDialog::accept();
    else
        QDialog::reject();
}

} // namespace kv
