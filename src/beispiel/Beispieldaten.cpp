#include "beispiel/Beispieldaten.h"

#include <QBuffer>
#include <QImage>
#include <QStringList>
#include <cmath>

namespace kv {

namespace {

struct OrtVorlage {
    const char* plz;
    const char* ort;
    const char* bundesland;
    const char* vorwahl;
};

// UTF-8 literals: umlauts in place names are the point of a German demo.
constexpr OrtVorlage k_orte[] = {
    { "10115", "Berlin", "Berlin", "030" },
    { "20095", "Hamburg", "Hamburg", "040" },
    { "80331", "München", "Bayern", "089" },
    { "50667", "Köln", "Nordrhein-Westfalen", "0221" },
    { "60311", "Frankfurt am Main", "Hessen", "069" },
    { "70173", "Stuttgart", "Baden-Württemberg", "0711" },
    { "40213", "Düsseldorf", "Nordrhein-Westfalen", "0211" },
    { "04109", "Leipzig", "Sachsen", "0341" },
    { "44135", "Dortmund", "Nordrhein-Westfalen", "0231" },
    { "45127", "Essen", "Nordrhein-Westfalen", "0201" },
    { "28195", "Bremen", "Bremen", "0421" },
    { "01067", "Dresden", "Sachsen", "0351" },
    { "30159", "Hannover", "Niedersachsen", "0511" },
    { "90402", "Nürnberg", "Bayern", "0911" },
    { "47051", "Duisburg", "Nordrhein-Westfalen", "0203" },
    { "44787", "Bochum", "Nordrhein-Westfalen", "0234" },
    { "42103", "Wuppertal", "Nordrhein-Westfalen", "0202" },
    { "33602", "Bielefeld", "Nordrhein-Westfalen", "0521" },
    { "53111", "Bonn", "Nordrhein-Westfalen", "0228" },
    { "48143", "Münster", "Nordrhein-Westfalen", "0251" },
    { "76133", "Karlsruhe", "Baden-Württemberg", "0721" },
    { "68159", "Mannheim", "Baden-Württemberg", "0621" },
    { "86150", "Augsburg", "Bayern", "0821" },
    { "65183", "Wiesbaden", "Hessen", "0611" },
    { "41061", "Mönchengladbach", "Nordrhein-Westfalen", "02161" },
    { "38100", "Braunschweig", "Niedersachsen", "0531" },
    { "24103", "Kiel", "Schleswig-Holstein", "0431" },
    { "09111", "Chemnitz", "Sachsen", "0371" },
    { "06108", "Halle (Saale)", "Sachsen-Anhalt", "0345" },
    { "39104", "Magdeburg", "Sachsen-Anhalt", "0391" },
    { "79098", "Freiburg im Breisgau", "Baden-Württemberg", "0761" },
    { "47798", "Krefeld", "Nordrhein-Westfalen", "02151" },
    { "23552", "Lübeck", "Schleswig-Holstein", "0451" },
    { "26122", "Oldenburg", "Niedersachsen", "0441" },
    { "55116", "Mainz", "Rheinland-Pfalz", "06131" },
    { "99084", "Erfurt", "Thüringen", "0361" },
    { "18055", "Rostock", "Mecklenburg-Vorpommern", "0381" },
    { "34117", "Kassel", "Hessen", "0561" },
    { "66111", "Saarbrücken", "Saarland", "0681" },
    { "93047", "Regensburg", "Bayern", "0941" },
    { "97070", "Würzburg", "Bayern", "0931" },
    { "89073", "Ulm", "Baden-Württemberg", "0731" },
    { "14467", "Potsdam", "Brandenburg", "0331" },
    { "19053", "Schwerin", "Mecklenburg-Vorpommern", "0385" },
    { "54290", "Trier", "Rheinland-Pfalz", "0651" },
    { "37073", "Göttingen", "Niedersachsen", "0551" },
    { "83022", "Rosenheim", "Bayern", "08031" },
    { "88045", "Friedrichshafen", "Baden-Württemberg", "07541" },
};

QStringList liste(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(','));
}

const QStringList& vornamenWeiblich()
{
    static const QStringList l = liste("Anna,Maria,Ursula,Monika,Petra,Elisabeth,Sabine,Renate,"
                                       "Helga,Karin,Brigitte,Ingrid,Erika,Andrea,Gisela,Claudia,"
                                       "Susanne,Gabriele,Christa,Christine,Hildegard,Birgit,Julia,"
                                       "Lena,Sophie,Hannah,Lotte,Lea,Jana,Käthe,Bärbel,Ute,Doris,"
                                       "Heike,Katrin,Nicole,Stefanie,Sandra,Martina,Jutta");
    return l;
}

const QStringList& vornamenMaennlich()
{
    static const QStringList l = liste("Peter,Michael,Thomas,Andreas,Wolfgang,Klaus,Jürgen,"
                                       "Günter,Stefan,Christian,Uwe,Werner,Horst,Frank,Dieter,"
                                       "Manfred,Gerhard,Hans,Bernd,Torsten,Matthias,Jörg,Ralf,"
                                       "Sebastian,Lukas,Jonas,Felix,Maximilian,Björn,Sören,Jens,"
                                       "Karl-Heinz,Hans-Peter,Rüdiger,Götz,Helmut,Heinz,Walter");
    return l;
}

const QStringList& nachnamen()
{
    static const QStringList l = liste(
        "Müller,Schmidt,Schneider,Fischer,Weber,Meyer,Wagner,Becker,Schulz,Hoffmann,Schäfer,"
        "Koch,Bauer,Richter,Klein,Wolf,Schröder,Neumann,Schwarz,Zimmermann,Braun,Krüger,Hofmann,"
        "Hartmann,Lange,Schmitt,Werner,Schmitz,Krause,Meier,Lehmann,Schmid,Schulze,Maier,Köhler,"
        "Herrmann,König,Walter,Mayer,Huber,Kaiser,Fuchs,Peters,Lang,Scholz,Möller,Weiß,Jung,"
        "Hahn,Schubert,Vogel,Friedrich,Keller,Günther,Frank,Berger,Winkler,Roth,Beck,Lorenz,"
        "Baumann,Franke,Albrecht,Schuster,Simon,Ludwig,Böhm,Winter,Kraus,Martin,Schumacher,"
        "Krämer,Vogt,Stein,Jäger,Otto,Sommer,Groß,Seidel,Heinrich,Brandt,Haas,Schreiber,Graf,"
        "Schulte,Dietrich,Ziegler,Kuhn,Kühn,Pohl,Engel,Horn,Busch,Bergmann,Thomas,Voigt,Sauer,"
        "Arnold,Wolff,Pfeiffer,Ößwald,Dürr,Büttner,Gärtner,Löffler");
    return l;
}

const QStringList& strassen()
{
    static const QStringList l = liste(
        "Hauptstraße,Schulstraße,Gartenstraße,Bahnhofstraße,Dorfstraße,Bergstraße,Birkenweg,"
        "Lindenstraße,Kirchstraße,Waldstraße,Ringstraße,Schillerstraße,Goethestraße,Mühlenweg,"
        "Am Markt,Rosenweg,Feldstraße,Jahnstraße,Wiesenweg,Ahornweg,Buchenweg,Eichendorffstraße,"
        "Friedrich-Ebert-Straße,Am Sportplatz,Blumenstraße,Mozartstraße,Parkstraße,Talstraße,"
        "Uhlandstraße,Am Bach,Kastanienallee,Königsallee,Südring,Nördliche Ringstraße,"
        "Grüner Weg,Lessingstraße,Bismarckstraße,Brückenstraße,Marktplatz,Rathausplatz");
    return l;
}

const QStringList& emailAnbieter()
{
    static const QStringList l
        = liste("beispiel.de,post-beispiel.de,mail-beispiel.de,beispielnetz.de,example.org");
    return l;
}

const QStringList& bemerkungen()
{
    static const QStringList l = QString::fromUtf8(
        "Lieferung bitte nur vormittags.|Zahlt immer pünktlich per Überweisung.|"
        "Wünscht Rechnungen per E-Mail.|Hinterhaus, 2. Stock, bitte zweimal klingeln.|"
        "Sammelt Prospekte – Katalog jedes Frühjahr zuschicken.|"
        "Kontakt über die Tochter; Rückruf nach 18 Uhr.\nTelefon tagsüber selten "
        "erreichbar.|Möchte keine Werbung erhalten.|Ehemaliger Mitarbeiter, 10 % Rabatt.|"
        "Großabnehmer für Büromaterial (Vereinsheim).|Adresse geprüft am Jahresanfang.")
                                     .split(QLatin1Char('|'));
    return l;
}

struct ArtikelVorlage {
    const char* name;
    int preisCent;
};

constexpr ArtikelVorlage k_artikel[] = {
    { "Kugelschreiber", 129 },
    { "Füllfederhalter", 1995 },
    { "Bleistift HB", 49 },
    { "Radiergummi", 79 },
    { "Spitzer mit Behälter", 249 },
    { "Textmarker", 149 },
    { "Schreibblock A4 kariert", 299 },
    { "Schreibblock A5 liniert", 199 },
    { "Collegeblock", 349 },
    { "Aktenordner breit", 399 },
    { "Aktenordner schmal", 379 },
    { "Hängeregister", 79 },
    { "Heftgerät", 1299 },
    { "Heftklammern 1000 Stück", 199 },
    { "Locher", 899 },
    { "Klebestift", 179 },
    { "Klebefilm", 159 },
    { "Schere", 599 },
    { "Lineal 30 cm", 119 },
    { "Geodreieck", 229 },
    { "Zirkel", 1499 },
    { "Briefumschläge DIN lang (50)", 449 },
    { "Kopierpapier 500 Blatt", 549 },
    { "Haftnotizen", 249 },
    { "Büroklammern (100)", 99 },
    { "Tischkalender", 899 },
    { "Terminplaner", 1799 },
    { "Stempelkissen", 499 },
    { "Taschenrechner", 1299 },
    { "Schreibtischlampe", 3499 },
    { "Papierkorb", 799 },
    { "Briefablage", 599 },
    { "Whiteboard-Marker", 229 },
    { "Pinnwand", 2499 },
    { "Magnete (12)", 399 },
    { "Druckerpatrone schwarz", 2899 },
    { "Druckerpatrone farbig", 3299 },
    { "USB-Stick 32 GB", 899 },
    { "Maus kabellos", 1999 },
    { "Mauspad", 499 },
};

const QStringList& artikelVarianten()
{
    static const QStringList l = liste("blau,schwarz,rot,grün,gelb,weiß");
    return l;
}

/// ä → ae and so on, for the local part of e-mail addresses.
QString ohneUmlaute(const QString& text)
{
    QString aus;
    for (const QChar c : text.toLower()) {
        switch (c.unicode()) {
        case u'ä':
            aus += QLatin1String("ae");
            break;
        case u'ö':
            aus += QLatin1String("oe");
            break;
        case u'ü':
            aus += QLatin1String("ue");
            break;
        case u'ß':
            aus += QLatin1String("ss");
            break;
        case u' ':
            break;
        default:
            aus += c;
        }
    }
    return aus;
}

} // namespace

