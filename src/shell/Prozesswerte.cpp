#include "shell/Prozesswerte.h"

#include "shell/Einstellungen.h"
#include "shell/StartEinstellungen.h"

namespace kv {

namespace {

struct Werte {
    QFont programmschrift;
    QFont menueschrift;
    bool xpStil = false;
    QDateTime start;
};

Werte& werte()
{
    static Werte w;
    return w;
}

QFont schrift(const QString& name, float punkt)
{
    QFont f(name);
    f.setPointSizeF(punkt);
    f.setBold(false);
    return f;
}

// Sizes are written as the program reads them: "8" or "9.75".
QString punktText(const QFont& f)
{
    return QString::number(f.pointSizeF(), 'g', 6);
}

} // namespace

QFont& Programmschrift()
{
    return werte().programmschrift;
}

QFont& Menueschrift()
{
    return werte().menueschrift;
}

void SchriftenSetzen(const StartEinstellungen& w)
{
    werte().programmschrift = schrift(w.schriftart, w.schriftpoint);
    werte().menueschrift = schrift(w.schriftartMenue, w.schriftpointMenue);
}

void SchriftenSpeichern(Einstellungen& e)
{
    const QString& s = AbschnittSettings;
    e.schreibe(s, QStringLiteral("Schriftart"), Programmschrift().family());
    e.schreibe(s, QStringLiteral("Schriftpoint"), punktText(Programmschrift()));
    e.schreibe(s, QStringLiteral("SchriftartMenü"), Menueschrift().family());
    e.schreibe(s, QStringLiteral("SchriftpointMenü"), punktText(Menueschrift()));
}

bool XPStil()
{
    return werte().xpStil;
}

void setzeXPStil(bool an)
{
    werte().xpStil = an;
}

QDateTime Startzeitpunkt()
{
    return werte().start;
}

void setzeStartzeitpunkt(const QDateTime& zeit)
{
    werte().start = zeit;
}

} // namespace kv
