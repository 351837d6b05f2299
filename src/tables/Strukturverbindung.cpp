// The structure editor's import of a field list and its external connection.

#include "tables/Strukturbearbeitung.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "engine/Database.h"
#include "engine/Workspace.h"
#include "tables/EindeutigeNamen.h"
#include "tables/Engineschritt.h"
#include "tables/Feldersetzung.h"

namespace kv {

using namespace engine;

namespace {

/// "Fehler beim Öffnen der Import-…!" with number and text on one line.
void importfehler(const QString& satz, const EngineError& e)
{
    zeigeMeldung(satz + Zeilenumbruch + Zeilenumbruch + QStringLiteral("Nr: ")
        + QString::number(e.number()) + QStringLiteral(" Beschreibung: ") + e.description());
}

const QString Verfuegbarkeitshinweis
    = QStringLiteral("Bitte beachten Sie, dass dadurch alle bisher verfügbaren\n"
                     "Datenfelder und Dateninhalte in der internen Tabelle nicht\n"
                     "mehr verfügbar sind.");

} // namespace

bool Strukturbearbeitung::importiereStruktur(const QString& pfad, const QString& quelltabelle)
{
    std::unique_ptr<Database> quelle;
    try {
        quelle = m_db.workspace()->openDatabase(pfad, false, true);
    } catch (const EngineError& e) {
        importfehler(QStringLiteral("Fehler beim Öffnen der Import-Datenbank!"), e);
        return false;
    }
    QList<Field*> felder;
    try {
        felder = quelle->tableDefs().item(quelltabelle).fields().items();
    } catch (const EngineError& e) {
        importfehler(QStringLiteral("Fehler beim Öffnen der Import-Tabelle!"), e);
        return false;
    }

    QStringList namen;
    bool hatZaehler = false;
    for (const Field* f : tabelle().fields().items()) {
        namen << f->name();
        hatZaehler = hatZaehler || f->isAutoIncrement();
    }
    std::vector<std::unique_ptr<Field>> kopien;
    for (const Field* f : felder) {
        auto kopie = feldkopie(tabelle(), *f);
        // A name the table has already would be refused; a second counter too.
        if (namen.contains(f->name(), Qt::CaseInsensitive))
            kopie->setName(eindeutigerFeldname(f->name(), namen).value_or(f->name()));
        if (kopie->isAutoIncrement() && hatZaehler)
            kopie->setAttributes(kopie->attributes() & ~dbAutoIncrField);
        hatZaehler = hatZaehler || kopie->isAutoIncrement();
        kopie->setOrdinalPosition(0); // after the existing fields
        namen << kopie->name();
        kopien.push_back(std::move(kopie));
    }
    quelle->close();
    if (kopien.empty())
        return false;

    if (m_neu) {
        for (auto& kopie : kopien)
            m_neu->fields().append(std::move(kopie));
        const std::optional<QString> name = freierTabellenname(m_name);
        if (!name)
            return false;
        m_neu->setName(*name);
        m_name = *name;
        try {
            m_db.tableDefs().append(std::move(m_neu));
        } catch (const EngineError& e) {
            m_neu = m_db.createTableDef(m_name);
            zeigeFehler(QStringLiteral("Fehler beim Erzeugen der neuen Tabelle!"), e.number(),
                e.description(), Fehlerkennung::Fehler);
            return false;
        }
    } else {
        for (auto& kopie : kopien)
            if (!engineschritt(QStringLiteral("Fehler beim Hinzufügen des Feldes!"),
                    [&] { tabelle().fields().append(std::move(kopie)); }))
                break;
    }
    laden();
    return true;
}

QString Strukturbearbeitung::verbindungsinfo() const
{
    if (!extern_())
        return QStringLiteral("Es ist momentan keine externe Verbindung festgelegt.");
    const TableDef& t = tabelle();
    return QStringLiteral("Es ist momentan die folgende Verbindung festgelegt:") + Zeilenumbruch
        + QStringLiteral("Tabelle: ") + t.sourceTableName() + QStringLiteral(" Verbindung: ")
        + t.connect() + Zeilenumbruch
        + QStringLiteral("Die Daten werden aus der externen Tabelle bzw. Datenbank") + Zeilenumbruch
        + QStringLiteral("bearbeitet. Strukturänderungen sind nur in der externen") + Zeilenumbruch
        + QStringLiteral("Datenbank möglich.");
}

QString Strukturbearbeitung::verbindungsknopf() const
{
    return QStringLiteral("Externe Verbindung ")
        + (extern_() ? QStringLiteral("aufheben") : QStringLiteral("festlegen"));
}

bool Strukturbearbeitung::verbindungAufheben()
{
    if (!extern_())
        return false;
    const TableDef& t = tabelle();
    const QString frage = QStringLiteral("Möchten Sie die externe Verbindung") + Zeilenumbruch
        + Zeilenumbruch + QStringLiteral("Tabelle: ") + t.sourceTableName() + Zeilenumbruch
        + QStringLiteral("Verbindung: ") + t.connect() + Zeilenumbruch + Zeilenumbruch
        + QStringLiteral("aufheben?") + Zeilenumbruch + Zeilenumbruch + Verfuegbarkeitshinweis
        + Zeilenumbruch + Zeilenumbruch
        + QStringLiteral("Eine Löschung von Daten findet hierbei nicht statt.") + Zeilenumbruch
        + Zeilenumbruch + QStringLiteral("Die interne Tabelle wird gelöscht und Sie können dann")
        + Zeilenumbruch + QStringLiteral("neue Datenfelder für die dann neue Tabelle erzeugen.")
        + Zeilenumbruch + Zeilenumbruch + QStringLiteral("Möchten Sie jetzt fortfahren?");
    if (zeigeMeldung(frage, QStringLiteral("Externe Verbindung"), Knoepfe::JaNein, Symbol::Frage, 2)
        != Antwort::Ja)
        return false;
    if (!engineschritt(QStringLiteral("Fehler beim Löschen des alten Tabellen-Objektes!"),
            [&] { m_db.tableDefs().remove(m_name); }))
        return false;
    m_neu = m_db.createTableDef(m_name);
    laden();
    return true;
}

bool Strukturbearbeitung::verbindungVorbereiten()
{
    if (extern_() || m_neu)
        return !extern_();
    qint64 anzahl = 0;
    if (!engineschritt(QStringLiteral("Fehler beim Lesen der Tabelle!"),
            [&] { anzahl = tabelle().recordCount(); }))
        return false;
    if (anzahl == 0)
        return true;
    const QString frage = QStringLiteral("Achtung! In der bisherigen Tabelle befinden sich Daten.")
        + Zeilenumbruch + Zeilenumbruch + QStringLiteral("Tabelle: ") + m_name + Zeilenumbruch
        + QStringLiteral("Datensätze: ") + QString::number(anzahl) + Zeilenumbruch + Zeilenumbruch
        + QStringLiteral("Möchten Sie diese jetzt löschen?") + Zeilenumbruch + Zeilenumbruch
        + QStringLiteral("Bei dieser Aktion werden die Daten aus der Datenbank gelöscht!")
        + Zeilenumbruch + Zeilenumbruch + Verfuegbarkeitshinweis + Zeilenumbruch + Zeilenumbruch
        + QStringLiteral("Möchten Sie jetzt fortfahren?");
    return zeigeMeldung(
               frage, QStringLiteral("Externe Verbindung"), Knoepfe::JaNein, Symbol::Frage, 2)
        == Antwort::Ja;
}

bool Strukturbearbeitung::verbindungFestlegen(const QString& connect, const QString& quelltabelle)
{
    if (extern_())
        return false;
    // The link is made first under a name of its own, so that the internal table is deleted only
    // once the other database has answered.
    QStringList namen;
    for (const TableDef* t : m_db.tableDefs().items())
        namen << t->name();
    const QString vorlaeufig
        = eindeutigerTabellenname(m_name + QStringLiteral("_extern"), namen).value_or(m_name);
    const QString einfuegen = QStringLiteral("Fehler beim Einfügen des externen Objektes!");
    if (!engineschritt(einfuegen, [&] {
            auto verbindung = m_db.createTableDef(vorlaeufig);
            verbindung->setConnect(connect);
            verbindung->setSourceTableName(quelltabelle);
            m_db.tableDefs().append(std::move(verbindung));
        }))
        return false;
    if (!m_neu
        && !engineschritt(QStringLiteral("Fehler beim Löschen des alten Tabellen-Objektes!"),
            [&] { m_db.tableDefs().remove(m_name); })) {
        engineschritt(einfuegen, [&] { m_db.tableDefs().remove(vorlaeufig); });
        return false;
    }
    namen.clear();
    for (const TableDef* t : m_db.tableDefs().items())
        if (t->name().compare(vorlaeufig, Qt::CaseInsensitive) != 0)
            namen << t->name();
    const QString name = eindeutigerTabellenname(m_name, namen).value_or(vorlaeufig);
    m_neu.reset();
    m_name = vorlaeufig;
    if (name != vorlaeufig
        && engineschritt(einfuegen, [&] { m_db.tableDefs().item(vorlaeufig).setName(name); }))
        m_name = name;
    laden();
    return true;
}

} // namespace kv
