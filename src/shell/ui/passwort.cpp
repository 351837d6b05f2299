#include "shell/ui/passwort.h"

#include "base/Hilfe.h"
#include "shell/Aktionsschutz.h"
#include "shell/Hilfeseiten.h"
#include "shell/Prozesswerte.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kv {

passwort::passwort(QWidget* parent)
    : QDialog(parent)
    , m_eingabe(new QLineEdit(this))
{
    setObjectName(QStringLiteral("passwort"));
    setFont(Programmschrift());
    setProperty(HilfeseiteEigenschaft, Hilfeseiten::Aktionsschutz);
    setWindowTitle(QStringLiteral("Passwort-Eingabe Kelvado für Windows"));
    setModal(true);

    auto* hinweis = new QLabel(QStringLiteral("Bitte geben Sie das Passwort ein, um die folgenden "
                                              "Aktionen durchführen zu können"),
        this);
    hinweis->setWordWrap(true);
    m_eingabe->setObjectName(QStringLiteral("Text1"));
    m_eingabe->setEchoMode(QLineEdit::Password);
    hinweis->setBuddy(m_eingabe);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hinweis);
    layout->addWidget(m_eingabe);

    connect(m_eingabe, &QLineEdit::returnPressed, this, &QDialog::accept);
    // A keystroke after the fourth character completes the password and ends the entry.
    connect(m_eingabe, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text.size() >= Aktionsschutz::Laenge)
            accept();
    });
    m_eingabe->setFocus();
}

QString passwort::eingabe() const
{
    return m_eingabe->text();
}

std::optional<QString> passwort::abfragen(QWidget* parent)
{
    if (!parent)
        parent = QApplication::activeWindow();
    const bool beschaeftigt = QApplication::overrideCursor() != nullptr;
    if (beschaeftigt)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    passwort dialog(parent);
    const bool angenommen = dialog.exec() == QDialog::Accepted;
    if (beschaeftigt)
        QApplication::restoreOverrideCursor();
    if (!angenommen)
        return std::nullopt;
    return dialog.eingabe();
}

void PasswortDialogEinrichten()
{
    setzePasswortAbfrage([] { return passwort::abfragen(); });
}

} // namespace kv
