#include "widgets/Werkzeugdefinition.h"

#include "base/Text.h"

namespace kv {

bool Werkzeug::sichtbarImModus(int modus) const
{
    if (modus <= 0)
        return false;
    return modi.isEmpty() || modi.contains(QString::number(modus));
}

QList<QKeySequence> Werkzeug::tastenfolgen() const
{
    QList<QKeySequence> folgen;
    for (const QString& t : tastenkuerzel) {
        const QKeySequence folge = Tastenfolge(t);
        if (!folge.isEmpty())
            folgen.append(folge);
    }
    return folgen;
}

QList<Werkzeug> WerkzeugeAusDefinition(const QString& definition)
{
    QList<Werkzeug> werkzeuge;
    if (definition.trimmed().isEmpty())
        return werkzeuge;
    for (const QString& eintrag : definition.split(QLatin1Char('|'))) {
        Werkzeug w;
        if (eintrag.trimmed().isEmpty()) {
            w.trennlinie = true;
            werkzeuge.append(w);
            continue;
        }
        const Teilliste teile = Teile(eintrag, QStringLiteral(";"));
        w.name = teile[1];
        w.text = teile[2];
        w.symbol = teile[3];
        w.tooltip = teile[4];
        for (const QString& kuerzel : Teile(teile[5], QStringLiteral(","))) {
            if (!kuerzel.isEmpty())
                w.tastenkuerzel.append(kuerzel);
        }
        w.modi = teile[6];
        werkzeuge.append(w);
    }
    while (!werkzeuge.isEmpty() && werkzeuge.constLast().trennlinie)
        werkzeuge.removeLast();
    return werkzeuge;
}

QKeySequence Tastenfolge(const QString& text)
{
    QStringList teile = text.trimmed().split(QLatin1Char('+'));
    for (QString& teil : teile) {
        const QString t = teil.trimmed();
        // The definition strings name the modifiers as the old bar control did, users in German.
        if (t.compare(QLatin1String("Control"), Qt::CaseInsensitive) == 0
            || t.compare(QLatin1String("Strg"), Qt::CaseInsensitive) == 0)
            teil = QStringLiteral("Ctrl");
        else if (t.compare(QLatin1String("Umschalt"), Qt::CaseInsensitive) == 0)
            teil = QStringLiteral("Shift");
        else if (t.compare(QLatin1String("Entf"), Qt::CaseInsensitive) == 0)
            teil = QStringLiteral("Delete");
        else
            teil = t;
    }
    const QKeySequence folge = QKeySequence::fromString(teile.join(QLatin1Char('+')));
    if (folge.isEmpty() || folge[0].key() == Qt::Key_unknown)
        return {};
    return folge;
}

QString Tastentext(const QKeySequence& folge)
{
    QString text = folge.toString(QKeySequence::PortableText);
    ErsetzeAlle(text, QStringLiteral("Ctrl+"), QStringLiteral("Strg+"));
    ErsetzeAlle(text, QStringLiteral("Shift+"), QStringLiteral("Umschalt+"));
    return text;
}

} // namespace kv
