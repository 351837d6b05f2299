#include "shell/ui/about.h"

#include "shell/Anwendung.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kv {

about::about(bool alsStartfenster, QWidget* parent)
    : QWidget(parent,
        alsStartfenster ? Qt::SplashScreen | Qt::FramelessWindowHint
                        : Qt::Dialog | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("about"));
    setWindowTitle(QStringLiteral("Info über ") + Produktname);
    auto* layout = new QVBoxLayout(this);
    auto* titel = new QLabel(Produktname, this);
    QFont schrift = titel->font();
    schrift.setPointSize(schrift.pointSize() * 2);
    schrift.setBold(true);
    titel->setFont(schrift);
    titel->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(Versionszeile(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(titel);
    layout->addWidget(version);
}

QString about::Versionszeile()
{
    return QStringLiteral("%1 Version: %2  Release: %3")
        .arg(Produktname)
        .arg(Hauptversion)
        .arg(Revision);
}

} // namespace kv
