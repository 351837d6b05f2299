#include "shell/StartEinstellungen.h"

#include "shell/Einstellungen.h"

namespace kv {

namespace {

constexpr int k_hoechsterDatenbankTyp = 14;

std::optional<int> ganzzahl(const QString& text)
{
    bool ok = false;
    const int wert = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(wert) : std::nullopt;
}

// Sizes may have been written with a decimal comma.
float schriftgroesse(const QString& text)
{
    bool ok = false;
    const float wert
        = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toFloat(&ok);
    return ok && wert > 0 ? wert : 8.0F;
}

QString schriftname(const QString& text)
{
    const QString name = text.trimmed();
    return name.isEmpty() ? QStringLiteral("MS Sans Serif") : name;
}

} // namespace

int DatenbankTypAusEndung(const QString& pfad)
{
    const QString endung = pfad.right(3).toUpper();
    if (endung == QLatin1String("MDB"))
        return 1;
    if (endung == QLatin1String("DBF"))
        return 2;
    if (endung == QLatin1String(".DB"))
        return 11;
    if (endung == QLatin1String("XLS"))
        return 14;
    return 0;
}

StartEinstellungen StartEinstellungen::lade(const Einstellungen& e)
{
    const QString& s = AbschnittSettings;
    StartEinstellungen w;
    const auto zahl = [&](const QString& schluessel, int vorgabe) {
        return ganzzahl(e.lese(s, schluessel)).value_or(vorgabe);
    };
    const auto schalter = [&](const QString& schluessel, bool vorgabe) {
        return e.leseBool(s, schluessel, vorgabe);
    };
    const auto position
        = [&](const QString& schluessel) { return ganzzahl(e.lese(s, schluessel)); };

    const std::optional<int> zustand
        = ganzzahl(e.lese(s, QStringLiteral("MainState"), QStringLiteral("0")));
    w.mainState = zustand && *zustand >= 0 && *zustand <= 2 ? *zustand : -1;
    w.schriftart = schriftname(e.lese(s, QStringLiteral("Schriftart"), QStringLiteral("Arial")));
    w.schriftpoint = schriftgroesse(e.lese(s, QStringLiteral("Schriftpoint")));
    w.schriftartMenue = schriftname(e.lese(s, QStringLiteral("SchriftartMenü")));
    w.schriftpointMenue = schriftgroesse(e.lese(s, QStringLiteral("SchriftpointMenü")));
    w.datenbank = e.lese(s, QStringLiteral("Datenbank")).trimmed();
    // A type of the wrong form is treated as unknown, so that the path's ending decides.
    const std::optional<int> typ
        = ganzzahl(e.lese(s, QStringLiteral("DatenbankTyp"), QStringLiteral("1")));
    w.datenbankTyp = typ && *typ >= 0 && *typ <= k_hoechsterDatenbankTyp ? *typ : 0;
    w.iconToolbarKlein = schalter(QStringLiteral("IconToolbarKlein"), true);
    w.toolbarTextanzeige = zahl(QStringLiteral("ToolbarTextanzeige"), 0);
    w.iconFensterToolbarKlein = schalter(QStringLiteral("IconFensterToolbarKlein"), true);
    w.iconFensterToolbarTextanzeige = zahl(QStringLiteral("IconFensterToolbarTextanzeige"), 4);
    w.hauptStatusleisteAnzeigen = schalter(QStringLiteral("HauptStatusleisteAnzeigen"), true);
    w.hauptSymbolleisteAnzeigen = schalter(QStringLiteral("HauptSymbolleisteAnzeigen"), true);
    w.reportausgabeZielSpeichern = schalter(QStringLiteral("ReportausgabeZielSpeichern"), false);
    w.emailAusgabemitDialog = schalter(QStringLiteral("EmailAusgabemitDialog"), true);
    w.reportDateiAenderbar = schalter(QStringLiteral("ReportDateiÄnderbar"), false);
    w.mainTop = position(QStringLiteral("MainTop"));
    w.mainLeft = position(QStringLiteral("MainLeft"));
    w.mainHeight = position(QStringLiteral("MainHeight"));
    w.mainWidth = position(QStringLiteral("MainWidth"));
    w.mruListe = e.lese(s, QStringLiteral("MRUListe"));
    w.datenbankNurLesen = schalter(QStringLiteral("DatenbankNurLesen"), false);
    w.datenbankAktionStatus = e.lese(s, QStringLiteral("DatenbankAktionStatus"));
    return w;
}

std::optional<LetzteDatenbank> StartEinstellungen::letzteDatenbank() const
{
    if (datenbank.isEmpty())
        return std::nullopt;
    LetzteDatenbank d { datenbank, datenbankTyp, false };
    if (d.typ != 0)
        d.nurLesen = datenbankNurLesen;
    else
        d.typ = DatenbankTypAusEndung(datenbank);
    return d;
}

} // namespace kv
