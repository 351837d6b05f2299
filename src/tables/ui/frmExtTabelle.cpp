#include "tables/ui/frmExtTabelle.h"

#include "base/Programmverzeichnis.h"
#include "tables/Fremdtabellenwahl.h"
#include "widgets/Symboldatei.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

frmExtTabelle::frmExtTabelle(
    engine::Workspace& workspace, int formatIndex, const QString& pfad, QWidget* parent)
    : QDialog(parent)
    , m_liste(new QListWidget(this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("frmExtTabelle"));
    setWindowTitle(QStringLiteral("Tabelle auswählen"));
    // Dialogs are windows of their own: they take the program font from their owner.
    if (parent)
        setFont(parent->font());
    const QString symbol = Symboldatei(Grafikverzeichnis(), QStringLiteral("Struktur32"), false);
    if (!symbol.isEmpty())
        setWindowIcon(QIcon(symbol));
    else if (parent)
        setWindowIcon(parent->windowIcon());
    m_liste->setObjectName(QStringLiteral("List1"));
    m_ok->setObjectName(QStringLiteral("OK"));
    if (const std::optional<QStringList> tabellen
        = verknuepfbareTabellen(workspace, formatIndex, pfad))
        m_liste->addItems(*tabellen);
    if (m_liste->count() > 0)
        m_liste->setCurrentRow(0);
    m_ok->setEnabled(m_liste->count() > 0);

    auto* knoepfe = new QDialogButtonBox(this);
    knoepfe->addButton(m_ok, QDialogButtonBox::AcceptRole);
    knoepfe->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Tabellen aus ") + QFileInfo(pfad).fileName() + QLatin1Char(':'), this));
    layout->addWidget(m_liste, 1);
    layout->addWidget(knoepfe);
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_liste, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

QString frmExtTabelle::gewaehlteTabelle() const
{
    const QListWidgetItem* eintrag = m_liste->currentItem();
    return eintrag ? eintrag->text() : QString();
}

std::optional<QString> frmExtTabelle::waehle(
    engine::Workspace& workspace, int formatIndex, const QString& pfad, QWidget* parent)
{
    frmExtTabelle dialog(workspace, formatIndex, pfad, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.gewaehlteTabelle().isEmpty())
        return std::nullopt;
    return dialog.gewaehlteTabelle();
}

} // namespace kv
