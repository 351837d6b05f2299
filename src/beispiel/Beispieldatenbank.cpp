#include "beispiel/Beispieldatenbank.h"

#include "beispiel/Beispieldaten.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"

#include <QDir>
#include <QFile>
#include <initializer_list>
#include <utility>

namespace kv {

namespace {

using namespace engine;

struct FeldVorlage {
    const char* name;
    int typ;
    int groesse = -1;
    bool zaehler = false;
    bool pflicht = false;
};

struct IndexVorlage {
    const char* name;
    const char* feld;
    bool primaer = false;
    bool eindeutig = false;
};

void legeTabelleAn(Database& db, const char* name, std::initializer_list<FeldVorlage> felder,
    std::initializer_list<IndexVorlage> indizes)
{
    auto t = db.createTableDef(QString::fromUtf8(name));
    for (const FeldVorlage& f : felder) {
        auto feld = t->createField(QString::fromUtf8(f.name), f.typ, f.groesse);
        if (f.zaehler)
            feld->setAttributes(dbFixedField | dbAutoIncrField);
        feld->setRequired(f.pflicht);
        if (f.typ == dbText || f.typ == dbMemo)
            feld->setAllowZeroLength(true);
        t->fields().append(std::move(feld));
    }
    for (const IndexVorlage& i : indizes) {
        auto index = t->createIndex(QString::fromUtf8(i.name));
        index->appendField(QString::fromUtf8(i.feld));
        index->setPrimary(i.primaer);
        index->setUnique(i.eindeutig);
        t->indexes().append(std::move(index));
    }
    db.tableDefs().append(std::move(t));
}

void legeBeziehungAn(Database& db, const char* name, const char* tabelle, const char* feld,
    const char* fremdtabelle, const char* fremdfeld, qint64 attribute)
{
    auto r = db.createRelation(QString::fromUtf8(name), QString::fromUtf8(tabelle),
        QString::fromUtf8(fremdtabelle), attribute);
    r->appendField(QString::fromUtf8(feld), QString::fromUtf8(fremdfeld));
    db.relations().append(std::move(r));
}

void legeSchemaAn(Database& db)
{
    legeTabelleAn(db, "Orte",
        { { "OrtID", dbLong, -1, true }, { "PLZ", dbText, 5, false, true },
            { "Ort", dbText, 50, false, true }, { "Bundesland", dbText, 30 },
            { "Vorwahl", dbText, 8 } },
        { { "PrimaryKey", "OrtID", true }, { "PLZ", "PLZ", false, true } });
    legeTabelleAn(db, "Kunden",
        { { "KundenNr", dbLong, -1, true }, { "Anrede", dbText, 10 }, { "Vorname", dbText, 30 },
            { "Name", dbText, 40, false, true }, { "Straße", dbText, 50 }, { "OrtID", dbLong },
            { "Telefon", dbText, 30 }, { "E-Mail", dbText, 80 }, { "Geburtsdatum", dbDate },
            { "Stammkunde", dbBoolean }, { "Bemerkung", dbMemo } },
        { { "PrimaryKey", "KundenNr", true }, { "Name", "Name" } });
    legeTabelleAn(db, "Artikel",
        { { "ArtikelNr", dbLong, -1, true }, { "Bezeichnung", dbText, 60, false, true },
            { "Preis", dbCurrency }, { "Lagerbestand", dbLong }, { "Bild", dbLongBinary },
            { "Aufnahmedatum", dbDate } },
        { { "PrimaryKey", "ArtikelNr", true }, { "Bezeichnung", "Bezeichnung" } });
    legeTabelleAn(db, "Rechnungen",
        { { "RechnungsNr", dbLong, -1, true }, { "KundenNr", dbLong, -1, false, true },
            { "Rechnungsdatum", dbDate, -1, false, true }, { "Bezahlt", dbBoolean } },
        { { "PrimaryKey", "RechnungsNr", true }, { "Rechnungsdatum", "Rechnungsdatum" } });
    legeTabelleAn(db, "Rechnungspositionen",
        { { "PositionsNr", dbLong, -1, true }, { "RechnungsNr", dbLong, -1, false, true },
            { "ArtikelNr", dbLong, -1, false, true }, { "Menge", dbInteger },
            { "Einzelpreis", dbCurrency } },
        { { "PrimaryKey", "PositionsNr", true } });

    // Enforced throughout; deleting an invoice takes its items along, while customers with
    // invoices and articles on invoices cannot be deleted.
    legeBeziehungAn(db, "OrteKunden", "Orte", "OrtID", "Kunden", "OrtID", 0);
    legeBeziehungAn(db, "KundenRechnungen", "Kunden", "KundenNr", "Rechnungen", "KundenNr", 0);
    legeBeziehungAn(db, "RechnungenRechnungspositionen", "Rechnungen", "RechnungsNr",
        "Rechnungspositionen", "RechnungsNr", dbRelationDeleteCascade);
    legeBeziehungAn(db, "ArtikelRechnungspositionen", "Artikel", "ArtikelNr", "Rechnungspositionen",
        "ArtikelNr", 0);
}

QVariant oderNull(const std::optional<QString>& text)
{
    return text ? QVariant(*text) : QVariant();
}

QVariant waehrung(qint64 cent)
{
    return static_cast<double>(cent) / 100.0;
}

/// Record sets write without going through the dialect, which keeps thousands of rows fast.
void neueZeile(Recordset& rs, std::initializer_list<std::pair<const char*, QVariant>> werte)
{
    rs.addNew();
    for (const auto& [feld, wert] : werte)
        if (wert.isValid())
            rs.setValue(QString::fromUtf8(feld), wert);
    rs.update();
}

void fuelleDaten(Database& db)
{
    const Beispieldaten daten;
    // The counters start at 1 in a new file, so row i gets the key i + 1.
    auto orte = db.openRecordset(QStringLiteral("Orte"));
    for (const BeispielOrt& o : daten.orte())
        neueZeile(*orte,
            { { "PLZ", o.plz }, { "Ort", o.ort }, { "Bundesland", o.bundesland },
                { "Vorwahl", o.vorwahl } });

    auto kunden = db.openRecordset(QStringLiteral("Kunden"));
    for (const BeispielKunde& k : daten.kunden())
        neueZeile(*kunden,
            { { "Anrede", k.anrede }, { "Vorname", k.vorname }, { "Name", k.name },
                { "Straße", k.strasse }, { "OrtID", k.ortIndex + 1 },
                { "Telefon", oderNull(k.telefon) }, { "E-Mail", oderNull(k.email) },
                { "Geburtsdatum", k.geburtsdatum }, { "Stammkunde", k.stammkunde },
                { "Bemerkung", oderNull(k.bemerkung) } });

    auto artikel = db.openRecordset(QStringLiteral("Artikel"));
    for (const BeispielArtikel& a : daten.artikel())
        neueZeile(*artikel,
            { { "Bezeichnung", a.bezeichnung }, { "Preis", waehrung(a.preisCent) },
                { "Lagerbestand", a.lagerbestand },
                { "Bild", a.bild.isEmpty() ? QVariant() : QVariant(a.bild) },
                { "Aufnahmedatum", a.aufnahmedatum } });

    auto rechnungen = db.openRecordset(QStringLiteral("Rechnungen"));
    auto positionen = db.openRecordset(QStringLiteral("Rechnungspositionen"));
    int rechnungsNr = 0;
    for (const BeispielRechnung& r : daten.rechnungen()) {
        neueZeile(*rechnungen,
            { { "KundenNr", r.kundenIndex + 1 }, { "Rechnungsdatum", r.datum },
                { "Bezahlt", r.bezahlt } });
        ++rechnungsNr;
        for (const BeispielPosition& p : r.positionen)
            neueZeile(*positionen,
                { { "RechnungsNr", rechnungsNr }, { "ArtikelNr", p.artikelIndex + 1 },
                    { "Menge", p.menge }, { "Einzelpreis", waehrung(p.einzelpreisCent) } });
    }
}

void legeAbfragenAn(Database& db)
{
    db.createQueryDef(QStringLiteral("Kunden mit Wohnort"),
        QStringLiteral("SELECT Kunden.KundenNr, Kunden.Anrede, Kunden.Vorname, Kunden.Name, "
                       "Kunden.[Straße], Orte.PLZ, Orte.Ort FROM Kunden INNER JOIN Orte ON "
                       "Kunden.OrtID = Orte.OrtID ORDER BY Kunden.Name, Kunden.Vorname"));
    db.createQueryDef(QStringLiteral("Rechnungen eines Kunden"),
        QStringLiteral("PARAMETERS [Kundennummer] Long; SELECT Rechnungen.RechnungsNr, "
                       "Rechnungen.Rechnungsdatum, Rechnungen.Bezahlt, "
                       "Sum([Menge]*[Einzelpreis]) AS Betrag FROM Rechnungen INNER JOIN "
                       "Rechnungspositionen ON Rechnungen.RechnungsNr = "
                       "Rechnungspositionen.RechnungsNr WHERE Rechnungen.KundenNr = "
                       "[Kundennummer] GROUP BY Rechnungen.RechnungsNr, "
                       "Rechnungen.Rechnungsdatum, Rechnungen.Bezahlt"));
    db.createQueryDef(QStringLiteral("Umsatz je Artikel und Jahr"),
        QStringLiteral("TRANSFORM Sum([Menge]*[Einzelpreis]) AS Umsatz SELECT "
                       "Artikel.Bezeichnung FROM (Artikel INNER JOIN Rechnungspositionen ON "
                       "Artikel.ArtikelNr = Rechnungspositionen.ArtikelNr) INNER JOIN Rechnungen "
                       "ON Rechnungspositionen.RechnungsNr = Rechnungen.RechnungsNr GROUP BY "
                       "Artikel.Bezeichnung PIVOT Year(Rechnungen.Rechnungsdatum) IN (2021, 2022, "
                       "2023, 2024)"));
    db.createQueryDef(QStringLiteral("Telefonliste"),
        QStringLiteral("SELECT Name & ', ' & Vorname AS Kontakt, Telefon FROM Kunden WHERE "
                       "Stammkunde = True AND Telefon Is Not Null UNION SELECT Ort & ' (Vorwahl)', "
                       "Vorwahl FROM Orte ORDER BY Kontakt"));
    db.createQueryDef(QStringLiteral("Preiserhöhung um drei Prozent"),
        QStringLiteral("UPDATE Artikel SET Preis = Round([Preis]*1.03, 2)"));
}

} // namespace

QString erzeugeBeispieldatenbank(const QString& ordner)
{
    QDir().mkpath(ordner);
    const QString pfad = QDir(ordner).filePath(BeispielDateiname);
    Workspace ws;
    std::unique_ptr<Database> db = ws.createDatabase(pfad);
    try {
        legeSchemaAn(*db);
        ws.beginTrans();
        fuelleDaten(*db);
        ws.commitTrans();
        legeAbfragenAn(*db);
        db->close();
    } catch (...) {
        if (ws.inTransaction())
            ws.rollback();
        db.reset();
        QFile::remove(pfad);
        throw;
    }
    return pfad;
}

} // namespace kv
