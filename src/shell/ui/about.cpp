#include "shell/ui/about.h"

#include "shell/Anwendung.h"
#include "shell/Prozesswerte.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace kv {

about::about(bool alsStartfenster, QWidget* parent)
    : QDialog(parent,
        alsStartfenster ? Qt::SplashScreen | Qt::FramelessWindowHint
                        : Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("about"));
    setFont(Programmschrift());
    setWindowTitle(QStringLiteral("Info über ") + Produktname);
    auto* layout = new QVBoxLayout(this);
    auto* titel = new QLabel(Produktname, this);
    QFont schrift = titel->font();
    schrift.setPointSizeF(schrift.pointSizeF() * 2);
    schrift.setBold(true);
    titel->setFont(schrift);
    titel->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(Versionszeile(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(titel);
    layout->addWidget(version);
    if (!alsStartfenster) {
        auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok, this);
        knoepfe->setCenterButtons(true);
        connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
        layout->addWidget(knoepfe);
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString about::Versionszeile()
{
    return QStringLiteral("%1 Version: %2  Release: %3")
        .arg(Produktname)
        .arg(Hauptversion)
        .arg(Revision);
}

} // namespace kv
