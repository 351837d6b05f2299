#include "widgets/Knopfzeile.h"

#include <QHBoxLayout>

namespace kv {

QHBoxLayout* Knopfzeile(QWidget* eltern, std::span<const Knopfangabe> angaben,
    std::span<QPushButton*> knoepfe, const std::function<void(int)>& geklickt, int dehnungVor)
{
    auto* zeile = new QHBoxLayout;
    for (size_t i = 0; i < angaben.size(); ++i) {
        auto* knopf = new QPushButton(QString::fromUtf8(angaben[i].text), eltern);
        knopf->setObjectName(QStringLiteral("Command1_%1").arg(i));
        knopf->setToolTip(QString::fromUtf8(angaben[i].tipp));
        knopf->setAutoDefault(false);
        QObject::connect(
            knopf, &QPushButton::clicked, eltern, [geklickt, i] { geklickt(static_cast<int>(i)); });
        if (static_cast<int>(i) == dehnungVor)
            zeile->addStretch(1);
        zeile->addWidget(knopf);
        knoepfe[i] = knopf;
    }
    return zeile;
}

} // namespace kv
