#include "widgets/Werkzeugleiste.h"

#include "widgets/Symboldatei.h"

#include <QAction>
#include <QFont>
#include <QIcon>
#include <QMenu>

namespace kv {

namespace {

const char* const SymbolEigenschaft = "symbol";
const char* const QuickinfoEigenschaft = "quickinfo";

Qt::ToolButtonStyle knopfstil(int textanzeige)
{
    switch (textanzeige) {
    case 1:
    case 2:
        return Qt::ToolButtonTextBesideIcon;
    case 3:
    case 4:
        return Qt::ToolButtonTextUnderIcon;
    default:
        return Qt::ToolButtonIconOnly;
    }
}

void symboleZuweisen(const QList<QAction*>& aktionen, bool klein, const QString& verzeichnis)
{
    for (QAction* a : aktionen) {
        const QString symbol = a->property(SymbolEigenschaft).toString();
        if (!symbol.isEmpty()) {
            const QString datei = Symboldatei(verzeichnis, symbol, klein);
            a->setIcon(datei.isEmpty() ? QIcon() : QIcon(datei));
        }
        if (QMenu* menue = a->menu())
            symboleZuweisen(menue->actions(), klein, verzeichnis);
    }
}

} // namespace

Werkzeugleiste::Werkzeugleiste(const QString& bandname, const QString& titel, QWidget* parent)
    : QToolBar(titel, parent)
{
    setObjectName(bandname);
    setToolButtonStyle(knopfstil(m_textanzeige));
}

void Werkzeugleiste::aufbauen(const QString& definition, int modus)
{
    aufbauen(WerkzeugeAusDefinition(definition), modus);
}

void Werkzeugleiste::aufbauen(const QList<Werkzeug>& werkzeuge, int modus)
{
    for (QAction* a : actions()) {
        removeAction(a);
        if (a->parent() == this)
            delete a;
    }
    m_werkzeuge = werkzeuge;
    m_modus = modus;
    for (const Werkzeug& w : werkzeuge) {
        if (w.trennlinie) {
            addSeparator();
            continue;
        }
        QAction* a = WerkzeugAktion(w, this);
        a->setVisible(w.sichtbarImModus(modus));
        tooltipAnwenden(a);
        connect(
            a, &QAction::triggered, this, [this, name = w.name] { Q_EMIT werkzeugGeklickt(name); });
        addAction(a);
    }
    setVisible(modus > 0);
}

QAction* Werkzeugleiste::werkzeug(const QString& name) const
{
    QAction* ohneFall = nullptr;
    for (QAction* a : actions()) {
        if (a->isSeparator())
            continue;
        if (a->objectName() == name)
            return a;
        if (!ohneFall && a->objectName().compare(name, Qt::CaseInsensitive) == 0)
            ohneFall = a;
    }
    return ohneFall;
}

bool Werkzeugleiste::setzeAktiv(const QString& name, bool aktiv)
{
    QAction* a = werkzeug(name);
    if (a)
        a->setEnabled(aktiv);
    return a;
}

bool Werkzeugleiste::setzeText(const QString& name, const QString& text)
{
    QAction* a = werkzeug(name);
    if (a)
        a->setText(text);
    return a;
}

bool Werkzeugleiste::setzeTooltip(const QString& name, const QString& tooltip)
{
    QAction* a = werkzeug(name);
    if (!a)
        return false;
    a->setProperty(QuickinfoEigenschaft, tooltip);
    a->setStatusTip(tooltip);
    a->setWhatsThis(tooltip);
    tooltipAnwenden(a);
    return true;
}

void Werkzeugleiste::setzeTastenInQuickinfo(bool ja)
{
    m_tastenInQuickinfo = ja;
    for (QAction* a : actions()) {
        if (!a->isSeparator())
            tooltipAnwenden(a);
    }
}

void Werkzeugleiste::tooltipAnwenden(QAction* a) const
{
    QString tip = a->property(QuickinfoEigenschaft).toString();
    if (tip.isEmpty())
        tip = QString(a->text()).remove(QLatin1Char('&'));
    if (m_tastenInQuickinfo && !a->shortcuts().isEmpty()) {
        QStringList tasten;
        for (const QKeySequence& folge : a->shortcuts())
            tasten.append(Tastentext(folge));
        tip += QStringLiteral(" (") + tasten.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    a->setToolTip(tip);
}

void Werkzeugleiste::setzeTextanzeige(int wert)
{
    m_textanzeige = wert;
    setToolButtonStyle(knopfstil(wert));
    // Text left of the icon: the button lays itself out mirrored.
    setLayoutDirection(wert == 1 ? Qt::RightToLeft : Qt::LeftToRight);
}

Qt::ToolBarArea Werkzeugleiste::bereich(const QString& position)
{
    return position.trimmed().compare(QLatin1String("UNTEN"), Qt::CaseInsensitive) == 0
        ? Qt::BottomToolBarArea
        : Qt::TopToolBarArea;
}

QAction* WerkzeugAktion(const Werkzeug& werkzeug, QObject* parent)
{
    auto* a = new QAction(werkzeug.text, parent);
    a->setObjectName(werkzeug.name);
    a->setToolTip(werkzeug.tooltip.isEmpty() ? QString(werkzeug.text).remove(QLatin1Char('&'))
                                             : werkzeug.tooltip);
    a->setStatusTip(werkzeug.tooltip);
    a->setWhatsThis(werkzeug.tooltip);
    a->setShortcuts(werkzeug.tastenfolgen());
    a->setProperty(SymbolEigenschaft, werkzeug.symbol);
    a->setProperty(QuickinfoEigenschaft, werkzeug.tooltip);
    return a;
}

void ToolbarIconsZuweisen(
    QWidget* leiste, bool klein, const QString& grafikverzeichnis, const QFont& schrift)
{
    leiste->setFont(schrift);
    symboleZuweisen(leiste->actions(), klein, grafikverzeichnis);
    if (auto* tb = qobject_cast<QToolBar*>(leiste))
        tb->setIconSize(klein ? QSize(16, 16) : QSize(32, 32));
}

int PopupAuswahl(const QStringList& eintraege, const QString& grafikverzeichnis, const QPoint& pos,
    QWidget* parent)
{
    QMenu menue(parent);
    menue.setObjectName(QStringLiteral("miPopup"));
    QList<QAction*> aktionen;
    for (const QString& eintrag : eintraege) {
        const qsizetype trenner = eintrag.indexOf(QLatin1Char(';'));
        const QString text = trenner < 0 ? eintrag : eintrag.left(trenner);
        QString symbol = trenner < 0 ? QString() : eintrag.mid(trenner + 1);
        symbol = symbol.section(QLatin1Char(';'), 0, 0).trimmed();
        QAction* a = menue.addAction(text);
        if (!symbol.isEmpty()) {
            const QString datei
                = Symboldatei(grafikverzeichnis, symbol + QStringLiteral("32"), false);
            if (!datei.isEmpty())
                a->setIcon(QIcon(datei));
        }
        aktionen.append(a);
    }
    QAction* gewaehlt = menue.exec(pos);
    return int(aktionen.indexOf(gewaehlt)) + 1;
}

} // namespace kv
