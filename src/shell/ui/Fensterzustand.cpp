#include "shell/ui/Fensterzustand.h"

#include "shell/Einstellungen.h"
#include "shell/Fenstergeometrie.h"
#include "shell/StartEinstellungen.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace kv {

namespace {

// The widget whose geometry counts: the MDI frame around a child, else the window itself.
QWidget* rahmenVon(QWidget* fenster)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(fenster->parentWidget()))
        return sub;
    return fenster;
}

QString nameVon(const QWidget* fenster)
{
    if (const auto* sub = qobject_cast<const QMdiSubWindow*>(fenster);
        sub && fenster->objectName().isEmpty() && sub->widget())
        return sub->widget()->objectName();
    return fenster->objectName();
}

QWidget* hauptfensterSuchen(QWidget* fenster)
{
    if (QWidget* eltern = fenster->parentWidget())
        return eltern->window();
    const auto fenster2 = QApplication::topLevelWidgets();
    for (QWidget* w : fenster2) {
        if (w != fenster && qobject_cast<QMainWindow*>(w))
            return w;
    }
    return nullptr;
}

QRect globalerClientbereich(QWidget* hauptfenster)
{
    QWidget* bereich = hauptfenster;
    if (auto* mw = qobject_cast<QMainWindow*>(hauptfenster); mw && mw->centralWidget())
        bereich = mw->centralWidget();
    return { bereich->mapToGlobal(QPoint(0, 0)), bereich->size() };
}

QPoint zentriert(const QRect& bereich, const QSize& groesse)
{
    const QPoint p = bereich.center() - QPoint(groesse.width() / 2, groesse.height() / 2);
    return { std::max(p.x(), bereich.left()), std::max(p.y(), bereich.top()) };
}

void zentrieren(QWidget* rahmen, QWidget* hauptfenster)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(rahmen); sub && sub->mdiArea()) {
        rahmen->move(zentriert(sub->mdiArea()->viewport()->rect(), rahmen->size()));
        return;
    }
    if (!hauptfenster)
        hauptfenster = hauptfensterSuchen(rahmen);
    if (hauptfenster && hauptfenster != rahmen)
        rahmen->move(
            zentriert(globalerClientbereich(hauptfenster), rahmen->frameGeometry().size()));
}

// Position as move() takes it (frame for top-level windows) and size as resize() takes it.
QRect lage(const QWidget* rahmen)
{
    if (rahmen->isWindow() && rahmen->isMaximized()) {
        const QPoint rand = rahmen->geometry().topLeft() - rahmen->frameGeometry().topLeft();
        const QRect normal = rahmen->normalGeometry();
        return { normal.topLeft() - rand, normal.size() };
    }
    return { rahmen->pos(), rahmen->size() };
}

int twipsX(const QWidget* w, int pixel)
{
    return pixelZuTwips(pixel, w->logicalDpiX());
}
int twipsY(const QWidget* w, int pixel)
{
    return pixelZuTwips(pixel, w->logicalDpiY());
}
int pixelX(const QWidget* w, int twips)
{
    return twipsZuPixel(twips, w->logicalDpiX());
}
int pixelY(const QWidget* w, int twips)
{
    return twipsZuPixel(twips, w->logicalDpiY());
}

} // namespace

void FenstergeometrieSpeichern(QWidget* fenster, Einstellungen& einstellungen)
{
    const QString name = nameVon(fenster);
    QWidget* rahmen = rahmenVon(fenster);
    if (name.isEmpty() || rahmen->isMinimized())
        return;
    const QRect r = lage(rahmen);
    const Fenstergeometrie g { twipsX(rahmen, r.x()), twipsY(rahmen, r.y()),
        twipsX(rahmen, r.width()), twipsY(rahmen, r.height()), rahmen->isMaximized() };
    einstellungen.schreibe(AbschnittSettings, name, g.text());
}

void FenstergeometrieSpeichern(QWidget* fenster)
{
    Einstellungen einstellungen;
    FenstergeometrieSpeichern(fenster, einstellungen);
}

void FenstergeometrieWiederherstellen(
    QWidget* fenster, bool zentrieren, const Einstellungen& einstellungen, QWidget* hauptfenster)
{
    const QString name = nameVon(fenster);
    QWidget* rahmen = rahmenVon(fenster);
    const auto g = name.isEmpty()
        ? std::nullopt
        : Fenstergeometrie::ausText(einstellungen.lese(AbschnittSettings, name));
    if (!g) {
        if (zentrieren)
            kv::zentrieren(rahmen, hauptfenster);
        return;
    }
    // The normal geometry is set first, so that leaving the maximised state restores it.
    rahmen->move(pixelX(rahmen, g->links), pixelY(rahmen, g->oben));
    rahmen->resize(pixelX(rahmen, g->breite), pixelY(rahmen, g->hoehe));
    if (g->maximiert)
        rahmen->setWindowState(rahmen->windowState() | Qt::WindowMaximized);
}

void FenstergeometrieWiederherstellen(QWidget* fenster, bool zentrieren)
{
    FenstergeometrieWiederherstellen(fenster, zentrieren, Einstellungen());
}

void HauptfensterzustandAnwenden(QMainWindow* fenster, const StartEinstellungen& werte)
{
    if (werte.mainState == 2) {
        fenster->setWindowState(fenster->windowState() | Qt::WindowMaximized);
        return;
    }
    if (werte.mainState != 0)
        return;
    QPoint pos = fenster->pos();
    QSize groesse = fenster->size();
    if (werte.mainLeft)
        pos.setX(pixelX(fenster, *werte.mainLeft));
    if (werte.mainTop)
        pos.setY(pixelY(fenster, *werte.mainTop));
    if (werte.mainWidth && *werte.mainWidth > 0)
        groesse.setWidth(pixelX(fenster, *werte.mainWidth));
    if (werte.mainHeight && *werte.mainHeight > 0)
        groesse.setHeight(pixelY(fenster, *werte.mainHeight));
    fenster->move(pos);
    fenster->resize(groesse);
}

void HauptfensterzustandSpeichern(const QMainWindow* fenster, Einstellungen& einstellungen)
{
    const int zustand = fenster->isMinimized() ? 1 : fenster->isMaximized() ? 2 : 0;
    const QString& s = AbschnittSettings;
    einstellungen.schreibe(s, QStringLiteral("MainState"), QString::number(zustand));
    if (zustand == 1)
        return;
    const QRect r = lage(fenster);
    einstellungen.schreibe(s, QStringLiteral("MainLeft"), QString::number(twipsX(fenster, r.x())));
    einstellungen.schreibe(s, QStringLiteral("MainTop"), QString::number(twipsY(fenster, r.y())));
    einstellungen.schreibe(
        s, QStringLiteral("MainWidth"), QString::number(twipsX(fenster, r.width())));
    einstellungen.schreibe(
        s, QStringLiteral("MainHeight"), QString::number(twipsY(fenster, r.height())));
}

} // namespace kv
