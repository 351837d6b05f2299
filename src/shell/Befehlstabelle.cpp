#include "shell/Befehlstabelle.h"

#include <QHash>

namespace kv {

namespace {

using Z = Befehlsziel;

Befehl befehl(const char* name, const char* text, const QString& beschreibung, const char* symbol,
    const char* tastenkuerzel, const QString& band, int aktion, Befehlsziel ziel, int id = 0,
    const char* einstellung = "")
{
    return { QString::fromUtf8(name), QString::fromUtf8(text), beschreibung,
        QString::fromUtf8(symbol), QString::fromUtf8(tastenkuerzel), band, aktion, ziel, id,
        QString::fromUtf8(einstellung) };
}

QList<Befehl> tabelleAufbauen()
{
    const QString datei = QStringLiteral("Datei");
    const QString bearbeiten = QStringLiteral("Bearbeiten");
    const QString ansicht = QStringLiteral("Ansicht");
    const QString fenster = QStringLiteral("Fenster");
    const QString hilfe = QStringLiteral("mi?");
    const QString haupt = QStringLiteral("mtbHauptleiste");
    const QString status = QStringLiteral("msb");
    const QString text = QStringLiteral("mpAnpassenText");
    const QString groesse = QStringLiteral("mpAnpassenGröße");
    const QString textBeschreibung
        = QStringLiteral("Einstellung, wie Texte in der Symbolleiste angezeigt werden sollen");
    const QString groesseBeschreibung
        = QStringLiteral("Einstellung, wie Symbole in der Symbolleiste angezeigt werden sollen");

    // name, caption, description, icon, shortcut, band, action slot, target, id, setting
    return {
        befehl("dateineu", "&Neu", "Neue Datenbank erzeugen", "DateiNeu", "Ctrl+N", datei, 1,
            Z::DateiNeu),
        befehl("dateiöffnen", "Ö&ffnen", "Vorhandene Datenbank öffnen", "DateiOeffnen", "Ctrl+O",
            datei, 2, Z::DateiOeffnen),
        befehl("dateischließen", "S&chließen", "Aktuelle Datenbank schließen", "DateiSchliessen",
            "", datei, 3, Z::DateiSchliessen),
        befehl("dateispeichern", "&Speichern", "Aktuelle Datenbank speichern", "Speichern",
            "Ctrl+S", datei, 4, Z::DateiSpeichern),
        befehl("dateispeichernunter", "&Speichern unter...",
            "Datenbank unter einem anderen Dateinamen speichern", "SpeichernUnter", "", datei, 5,
            Z::DateiSpeichernUnter),
        befehl("dateikomprimieren", "&Komprimieren...", "Datenbank komprimieren", "Komprimieren",
            "", datei, 6, Z::DateiKomprimieren),
        befehl("dateireparieren", "Reparieren...", "Reparaturversuch durchführen", "Reparieren", "",
            datei, 7, Z::DateiReparieren),
        befehl("dateisichern", "Sichern...", "Datensicherung durchführen", "Sichern", "", datei, 16,
            Z::DateiSichern),
        befehl("dateirücksichern", "Rücksichern...", "Datenrücksicherung durchführen",
            "Ruecksichern", "", datei, 17, Z::DateiRuecksichern),
        befehl("Ende", "&Ende", "Programm beenden", "Ende", "Ctrl+Q", datei, 0, Z::Ende),
        befehl("Historie", "", "Diese Datenbank öffnen: ", "", "", datei, 0, Z::Historie),

        befehl("transaktionbeginnen", "Transaktion", "Transaktion beginnen", "Transaktion", "",
            haupt, 0, Z::TransaktionBeginnen),
        befehl("transaktionupdate", "Update", "Transaktion speichern und beenden",
            "TransaktionUpdate", "", haupt, 0, Z::TransaktionUpdate),
        befehl("transaktionrollback", "Rollback", "Transaktion zurücknehmen und beenden",
            "TransaktionRollback", "", haupt, 0, Z::TransaktionRollback),

        befehl("bearbeitendatenzentrale", "Datenzentrale", "Datenzentrale anzeigen",
            "Datenzentrale", "F12", bearbeiten, 0, Z::Datenzentrale),
        befehl("bearbeitenstrukturgenerator", "&Struktur-Generator",
            "Struktur-Generator zur Bearbeitung der Datenstrukturen aufrufen", "Struktur", "",
            bearbeiten, 9, Z::Strukturgenerator),
        befehl("bearbeitenimport", "Import...", "Datenimport aufrufen", "Import", "", bearbeiten,
            10, Z::Import),
        befehl("bearbeitenexport", "Export...", "Datenexport aufrufen", "Export", "", bearbeiten,
            11, Z::Export),
        befehl("bearbeitenglobalesändern", "Globales Ändern", "Globales Ändern aufrufen",
            "GlobalAendern", "", bearbeiten, 12, Z::GlobalesAendern),
        befehl("bearbeitenglobaleslöschen", "Globales Löschen", "Globales Löschen aufrufen",
            "GlobalLoeschen", "", bearbeiten, 13, Z::GlobalesLoeschen),
        befehl("bearbeitenhochzählautomatik", "Hochzählautomatik", "Hochzählautomatik aufrufen",
            "Hochzaehlen", "", bearbeiten, 14, Z::Hochzaehlautomatik),

        befehl("ansichtsymbolleiste", "Symbolleiste anzeigen",
            "Symbolleiste im Hauptfenster ein/ausschalten", "", "", ansicht, 0, Z::Symbolleiste, 0,
            "HauptSymbolleisteAnzeigen"),
        befehl("ansichtstatusleiste", "Statusleiste anzeigen",
            "Statusleiste im Hauptfenster ein/ausschalten", "", "", ansicht, 0, Z::Statusleiste, 0,
            "HauptStatusleisteAnzeigen"),
        befehl("ansichtmenüpersonalisiert", "Reduziertes Menüsystem",
            "Reduziertes Menüsystem (personalsiert) ein/ausschalten", "", "", ansicht, 0,
            Z::MenuePersonalisiert),
        befehl("ansichttextanpassen", "Texte ändern...", "Texte der Hauptsymbolleiste ändern",
            "TexteAendern", "", ansicht, 0, Z::TexteAnpassen),
        befehl("mTextanpassen", "Texte ändern...", "Texte der Hauptsymbolleiste ändern",
            "TexteAendern", "", haupt, 0, Z::TexteAnpassen),
        befehl("ansichtmenüanpassen", "&Menüsystem anpassen...",
            "Menüsystem anpassen, Symbolleisten erzeugen etc.", "MenueAnpassen", "", ansicht, 0,
            Z::MenueAnpassen),
        befehl("mpTextaus", "Aus", textBeschreibung, "", "", text, 0, Z::Textanzeige, 1100,
            "ToolbarTextanzeige"),
        befehl("mpTextlinks", "Links", textBeschreibung, "", "", text, 0, Z::Textanzeige, 1101,
            "ToolbarTextanzeige"),
        befehl("mpTextrechts", "Rechts", textBeschreibung, "", "", text, 0, Z::Textanzeige, 1102,
            "ToolbarTextanzeige"),
        befehl("mpTextoben", "Oben", textBeschreibung, "", "", text, 0, Z::Textanzeige, 1103,
            "ToolbarTextanzeige"),
        befehl("mpTextunten", "Unten", textBeschreibung, "", "", text, 0, Z::Textanzeige, 1104,
            "ToolbarTextanzeige"),
        befehl("mpklein", "Klein", groesseBeschreibung, "", "", groesse, 0, Z::Symbolgroesse, 0,
            "IconToolbarKlein"),
        befehl("mpgross", "Groß", groesseBeschreibung, "", "", groesse, 0, Z::Symbolgroesse, 0,
            "IconToolbarKlein"),
        befehl("ansichtschriftfenster", "Schrift Arbeitsfenster",
            "Schriftart für Arbeitsfenster einstellen", "Schrift", "", ansicht, 0,
            Z::SchriftFenster),
        befehl("ansichtschriftsymbolleiste", "Schrift Symbolleisten",
            "Schriftart für Symbolleisten einstellen", "SchriftSymbolleiste", "", ansicht, 0,
            Z::SchriftSymbolleisten),
        befehl("ansichtoptionen", "Optionen", "Weitere Einstelloptionen anzeigen", "Optionen", "",
            ansicht, 15, Z::Optionen),

        befehl("miÜberlappend", "Überlappend", "Geöffnete Arbeitsfenster überlappend anordnen",
            "Ueberlappend", "Shift+F5", fenster, 0, Z::Ueberlappend),
        befehl("miUntereinander", "Untereinander",
            "Geöffnete Arbeitsfenster untereinander anordnen", "Untereinander", "", fenster, 0,
            Z::Untereinander),
        befehl("miNebeneinander", "Nebeneinander",
            "Geöffnete Arbeitsfenster nebeneinander anordnen", "Nebeneinander", "Shift+F4", fenster,
            0, Z::Nebeneinander),
        befehl("miSymboleanordnen", "Symbole anordnen",
            "Minimierte Arbeitsfenstersymbole neu anordnen", "SymboleAnordnen", "", fenster, 0,
            Z::SymboleAnordnen),
        befehl("miAlleschließen", "Alle schließen", "Alle offenen Fenster schließen",
            "AlleSchliessen", "", fenster, 0, Z::AlleSchliessen),

        befehl("Hilfethemen", "&Hilfethemen...", "Hilfsübersicht anzeigen", "Hilfe", "F1", hilfe, 0,
            Z::Hilfethemen),
        befehl("SucheninderHilfe", "&Suchen in der Hilfe...", "Suchen in der Hilfe", "HilfeSuchen",
            "", hilfe, 0, Z::HilfeSuchen),
        befehl("Direkthilfe", "&Direkthilfe", "Direkthilfe aufrufen", "Direkthilfe", "Shift+F1",
            hilfe, 0, Z::Direkthilfe),
        befehl("Webupdate", "Update im Web suchen", "Im Internet nach einem Release-Update suchen",
            "Webupdate", "", hilfe, 0, Z::Webupdate),
        befehl("Infoüber", "Info über...", "Infofenster anzeigen", "Info", "", hilfe, 0, Z::Info),

        befehl("Hilfstext", "Bereit", "", "", "", status, 0, Z::Keins),
        befehl("AktiveDatenbank", "<keine aktive Datenbank>",
            "Momentan ist keine Datenbank geöffnet (Auswahl per Mausklick)", "", "", status, 2,
            Z::DateiOeffnen),
        befehl("Datum", "", "Aktuelles Tagesdatum", "", "", status, 0, Z::Keins),
    };
}

QStringList liste(std::initializer_list<const char*> namen)
{
    QStringList l;
    for (const char* n : namen)
        l.append(QString::fromUtf8(n));
    return l;
}

} // namespace

const QList<Befehl>& Befehlstabelle()
{
    static const QList<Befehl> tabelle = tabelleAufbauen();
    return tabelle;
}

const Befehl* FindeBefehl(const QString& name)
{
    static const QHash<QString, const Befehl*> index = [] {
        QHash<QString, const Befehl*> h;
        for (const Befehl& b : Befehlstabelle())
            h.insert(b.name, &b);
        return h;
    }();
    if (Historiennummer(name) > 0)
        return index.value(QStringLiteral("Historie"));
    return index.value(name);
}

QStringList Bandinhalt(const QString& band)
{
    if (band == QStringLiteral("Datei"))
        return liste({ "dateineu", "dateiöffnen", "dateischließen", "", "dateispeichern",
            "dateispeichernunter", "", "dateikomprimieren", "dateireparieren", "dateisichern",
            "dateirücksichern", "", "Ende" });
    if (band == QStringLiteral("Bearbeiten"))
        return liste({ "bearbeitendatenzentrale", "bearbeitenstrukturgenerator", "",
            "bearbeitenimport", "bearbeitenexport", "", "bearbeitenglobalesändern",
            "bearbeitenglobaleslöschen", "bearbeitenhochzählautomatik" });
    if (band == QStringLiteral("Ansicht"))
        return liste({ "ansichtsymbolleiste", "ansichtstatusleiste", "ansichtmenüpersonalisiert",
            "", "mpAnpassenText", "mpAnpassenGröße", "ansichttextanpassen", "ansichtmenüanpassen",
            "", "ansichtschriftfenster", "ansichtschriftsymbolleiste", "", "ansichtoptionen" });
    if (band == QStringLiteral("Fenster"))
        return liste({ "miÜberlappend", "miUntereinander", "miNebeneinander", "miSymboleanordnen",
            "", "miAlleschließen", "", "MDIListe" });
    if (band == QStringLiteral("mi?"))
        return liste(
            { "Hilfethemen", "SucheninderHilfe", "Direkthilfe", "", "Webupdate", "", "Infoüber" });
    if (band == QStringLiteral("mpAnpassenText"))
        return liste({ "mpTextaus", "mpTextlinks", "mpTextrechts", "mpTextoben", "mpTextunten" });
    if (band == QStringLiteral("mpAnpassenGröße"))
        return liste({ "mpklein", "mpgross" });
    if (band == QStringLiteral("msb"))
        return liste({ "Hilfstext", "AktiveDatenbank", "Datum" });
    if (band == QStringLiteral("mtbKontext"))
        return liste({ "mpAnpassenText", "mpAnpassenGröße", "", "mTextanpassen" });
    return {};
}

QString Bandtitel(const QString& band)
{
    static const QHash<QString, QString> titel = {
        { QStringLiteral("Datei"), QStringLiteral("&Datei") },
        { QStringLiteral("Bearbeiten"), QStringLiteral("&Bearbeiten") },
        { QStringLiteral("Ansicht"), QStringLiteral("&Ansicht") },
        { QStringLiteral("Fenster"), QStringLiteral("&Fenster") },
        { QStringLiteral("mi?"), QStringLiteral("&?") },
        { QStringLiteral("mtbHauptleiste"), QStringLiteral("Funktionsleiste") },
        { QStringLiteral("msb"), QStringLiteral("Statuszeile") },
        { QStringLiteral("MDIListe"), QStringLiteral("Fensterliste") },
        { QStringLiteral("mpAnpassenText"), QStringLiteral("Textanzeige") },
        { QStringLiteral("mpAnpassenGröße"), QStringLiteral("Symbolgröße") },
    };
    return titel.value(band, band);
}

QStringList Menuebaender()
{
    return liste({ "Datei", "Bearbeiten", "Ansicht", "Fenster", "mi?" });
}

QStringList Befehlskategorien()
{
    return Menuebaender() << QStringLiteral("mtbHauptleiste");
}

QList<const Befehl*> Kategoriebefehle(const QString& kategorie)
{
    QList<const Befehl*> befehle;
    for (const Befehl& b : Befehlstabelle()) {
        if (b.band == kategorie && b.ziel != Befehlsziel::Historie)
            befehle.append(&b);
    }
    return befehle;
}

QString Hauptleistendefinition()
{
    struct Knopf {
        const char* name;
        const char* text;
        const char* beschreibung; // nullptr: the command's own
    };
    static const Knopf knoepfe[] = {
        { "dateineu", "Neu", nullptr },
        { "dateiöffnen", "Öffnen", nullptr },
        { "dateispeichern", "Speichern", nullptr },
        { nullptr, nullptr, nullptr },
        { "transaktionbeginnen", "Transaktion", nullptr },
        { "transaktionupdate", "Update", nullptr },
        { "transaktionrollback", "Rollback", nullptr },
        { nullptr, nullptr, nullptr },
        { "bearbeitenstrukturgenerator", "Strukturen", nullptr },
        { "dateisichern", "Sichern", nullptr },
        { "ansichtschriftfenster", "Schrift", nullptr },
        { "ansichtoptionen", "Optionen", "Allgemeine Einstellungen" },
        { nullptr, nullptr, nullptr },
        { "Ende", "Ende", nullptr },
    };
    QStringList eintraege;
    for (const Knopf& k : knoepfe) {
        if (!k.name) {
            eintraege.append(QString());
            continue;
        }
        const Befehl* b = FindeBefehl(QString::fromUtf8(k.name));
        const QString beschreibung
            = k.beschreibung ? QString::fromUtf8(k.beschreibung) : b->beschreibung;
        // The menus carry the shortcuts; the same key on two actions would fire neither.
        eintraege.append(b->name + QLatin1Char(';') + QString::fromUtf8(k.text) + QLatin1Char(';')
            + b->symbol + QLatin1Char(';') + beschreibung + QLatin1Char(';'));
    }
    return eintraege.join(QLatin1Char('|'));
}

QString Historienname(int nummer)
{
    return QStringLiteral("Historie%1").arg(nummer, 2, 10, QLatin1Char('0'));
}

int Historiennummer(const QString& name)
{
    if (!name.startsWith(QLatin1String("Historie")) || name.size() != 10)
        return 0;
    bool ok = false;
    const int n = name.right(2).toInt(&ok);
    return ok && n >= 1 && n <= MaxHistorie ? n : 0;
}

int Textanzeigewert(const QString& werkzeug)
{
    const Befehl* b = FindeBefehl(werkzeug);
    return b && b->ziel == Befehlsziel::Textanzeige ? b->id - 1100 : -1;
}

QString TextanzeigeWerkzeug(int wert)
{
    const QStringList werkzeuge = Bandinhalt(QStringLiteral("mpAnpassenText"));
    return wert >= 0 && wert < werkzeuge.size() ? werkzeuge.at(wert) : werkzeuge.constFirst();
}

} // namespace kv
