#include "tables/ui/TabellenStrukturEditor.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

TabellenStrukturEditor::TabellenStrukturEditor(bool maske, const QString& tabelle,
    const QString& definitionText, const QString& datei, const QString& datenbankpfad,
    QWidget* parent)
    : QDialog(parent)
    , m_bearbeitung(maske, tabelle, definitionText, datei, datenbankpfad)
    , m_name(new QLineEdit(this))
    , m_text(new QPlainTextEdit(this))
    , m_speichern(new QPushButton(QStringLiteral("&Speichern"), this))
    , m_schliessen(new QPushButton(QStringLiteral("Schließen"), this))
{
    setWindowTitle(m_bearbeitung.titel());
    m_name->setObjectName(QStringLiteral("Text1"));
    m_text->setObjectName(QStringLiteral("Text2"));
    m_speichern->setObjectName(QStringLiteral("Speichern"));
    m_schliessen->setObjectName(QStringLiteral("Schliessen"));
    m_name->setToolTip(QStringLiteral("Name der Definition; leer: OhneNamen mit Nummer"));
    m_name->setText(m_bearbeitung.name());
    // Definition lines are columns of keys and values: a fixed font keeps them readable.
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setPlainText(m_bearbeitung.text());
    m_speichern->setAutoDefault(false);
    m_schliessen->setAutoDefault(false);

    auto* namenszeile = new QHBoxLayout;
    namenszeile->addWidget(new QLabel(QStringLiteral("Name:"), this));
    namenszeile->addWidget(m_name, 1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(m_speichern);
    knoepfe->addWidget(m_schliessen);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(namenszeile);
    layout->addWidget(m_text, 1);
    layout->addLayout(knoepfe);
    resize(720, 520);

    // Connected after filling, so that only the user's edits count as changes.
    connect(m_name, &QLineEdit::textEdited, this,
        [this](const QString& name) { m_bearbeitung.setzeName(name); });
    connect(m_text, &QPlainTextEdit::textChanged, this,
        [this] { m_bearbeitung.setzeText(m_text->toPlainText()); });
    connect(m_speichern, &QPushButton::clicked, this, &TabellenStrukturEditor::speichern);
    connect(m_schliessen, &QPushButton::clicked, this, &TabellenStrukturEditor::reject);
}

void TabellenStrukturEditor::oeffne(bool maske, const QString& tabelle,
    const QString& definitionText, const QString& datei, const QString& datenbankpfad,
    const QFont& schrift, QWidget* parent)
{
    TabellenStrukturEditor editor(maske, tabelle, definitionText, datei, datenbankpfad, parent);
    editor.setFont(schrift);
    editor.exec();
}

void TabellenStrukturEditor::speichern()
{
    const bool gespeichert = m_bearbeitung.speichern();
    // Saving may have given an unnamed definition its name.
    m_name->setText(m_bearbeitung.name());
    if (gespeichert)
        accept();
}

void TabellenStrukturEditor::reject()
{
    const bool schliessen = m_bearbeitung.schliessenErlaubt();
    m_name->setText(m_bearbeitung.name());
    if (schliessen)
        QDialog::reject();
}

} // namespace kv
