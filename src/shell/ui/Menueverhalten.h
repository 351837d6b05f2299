#pragma once

#include "shell/Leistenlayout.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class QAction;
class QMenu;

namespace kv {

/// How one menu of the main window behaves when it opens, after the bar options: reduced to the
/// commands used lately (with "Weitere Befehle" and, when wanted, the whole menu after a moment)
/// and animated. The menu's own entries are never changed for good: when it closes, every entry
/// hidden for the reduction is shown again.
class Menueverhalten : public QObject {
    Q_OBJECT
public:
    /// layout gives the current options and the commands used lately.
    Menueverhalten(QMenu* menue, std::function<const Leistenlayout&()> layout);

    /// True while the open menu hides commands.
    bool reduziert() const { return !m_versteckt.isEmpty(); }
    /// The entry that shows the whole menu; nullptr while the menu is not reduced.
    QAction* weitere() const { return m_weitere; }
    /// Shows every command of the open menu.
    void erweitern();

    /// Applies a menu animation to the application's menus.
    static void animationSetzen(Menueanimation animation, bool zweiterEffekt = false);

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void oeffnen();
    void reduzieren(const Leistenlayout& layout);
    void wiederherstellen();

    QMenu* m_menue;
    std::function<const Leistenlayout&()> m_layout;
    QList<QPointer<QAction>> m_versteckt;
    QAction* m_weitere = nullptr;
    QTimer m_verzoegerung;
    bool m_wechsel = false;
};

} // namespace kv
