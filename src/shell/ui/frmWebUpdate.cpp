#include "shell/ui/frmWebUpdate.h"

#include "shell/WebUpdate.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace kv {

frmWebUpdate::frmWebUpdate(const WebUpdateAuftrag& auftrag, QWidget* parent)
    : QDialog(parent)
    , m_auftrag(auftrag)
    , m_ergebnisText(new QLabel(this))
    , m_download(new QPushButton(QStringLiteral("&Herunterladen"), this))
{
    setObjectName(QStringLiteral("frmWebUpdate"));
    setWindowTitle(WebUpdateTitel());
    if (!auftrag.hauptfenster.isEmpty())
        move(auftrag.hauptfenster.center() - QPoint(200, 120));

    auto* kopf = new QLabel(QStringLiteral("Web-Update für ") + auftrag.anwendungstitel, this);
    QFont fett = kopf->font();
    fett.setBold(true);
    kopf->setFont(fett);
    auto* installiert
        = new QLabel(QStringLiteral("Installiert: Version ") + QString::number(auftrag.hauptversion)
                + QStringLiteral(" Release ") + QString::number(auftrag.revision),
            this);
    m_ergebnisText->setObjectName(QStringLiteral("lblErgebnis"));
    m_ergebnisText->setWordWrap(true);
    m_ergebnisText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_ergebnisText->setMinimumWidth(380);
    m_download->setObjectName(QStringLiteral("cmdDownload"));
    m_download->setEnabled(false);
    auto* pruefenKnopf = new QPushButton(QStringLiteral("&Erneut prüfen"), this);
    auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Close, this);
    knoepfe->addButton(pruefenKnopf, QDialogButtonBox::ActionRole);
    knoepfe->addButton(m_download, QDialogButtonBox::ActionRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(kopf);
    layout->addWidget(installiert);
    layout->addWidget(m_ergebnisText, 1);
    layout->addWidget(knoepfe);

    connect(pruefenKnopf, &QPushButton::clicked, this, [this] { pruefen(); });
    connect(m_download, &QPushButton::clicked, this,
        [this] { QDesktopServices::openUrl(QUrl::fromUserInput(m_ergebnis.info.download)); });
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void frmWebUpdate::pruefen(const QDate& heute)
{
    m_ergebnisText->setText(QStringLiteral("Die Update-Information wird abgerufen..."));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_ergebnis = WebUpdatePruefung::Pruefe(m_auftrag, heute);
    QApplication::restoreOverrideCursor();
    m_ergebnisText->setText(m_ergebnis.text);
    m_download->setEnabled(downloadMoeglich());
}

QString frmWebUpdate::ergebnisText() const
{
    return m_ergebnisText->text();
}

bool frmWebUpdate::downloadMoeglich() const
{
    return m_ergebnis.ok && m_ergebnis.stand == Updatestand::Neuer
        && !m_ergebnis.info.download.isEmpty();
}

void WebUpdateStarten(const WebUpdateAuftrag& auftrag, QWidget* parent)
{
    frmWebUpdate fenster(auftrag, parent);
    QTimer::singleShot(0, &fenster, [&fenster] { fenster.pruefen(); });
    fenster.exec();
}

} // namespace kv
