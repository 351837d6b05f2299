#include "masks/Standardmaske.h"

#include "engine/Field.h"
#include "engine/TableDef.h"
#include "tables/Felddarstellung.h"
#include "tables/SqlNamen.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <cmath>

namespace kv {

namespace {
constexpr int Links = 2500;
constexpr int Breite = 4000;
constexpr int Abstand = 100;
constexpr int TwipsJeZoll = 1440;
} // namespace

int standardZeilenhoehe(double textHoeheTwips)
{
    return int(std::lround(textHoeheTwips)) + Abstand;
}

int standardZeilenhoehe(const QFont& schrift)
{
    const QScreen* bildschirm = QGuiApplication::primaryScreen();
    const double dpi = bildschirm ? bildschirm->logicalDotsPerInchY() : 96.0;
    const QFontMetricsF metrik(schrift);
    return standardZeilenhoehe(metrik.height() * TwipsJeZoll / (dpi > 0 ? dpi : 96.0));
}

QList<Maskenfeld> maskenfelder(engine::TableDef& tabelle)
{
    QList<Maskenfeld> felder;
    for (const engine::Field* f : tabelle.fields().items())
        felder.append({ f->name(), qint16(f->type()) });
    return felder;
}

QString standardmaskentext(const QString& tabelle, const QList<Maskenfeld>& felder, int zeilenhoehe,
    Standardmaskenvariante variante)
{
    const bool fenster = variante == Standardmaskenvariante::Fenster;
    QStringList zeilen {
        (fenster ? QStringLiteral("KV-Maske: Standard-Maske ")
                 : QStringLiteral("KV-Maske: Standardmaske "))
            + tabelle,
        QStringLiteral("Virtuell: 1"),
        fenster ? QStringLiteral("Bedienelemente: oben") : QStringLiteral("Bedienelemente: Oben"),
        QStringLiteral("Feldbeschriftung: 0;-500;7"),
        QStringLiteral("VideoleisteAnzeige: 1"),
        QStringLiteral("FunktionsleisteAnzeige: 1"),
        QStringLiteral("SQL: SELECT * From ") + Klammername(tabelle),
    };
    int oben = Abstand;
    for (const Maskenfeld& f : felder) {
        const std::optional<Maskenelementart> art = standardmaskenelement(f.typ);
        if (!art)
            continue;
        const int hoehe = *art == Maskenelementart::EingabeTextMemo ? 3 * zeilenhoehe : zeilenhoehe;
        zeilen.append(
            QStringLiteral("%1: 0;%2;%2;%3;%4;%5;%6")
                .arg(maskenelementname(*art), f.name, QString::number(Links), QString::number(oben),
                    QString::number(Breite), QString::number(hoehe)));
        oben += hoehe + Abstand;
    }
    zeilen.append(QStringLiteral("Höhe: ") + QString::number(oben));
    return zeilen.join(QLatin1String("\r\n")) + QLatin1String("\r\n");
}

} // namespace kv
