#include "Layoutpruefung.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTabBar>
#include <QTableView>
#include <QToolBar>
#include <algorithm>

namespace kv::test {

namespace {

bool rollt(const QWidget* w, const QWidget* fenster)
{
    for (const QWidget* p = w->parentWidget(); p && p != fenster; p = p->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(p))
            return true;
    }
    return false;
}

QString beschreibung(const QWidget* w, const QString& text, const QString& grund)
{
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName()
        + QStringLiteral(" \"") + text + QStringLiteral("\": ") + grund;
}

QString groesse(const QSize& s)
{
    return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
}

} // namespace

QStringList abgeschnitteneTexte(const QWidget* fenster)
{
    QStringList funde;
    // Grid columns of a set width must hold their contents; the stretched last one takes the rest.
    for (const QTableView* t : fenster->findChildren<QTableView*>()) {
        const QHeaderView* kopf = t->horizontalHeader();
        if (!t->isVisibleTo(fenster) || rollt(t, fenster) || !t->model())
            continue;
        for (int i = 0; i < kopf->count(); ++i) {
            const bool gedehnt
                = kopf->stretchLastSection() && kopf->visualIndex(i) == kopf->count() - 1;
            if (kopf->isSectionHidden(i) || gedehnt
                || kopf->sectionResizeMode(i) == QHeaderView::Stretch)
                continue;
            int breite = 0;
            for (int zeile = 0; zeile < t->model()->rowCount(); ++zeile)
                breite = std::max(breite, t->sizeHintForIndex(t->model()->index(zeile, i)).width());
            if (kopf->sectionSize(i) < breite)
                funde.append(beschreibung(t, t->model()->headerData(i, Qt::Horizontal).toString(),
                    QStringLiteral("Spalte %1 statt %2 breit")
                        .arg(kopf->sectionSize(i))
                        .arg(breite)));
        }
    }
    for (const QWidget* w : fenster->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(fenster) || rollt(w, fenster))
            continue;
        QString text;
        QSize noetig;
        if (const auto* l = qobject_cast<const QLabel*>(w)) {
            text = l->text();
            if (text.isEmpty())
                continue;
            noetig = l->wordWrap()
                ? QSize(l->minimumSizeHint().width(), l->heightForWidth(l->width()))
                : l->sizeHint();
        } else if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
            text = b->text();
            if (text.isEmpty() || qobject_cast<const QToolBar*>(w->parentWidget()))
                continue;
            noetig = b->minimumSizeHint().expandedTo(b->sizeHint());
        } else if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
            text = g->title();
            noetig = g->minimumSizeHint();
        } else if (const auto* t = qobject_cast<const QTabBar*>(w)) {
            for (int i = 0; i < t->count(); ++i) {
                if (t->tabRect(i).width() < t->fontMetrics().horizontalAdvance(t->tabText(i)))
                    funde.append(
                        beschreibung(w, t->tabText(i), QStringLiteral("Reiter zu schmal")));
            }
            continue;
        } else {
            continue;
        }
        if (w->width() < noetig.width() || w->height() < noetig.height())
            funde.append(beschreibung(
                w, text, groesse(w->size()) + QStringLiteral(" statt ") + groesse(noetig)));
        // Nothing of it may lie outside the widgets around it, up to the window.
        QRect sichtbar = w->rect();
        for (const QWidget* p = w; p != fenster && p->parentWidget(); p = p->parentWidget()) {
            sichtbar.translate(p->pos());
            sichtbar &= p->parentWidget()->rect();
        }
        if (sichtbar.size() != w->size())
            funde.append(beschreibung(w, text, QStringLiteral("reicht über den Rand")));
    }
    return funde;
}

void bildSpeichern(QWidget* fenster, const QString& name)
{
    const QString ordner = qEnvironmentVariable("KV_BILDER");
    if (ordner.isEmpty())
        return;
    QDir().mkpath(ordner);
    fenster->grab().save(QDir(ordner).filePath(name + QStringLiteral(".png")));
}

} // namespace kv::test
