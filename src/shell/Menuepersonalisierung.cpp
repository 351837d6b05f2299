#include "shell/Menuepersonalisierung.h"

#include "shell/Befehlstabelle.h"

namespace kv::Menuepersonalisierung {

QString WeitereBefehleText()
{
    return QStringLiteral("Weitere Befehle");
}

const QStringList& Grundbestand()
{
    static const QStringList grundbestand = [] {
        QStringList namen;
        for (const QString& eintrag : Hauptleistendefinition().split(QLatin1Char('|')))
            namen.append(eintrag.section(QLatin1Char(';'), 0, 0).trimmed());
        namen.removeAll(QString());
        namen << QStringLiteral("dateischließen") << QStringLiteral("bearbeitendatenzentrale")
              << QStringLiteral("ansichtmenüpersonalisiert") << QStringLiteral("Hilfethemen");
        return namen;
    }();
    return grundbestand;
}

QStringList Verwendet(QStringList zuletzt, const QString& werkzeug)
{
    if (werkzeug.isEmpty())
        return zuletzt;
    zuletzt.removeAll(werkzeug);
    zuletzt.prepend(werkzeug);
    while (zuletzt.size() > MaxZuletzt)
        zuletzt.removeLast();
    return zuletzt;
}

QList<bool> Sichtbar(const QStringList& band, const QStringList& zuletzt)
{
    QList<bool> sichtbar(band.size(), false);
    for (qsizetype i = 0; i < band.size(); ++i) {
        const QString& name = band.at(i);
        sichtbar[i] = !name.isEmpty()
            && (!FindeBefehl(name) || Grundbestand().contains(name) || zuletzt.contains(name));
    }
    // A separator stays only where shown entries stand on both sides of it, once.
    bool davor = false;
    qsizetype offenerTrenner = -1;
    for (qsizetype i = 0; i < band.size(); ++i) {
        if (band.at(i).isEmpty()) {
            if (davor && offenerTrenner < 0)
                offenerTrenner = i;
        } else if (sichtbar.at(i)) {
            if (offenerTrenner >= 0)
                sichtbar[offenerTrenner] = true;
            offenerTrenner = -1;
            davor = true;
        }
    }
    return sichtbar;
}

} // namespace kv::Menuepersonalisierung
