#include "shell/ui/frmWebUpdate.h"

#include "base/Hilfe.h"
#include "shell/Prozesswerte.h"
#include "shell/WebUpdate.h"

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
    , m_pruefen(new QPushButton(QStringLiteral("&Erneut prüfen"), this))
    , m_abbrechen(new QPushButton(QStringLiteral("&Abbrechen"), this))
{
    setObjectName(QStringLiteral("frmWebUpdate"));
    setFont(Programmschrift());
    setWindowTitle(WebUpdateTitel());
    setProperty(HilfeseiteEigenschaft, auftrag.hilfedatei);

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
    // Wide enough for the longest line of a result; the height follows the text.
    m_ergebnisText->setMinimumWidth(m_ergebnisText->fontMetrics().averageCharWidth() * 60);
    m_ergebnisText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_download->setObjectName(QStringLiteral("cmdDownload"));
    m_download->setEnabled(false);
    m_pruefen->setObjectName(QStringLiteral("cmdPruefen"));
    m_abbrechen->setObjectName(QStringLiteral("cmdAbbrechen"));
    m_abbrechen->setEnabled(false);
    auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Close, this);
    knoepfe->addButton(m_pruefen, QDialogButtonBox::ActionRole);
    knoepfe->addButton(m_abbrechen, QDialogButtonBox::ActionRole);
    knoepfe->addButton(m_download, QDialogButtonBox::ActionRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(kopf);
    layout->addWidget(installiert);
    layout->addWidget(m_ergebnisText, 1);
    layout->addWidget(knoepfe);
    // Results of different length: the window grows with the text instead of cutting it.
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connect(m_pruefen, &QPushButton::clicked, this, [this] { pruefen(); });
    connect(m_abbrechen, &QPushButton::clicked, this, &frmWebUpdate::abbrechen);
    connect(m_download, &QPushButton::clicked, this, [this] {
        QDesktopServices::openUrl(QUrl::fromUserInput(m_pruefung.ergebnis().info.download));
    });
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(&m_pruefung, &WebUpdatePruefung::fertig, this, &frmWebUpdate::zeigeErgebnis);
    if (!auftrag.hauptfenster.isEmpty()) {
        adjustSize();
        move(auftrag.hauptfenster.center() - rect().center());
    }
}

void frmWebUpdate::pruefen(const QDate& heute)
{
    m_ergebnisText->setText(QStringLiteral("Die Update-Information wird abgerufen..."));
    m_download->setEnabled(false);
    m_pruefen->setEnabled(false);
    m_abbrechen->setEnabled(true);
    m_pruefung.starten(m_auftrag, heute);
}

void frmWebUpdate::abbrechen()
{
    m_pruefung.abbrechen();
}

void frmWebUpdate::zeigeErgebnis()
{
    m_ergebnisText->setText(m_pruefung.ergebnis().text);
    m_download->setEnabled(downloadMoeglich());
    m_pruefen->setEnabled(true);
    m_abbrechen->setEnabled(false);
}

QString frmWebUpdate::ergebnisText() const
{
    return m_ergebnisText->text();
}

bool frmWebUpdate::downloadMoeglich() const
{
    const WebUpdatePruefung::Ergebnis& e = m_pruefung.ergebnis();
    return !m_pruefung.laeuft() && e.ok && e.stand == Updatestand::Neuer
        && !e.info.download.isEmpty();
}

void frmWebUpdate::done(int ergebnis)
{
    // Closing the window ends a check still waiting for the server.
    m_pruefung.abbrechen();
    QDialog::done(ergebnis);
}

void WebUpdateStarten(const WebUpdateAuftrag& auftrag, QWidget* parent)
{
    frmWebUpdate fenster(auftrag, parent);
    QTimer::singleShot(0, &fenster, [&fenster] { fenster.pruefen(); });
    fenster.exec();
}

} // namespace kv
