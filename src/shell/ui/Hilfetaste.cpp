#include "shell/ui/Hilfetaste.h"

#include "base/Hilfe.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace kv {

namespace {

bool istF1(const QEvent* ereignis)
{
    if (ereignis->type() != QEvent::KeyPress && ereignis->type() != QEvent::ShortcutOverride)
        return false;
    const auto* taste = static_cast<const QKeyEvent*>(ereignis);
    return taste->key() == Qt::Key_F1 && taste->modifiers() == Qt::NoModifier;
}

} // namespace

Hilfetaste::Hilfetaste(QObject* parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

QString Hilfetaste::seiteFuer(const QWidget* w)
{
    for (; w; w = w->parentWidget()) {
        const QString seite = w->property(HilfeseiteEigenschaft).toString();
        if (!seite.isEmpty())
            return seite;
    }
    return {};
}

bool Hilfetaste::eventFilter(QObject* objekt, QEvent* ereignis)
{
    // The first widget that receives the key answers it; taking it ends its way up the chain.
    if (!istF1(ereignis) || !objekt->isWidgetType())
        return false;
    const QString seite = seiteFuer(static_cast<QWidget*>(objekt));
    if (seite.isEmpty())
        return false;
    // Claiming the override keeps the "Hilfethemen" shortcut from firing; the key press shows
    // the page.
    ereignis->accept();
    if (ereignis->type() == QEvent::KeyPress)
        HilfeZeigen(seite);
    return true;
}

} // namespace kv
