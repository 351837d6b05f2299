#pragma once

// Drives windows that run their own event loop (modal dialogs, pop-up menus): the step runs as
// soon as such a window of the wanted type is on top.

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kv::test {

/// Runs schritt on the next modal window (or, for menus, the next pop-up) of type T once it is
/// shown. Gives up after 20 seconds, failing the running test.
template <class T> void beimNaechstenFenster(std::function<void(T*)> schritt)
{
    auto* uhr = new QTimer;
    uhr->setInterval(10);
    auto* versuche = new int(0);
    QObject::connect(uhr, &QTimer::timeout, [uhr, versuche, schritt] {
        QWidget* oben = QApplication::activePopupWidget();
        if (!oben)
            oben = QApplication::activeModalWidget();
        auto* fenster = qobject_cast<T*>(oben);
        if (!fenster && ++*versuche < 2000)
            return;
        uhr->stop();
        uhr->deleteLater();
        delete versuche;
        if (!fenster) {
            QTest::qFail("Das erwartete Fenster ist nicht erschienen.", __FILE__, __LINE__);
            return;
        }
        schritt(fenster);
    });
    uhr->start();
}

} // namespace kv::test