Beispieldaten::Beispieldaten(int kunden)
{
    erzeugeOrte();
    erzeugeKunden(kunden);
    erzeugeArtikel();
    erzeugeRechnungen();
}

std::uint64_t Beispieldaten::naechste()
{
    std::uint64_t z = (m_zustand += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int Beispieldaten::zahl(int von, int bis)
{
    const auto spanne = static_cast<std::uint64_t>(bis - von + 1);
    return von + static_cast<int>(naechste() % spanne);
}

bool Beispieldaten::chance(int prozent)
{
    return zahl(0, 99) < prozent;
}

QDate Beispieldaten::datum(const QDate& von, const QDate& bis)
{
    return von.addDays(zahl(0, static_cast<int>(von.daysTo(bis))));
}

void Beispieldaten::erzeugeOrte()
{
    for (const OrtVorlage& o : k_orte)
        m_orte.append({ QString::fromUtf8(o.plz), QString::fromUtf8(o.ort),
            QString::fromUtf8(o.bundesland), QString::fromUtf8(o.vorwahl) });
}

void Beispieldaten::erzeugeKunden(int anzahl)
{
    m_kunden.reserve(anzahl);
    for (int i = 0; i < anzahl; ++i) {
        BeispielKunde k;
        const bool frau = chance(50);
        k.anrede = frau ? QStringLiteral("Frau") : QStringLiteral("Herr");
        k.vorname = wahl(frau ? vornamenWeiblich() : vornamenMaennlich());
        k.name = wahl(nachnamen());
        k.strasse = wahl(strassen()) + QLatin1Char(' ') + QString::number(zahl(1, 140));
        if (chance(8))
            k.strasse += QLatin1Char(static_cast<char>('a' + zahl(0, 3)));
        k.ortIndex = zahl(0, static_cast<int>(m_orte.size()) - 1);
        if (chance(85))
            k.telefon = m_orte.at(k.ortIndex).vorwahl + QLatin1Char(' ')
                + QString::number(zahl(200000, 9999999));
        if (chance(60))
            k.email = ohneUmlaute(k.vorname) + QLatin1Char('.') + ohneUmlaute(k.name)
                + QLatin1Char('@') + wahl(emailAnbieter());
        k.geburtsdatum = datum(QDate(1938, 1, 1), QDate(2005, 12, 31));
        k.stammkunde = chance(30);
        if (chance(12))
            k.bemerkung = wahl(bemerkungen());
        m_kunden.append(k);
    }
}

void Beispieldaten::erzeugeArtikel()
{
    int nummer = 0;
    for (const ArtikelVorlage& a : k_artikel) {
        // Some articles come in colours, each its own row with a slightly different price.
        const int varianten = chance(30) ? zahl(2, 4) : 1;
        for (int v = 0; v < varianten; ++v) {
            BeispielArtikel art;
            art.bezeichnung = QString::fromUtf8(a.name);
            if (varianten > 1)
                art.bezeichnung += QStringLiteral(", ") + artikelVarianten().at(v);
            art.preisCent = a.preisCent + v * 10;
            art.lagerbestand = chance(10) ? 0 : zahl(1, 800);
            if (nummer % 9 == 0)
                art.bild = bild(nummer / 9);
            art.aufnahmedatum = datum(QDate(2015, 1, 1), QDate(2023, 12, 31));
            m_artikel.append(art);
            ++nummer;
        }
    }
}

void Beispieldaten::erzeugeRechnungen()
{
    const int anzahl = static_cast<int>(m_kunden.size()) / 2;
    const int artikel = static_cast<int>(m_artikel.size());
    m_rechnungen.reserve(anzahl);
    for (int i = 0; i < anzahl; ++i) {
        BeispielRechnung r;
        // Regular customers buy more often.
        do
            r.kundenIndex = zahl(0, static_cast<int>(m_kunden.size()) - 1);
        while (!m_kunden.at(r.kundenIndex).stammkunde && chance(40));
        r.datum = datum(QDate(2021, 1, 1), QDate(2024, 12, 31));
        r.bezahlt = r.datum < QDate(2024, 10, 1) || chance(50);
        const int positionen = zahl(1, 6);
        for (int p = 0; p < positionen; ++p) {
            BeispielPosition pos;
            pos.artikelIndex = zahl(0, artikel - 1);
            pos.menge = chance(70) ? zahl(1, 5) : zahl(6, 50);
            pos.einzelpreisCent = m_artikel.at(pos.artikelIndex).preisCent;
            r.positionen.append(pos);
        }
        m_rechnungen.append(r);
    }
}

QByteArray Beispieldaten::bild(int variante)
{
    // A coloured disc on a soft gradient; drawn pixel by pixel so that no painter (and no
    // running application) is needed.
    constexpr int seite = 48;
    static const QRgb farben[] = { qRgb(200, 40, 40), qRgb(30, 110, 200), qRgb(40, 150, 60),
        qRgb(230, 170, 20), qRgb(130, 60, 170), qRgb(20, 150, 150) };
    const QRgb farbe = farben[variante % std::size(farben)];
    QImage b(seite, seite, QImage::Format_RGB32);
    const double mitte = (seite - 1) / 2.0;
    const double radius = seite * (0.25 + 0.03 * (variante % 5));
    for (int y = 0; y < seite; ++y) {
        for (int x = 0; x < seite; ++x) {
            const double abstand = std::hypot(x - mitte, y - mitte);
            if (abstand <= radius) {
                b.setPixel(x, y, farbe);
            } else {
                const int grau = 255 - (x + y) * 40 / (2 * seite);
                b.setPixel(x, y, qRgb(grau, grau, 255 - (x + y) * 20 / (2 * seite)));
            }
        }
    }
    QByteArray png;
    QBuffer puffer(&png);
    puffer.open(QIODevice::WriteOnly);
    b.save(&puffer, "PNG");
    return png;
}

} // namespace kv
