#include "shell/ui/Menueverhalten.h"

#include "shell/Befehlstabelle.h"
#include "shell/Menuepersonalisierung.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace kv {

Menueverhalten::Menueverhalten(QMenu* menue, std::function<const Leistenlayout&()> layout)
    : QObject(menue)
    , m_menue(menue)
    , m_layout(std::move(layout))
{
    m_verzoegerung.setSingleShot(true);
    m_verzoegerung.setInterval(Menuepersonalisierung::VerzoegerungMs);
    connect(&m_verzoegerung, &QTimer::timeout, this, &Menueverhalten::erweitern);
    connect(menue, &QMenu::aboutToShow, this, &Menueverhalten::oeffnen);
    connect(menue, &QMenu::aboutToHide, this, [this] {
        m_verzoegerung.stop();
        wiederherstellen();
    });
    menue->installEventFilter(this);
}

void Menueverhalten::animationSetzen(Menueanimation animation, bool zweiterEffekt)
{
    // Qt offers two menu effects: rolling out and fading in.
    const bool an = animation != Menueanimation::Keine;
    const bool einblenden = animation == Menueanimation::Entfalten
        || (animation == Menueanimation::Abwechselnd && zweiterEffekt);
    if (an)
        QApplication::setEffectEnabled(Qt::UI_General, true);
    QApplication::setEffectEnabled(Qt::UI_AnimateMenu, an);
    QApplication::setEffectEnabled(Qt::UI_FadeMenu, an && einblenden);
}

void Menueverhalten::oeffnen()
{
    wiederherstellen();
    const Leistenlayout& layout = m_layout();
    m_wechsel = !m_wechsel;
    animationSetzen(layout.optionen.animation, m_wechsel);
    if (!layout.optionen.personalisiert)
        return;
    reduzieren(layout);
    if (reduziert() && layout.optionen.vollstaendigNachVerzoegerung)
        m_verzoegerung.start();
}

void Menueverhalten::reduzieren(const Leistenlayout& layout)
{
    // Only what shows counts: hidden history entries must not keep a separator alive.
    QList<QAction*> aktionen;
    QStringList namen;
    for (QAction* a : m_menue->actions()) {
        if (!a->isVisible())
            continue;
        aktionen.append(a);
        if (a->isSeparator())
            namen.append(QString());
        else if (FindeBefehl(a->objectName()) && Historiennummer(a->objectName()) == 0)
            namen.append(a->objectName());
        else
            namen.append(QStringLiteral("*")); // sub-menus, history and window entries stay
    }
    const QList<bool> sichtbar = Menuepersonalisierung::Sichtbar(namen, layout.zuletztVerwendet);
    for (qsizetype i = 0; i < aktionen.size(); ++i) {
        if (!sichtbar.at(i)) {
            aktionen.at(i)->setVisible(false);
            m_versteckt.append(aktionen.at(i));
        }
    }
    if (m_versteckt.isEmpty())
        return;
    m_weitere = m_menue->addAction(Menuepersonalisierung::WeitereBefehleText());
    m_weitere->setObjectName(QStringLiteral("miWeitereBefehle"));
    m_weitere->setToolTip(QStringLiteral("Alle Befehle des Menüs anzeigen"));
}

void Menueverhalten::erweitern()
{
    m_verzoegerung.stop();
    wiederherstellen();
}

void Menueverhalten::wiederherstellen()
{
    for (const QPointer<QAction>& a : std::as_const(m_versteckt)) {
        if (a)
            a->setVisible(true);
    }
    m_versteckt.clear();
    if (m_weitere) {
        m_menue->removeAction(m_weitere);
        m_weitere->deleteLater();
        m_weitere = nullptr;
    }
}

bool Menueverhalten::eventFilter(QObject* objekt, QEvent* ereignis)
{
    // Choosing "Weitere Befehle" opens the menu up instead of closing it.
    if (objekt == m_menue && m_weitere) {
        if (ereignis->type() == QEvent::MouseButtonRelease) {
            const auto* maus = static_cast<QMouseEvent*>(ereignis);
            if (m_menue->actionAt(maus->position().toPoint()) == m_weitere) {
                erweitern();
                return true;
            }
        } else if (ereignis->type() == QEvent::KeyPress) {
            const int taste = static_cast<QKeyEvent*>(ereignis)->key();
            if (m_menue->activeAction() == m_weitere
                && (taste == Qt::Key_Return || taste == Qt::Key_Enter || taste == Qt::Key_Space)) {
                erweitern();
                return true;
            }
        }
    }
    return QObject::eventFilter(objekt, ereignis);
}

} // namespace kv
