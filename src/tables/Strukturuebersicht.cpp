#include "tables/Strukturuebersicht.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "base/Format.h"
#include "engine/Database.h"
#include "tables/Engineschritt.h"

namespace kv {

namespace {

QString datum(const QDateTime& zeit)
{
    return zeit.isValid() ? Format(QVariant(zeit)) : QString();
}

void platzhalterWennLeer(QList<Strukturzeile>& zeilen, qsizetype vorher, Strukturgruppe gruppe)
{
    if (zeilen.size() > vorher)
        return;
    const QString art = strukturart(gruppe);
    Strukturzeile z { gruppe,
        { art, QStringLiteral("<noch keine ") + art + QStringLiteral(" vorhanden>") } };
    while (z.spalten.size() < Strukturspalten)
        z.spalten.append(QString());
    zeilen.append(z);
}

} // namespace

bool Strukturzeile::platzhalter() const
{
    return name() == QStringLiteral("<noch keine ") + art() + QStringLiteral(" vorhanden>");
}

QString strukturart(Strukturgruppe gruppe)
{
    switch (gruppe) {
    case Strukturgruppe::Tabellen:
        return QStringLiteral("Tabelle");
    case Strukturgruppe::Abfragen:
        return QStringLiteral("Abfrage");
    case Strukturgruppe::Relationen:
        break;
    }
    return QStringLiteral("Relation");
}

QString strukturbild(Strukturgruppe gruppe)
{
    switch (gruppe) {
    case Strukturgruppe::Tabellen:
        return QStringLiteral("TabelleStandard");
    case Strukturgruppe::Abfragen:
        return QStringLiteral("TabelleAbfragen");
    case Strukturgruppe::Relationen:
        break;
    }
    return QStringLiteral("Relation");
}

void Strukturuebersicht::aufbauen(engine::Database& db)
{
    QList<Strukturzeile> zeilen;
    const QString tabelle = strukturart(Strukturgruppe::Tabellen);
    for (engine::TableDef* t : db.tableDefs().items()) {
        if (t->isSystem())
            continue;
        QString anzahl = QStringLiteral("extern");
        if (!t->isAttached()) {
            try {
                anzahl = QString::number(t->recordCount());
            } catch (const engine::EngineError&) {
                anzahl = QStringLiteral("?");
            }
        }
        zeilen.append({ Strukturgruppe::Tabellen,
            { tabelle, t->name(), anzahl, datum(t->dateCreated()), datum(t->lastUpdated()),
                t->isAttached() ? t->sourceTableName() : QString(),
                t->isAttached() ? t->connect() : QString() },
            t->isAttached() });
    }
    platzhalterWennLeer(zeilen, 0, Strukturgruppe::Tabellen);

    qsizetype vorher = zeilen.size();
    const QString abfrage = strukturart(Strukturgruppe::Abfragen);
    for (engine::QueryDef* q : db.queryDefs().items())
        zeilen.append({ Strukturgruppe::Abfragen,
            { abfrage, q->name(), QString::number(q->type()), datum(q->dateCreated()),
                datum(q->lastUpdated()), QString(), QString() } });
    platzhalterWennLeer(zeilen, vorher, Strukturgruppe::Abfragen);

    vorher = zeilen.size();
    const QString relation = strukturart(Strukturgruppe::Relationen);
    for (engine::Relation* r : db.relations().items())
        zeilen.append({ Strukturgruppe::Relationen,
            { relation, r->name(), QString(), QString(), QString(), QString(), QString() } });
    platzhalterWennLeer(zeilen, vorher, Strukturgruppe::Relationen);

    m_zeilen = std::move(zeilen);
}

bool Strukturuebersicht::loeschen(engine::Database& db, int zeile)
{
    if (zeile < 0 || zeile >= m_zeilen.size() || m_zeilen.at(zeile).platzhalter())
        return false;
    const Strukturzeile z = m_zeilen.at(zeile);
    QString text = QStringLiteral("Möchten Sie das interne ") + z.art()
        + QStringLiteral("-Objekt wirklich löschen?") + Zeilenumbruch + Zeilenumbruch
        + QStringLiteral("Objektname: ") + z.name() + Zeilenumbruch + Zeilenumbruch;
    if (z.extern_)
        text += QStringLiteral("Die Löschung bezieht sich nur auf die interne Verknüpfung")
            + Zeilenumbruch
            + QStringLiteral("und nicht auf die externen Daten selbst. Eventuell vorhandene")
            + Zeilenumbruch + QStringLiteral("externe Daten werden dadurch nicht gelöscht.");
    else
        text += QStringLiteral("Eine Löschung kann nicht mehr rückgängig gemacht werden!")
            + Zeilenumbruch + QStringLiteral("Eventuell vorhandene Daten werden dadurch gelöscht!");
    if (zeigeMeldung(
            text, QStringLiteral("Internes Objekt löschen"), Knoepfe::JaNein, Symbol::Frage, 2)
        != Antwort::Ja)
        return false;
    return engineschritt(QStringLiteral("Fehler beim Löschen des internen Objektes!"), [&] {
        switch (z.gruppe) {
        case Strukturgruppe::Tabellen:
            db.tableDefs().remove(z.name());
            db.tableDefs().refresh();
            break;
        case Strukturgruppe::Abfragen:
            db.queryDefs().remove(z.name());
            db.queryDefs().refresh();
            break;
        case Strukturgruppe::Relationen:
            db.relations().remove(z.name());
            db.relations().refresh();
            break;
        }
    });
}

} // namespace kv
