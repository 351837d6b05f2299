#include "shell/Zentraleliste.h"

#include "base/Format.h"
#include "base/Pfade.h"
#include "engine/DataType.h"
#include "engine/Database.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Einstellungen.h"
#include "shell/Statustext.h"
#include "tables/Definitionsdatei.h"

#include <algorithm>

namespace kv {

namespace {

const QString Schalterendung = QStringLiteral("ZentraleAnzeigen");

/// Names in the order the user finds them: case-insensitive, whatever order the catalog or the
/// folder (its order is the file system's on this platform) delivers.
bool namensfolge(const QString& a, const QString& b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

void platzhalterWennLeer(QList<Zentralezeile>& zeilen, qsizetype vorher, Zeilenart art)
{
    if (zeilen.size() == vorher)
        zeilen.append(
            { art, QStringLiteral("<noch keine ") + objektwort(art) + QStringLiteral(" vorhanden>"),
                QString() });
}

/// Restores the status line however the refresh ends.
struct StatusWarten {
    StatusWarten() { Statustext(QStringLiteral("Bitte warten...")); }
    ~StatusWarten() { Statustext(); }
    StatusWarten(const StatusWarten&) = delete;
    StatusWarten& operator=(const StatusWarten&) = delete;
};

} // namespace

QString zeilenartText(Zeilenart art)
{
    switch (art) {
    case Zeilenart::StandardMaske:
        return QStringLiteral("Standard-Maske");
    case Zeilenart::StandardTabelle:
        return QStringLiteral("Standard-Tabelle");
    case Zeilenart::BenutzerMaske:
        return QStringLiteral("Benutzer-Maske");
    case Zeilenart::BenutzerTabelle:
        return QStringLiteral("Benutzer-Tabelle");
    case Zeilenart::Abfrage:
        break;
    }
    return QStringLiteral("Tabellen-Abfrage");
}

QString objektwort(Zeilenart art)
{
    if (art == Zeilenart::Abfrage)
        return QStringLiteral("Tabellen-Abfrage");
    return istMaske(art) ? QStringLiteral("Maske") : QStringLiteral("Tabelle");
}

bool istMaske(Zeilenart art)
{
    return art == Zeilenart::StandardMaske || art == Zeilenart::BenutzerMaske;
}

bool istBenutzer(Zeilenart art)
{
    return art == Zeilenart::BenutzerMaske || art == Zeilenart::BenutzerTabelle;
}

bool istStandard(Zeilenart art)
{
    return art == Zeilenart::StandardMaske || art == Zeilenart::StandardTabelle;
}

QString Zentraleschalter::beschriftung(int index)
{
    static const std::array<QString, Anzahl> texte { QStringLiteral("Masken"),
        QStringLiteral("Tabellen"), QStringLiteral("Standard"), QStringLiteral("Benutzer"),
        QStringLiteral("Abfragen") };
    return index >= 0 && index < Anzahl ? texte[static_cast<size_t>(index)] : QString();
}

QString Zentraleschalter::schluessel(int index)
{
    return beschriftung(index) + Schalterendung;
}

QString Zentraleschalter::tooltip(int index)
{
    if (index == 0)
        return QStringLiteral("Datenbankobjekte ") + beschriftung(index)
            + QStringLiteral(" anzeigen, ein-/ausschalten");
    return beschriftung(index) + QStringLiteral("-Datenbankobjekte anzeigen, ein-/ausschalten");
}

Zentraleschalter Zentraleschalter::lesen(const Einstellungen& einstellungen)
{
    Zentraleschalter s;
    for (int i = 0; i < Anzahl; ++i)
        s.an[static_cast<size_t>(i)]
            = einstellungen.leseBool(AbschnittSettings, schluessel(i), true);
    return s;
}

void Zentraleschalter::schreiben(Einstellungen& einstellungen, int index) const
{
    if (index < 0 || index >= Anzahl)
        return;
    einstellungen.schreibe(AbschnittSettings, schluessel(index),
        an[static_cast<size_t>(index)] ? QStringLiteral("1") : QStringLiteral("0"));
}

void Zentraleschalter::schreiben(Einstellungen& einstellungen) const
{
    for (int i = 0; i < Anzahl; ++i)
        schreiben(einstellungen, i);
}

void Zentraleliste::ListenRefresh(engine::Database& db, const QString& datenbankpfad,
    int datenbankTyp, const Zentraleschalter& schalter)
{
    const StatusWarten warten;
    using S = Zentraleschalter;

    QStringList tabellen;
    for (const engine::TableDef* t : db.tableDefs().items()) {
        // Either bit marks a system object.
        if ((t->attributes() & engine::dbSystemObject) == 0)
            tabellen.append(t->name());
    }
    std::sort(tabellen.begin(), tabellen.end(), namensfolge);

    QList<Zentralezeile> zeilen;
    zeilen.reserve(2 * tabellen.size() + 8);
    if (schalter[S::Standard]) {
        for (const Zeilenart art : { Zeilenart::StandardMaske, Zeilenart::StandardTabelle }) {
            if (!schalter[istMaske(art) ? S::Masken : S::Tabellen])
                continue;
            const qsizetype vorher = zeilen.size();
            for (const QString& name : std::as_const(tabellen))
                zeilen.append({ art, name, name });
            platzhalterWennLeer(zeilen, vorher, art);
        }
    }

    const bool benutzerMasken = schalter[S::Benutzer] && schalter[S::Masken];
    const bool benutzerTabellen = schalter[S::Benutzer] && schalter[S::Tabellen];
    if (benutzerMasken || benutzerTabellen) {
        QList<Definitionsdatei> dateien = definitionsdateien(datenbankpfad);
        std::sort(dateien.begin(), dateien.end(),
            [](const Definitionsdatei& a, const Definitionsdatei& b) {
                return namensfolge(a.name, b.name);
            });
        for (const Zeilenart art : { Zeilenart::BenutzerMaske, Zeilenart::BenutzerTabelle }) {
            const bool maske = istMaske(art);
            if (!(maske ? benutzerMasken : benutzerTabellen))
                continue;
            const Definitionsart dart = maske ? Definitionsart::Maske : Definitionsart::Tabelle;
            const qsizetype vorher = zeilen.size();
            for (const Definitionsdatei& d : dateien) {
                if (d.art == dart)
                    zeilen.append({ art,
                        d.name + QStringLiteral(" : ") + definitionstitel(d.pfad, dart), d.pfad });
            }
            platzhalterWennLeer(zeilen, vorher, art);
        }
    }

    if (schalter[S::Abfragen]) {
        const qsizetype vorher = zeilen.size();
        QStringList abfragen;
        for (const engine::QueryDef* q : db.queryDefs().items()) {
            const int typ = q->type();
            if (typ == engine::dbQSelect || typ == engine::dbQCrosstab
                || typ == engine::dbQSetOperation)
                abfragen.append(q->name());
        }
        std::sort(abfragen.begin(), abfragen.end(), namensfolge);
        for (const QString& name : std::as_const(abfragen))
            zeilen.append({ Zeilenart::Abfrage, name, name });
        platzhalterWennLeer(zeilen, vorher, Zeilenart::Abfrage);
    }

    m_zeilen = std::move(zeilen);
    m_hatTabellen = !tabellen.isEmpty();
    m_kopfzeile = kopfzeileFuer(datenbankpfad, db.updatable(), db.version(), datenbankTyp);
}

QString Zentraleliste::kopfzeileFuer(
    const QString& datenbankpfad, bool aenderbar, const QString& version, int datenbankTyp)
{
    QString format;
    if (datenbankTyp == 1) {
        const double v = version.toDouble();
        if (v < 2.0)
            format = QStringLiteral("Access 1.1");
        else if (v < 3.0)
            format = QStringLiteral("Access 2.0");
        else
            format = QStringLiteral("Access 7.0/8.0");
    } else {
        format = IsamTyp(datenbankTyp);
        if (format.endsWith(QLatin1Char(';')))
            format.chop(1);
    }
    return QStringLiteral("Datenbankobjekte aus: ") + Dateiname(datenbankpfad)
        + QStringLiteral("  Änderbar: ") + Format(QVariant(aenderbar), QStringLiteral("yes/no"))
        + QStringLiteral("  Format: ") + format;
}

int Zentraleliste::naechsteMitAnfang(int aktuell, QChar zeichen) const
{
    const int n = static_cast<int>(m_zeilen.size());
    if (n == 0)
        return -1;
    const QString gesucht = QString(zeichen).toUpper();
    const int start = aktuell < 0 || aktuell >= n ? -1 : aktuell;
    for (int schritt = 1; schritt <= n; ++schritt) {
        const int i = (start + schritt) % n;
        if (m_zeilen.at(i).anzeige.left(1).toUpper() == gesucht)
            return i;
    }
    return -1;
}

int Zentraleliste::wiederfinden(const Zentralezeile& vorher, int vorherigePosition) const
{
    const int n = static_cast<int>(m_zeilen.size());
    if (n == 0)
        return -1;
    // A placeholder's key is empty: its kind is enough to find it again.
    for (int i = 0; i < n; ++i) {
        const Zentralezeile& z = m_zeilen.at(i);
        if (z.art == vorher.art && z.schluessel == vorher.schluessel)
            return i;
    }
    return std::clamp(vorherigePosition, 0, n - 1);
}

} // namespace kv
