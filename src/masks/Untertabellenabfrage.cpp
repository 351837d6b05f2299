#include "masks/Untertabellenabfrage.h"

#include "engine/Database.h"
#include "engine/QueryDef.h"
#include "engine/Recordset.h"
#include "tables/SqlNamen.h"

namespace kv {

namespace {

/// The sub-table field in brackets (a name with a hyphen or blank would not survive otherwise),
/// part by part when it names its table; a name the definition already brackets stays.
QString feldausdruck(const QString& name)
{
    const QString n = name.trimmed();
    if (n.contains(u'['))
        return n;
    const qsizetype punkt = n.indexOf(u'.');
    if (punkt < 0)
        return Klammername(n);
    return Klammername(n.left(punkt)) + u'.' + Klammername(n.mid(punkt + 1));
}

} // namespace

const QString& Untertabellenabfrage::parametername()
{
    static const QString name = QStringLiteral("kvHauptwert");
    return name;
}

Untertabellenabfrage::Untertabellenabfrage(
    engine::Database& db, const TabellenelementEinstellungen& e)
    : m_db(db)
{
    m_anweisung = e.sql.trimmed() + QStringLiteral(" WHERE ") + feldausdruck(e.feldUntertabelle)
        + QStringLiteral(" = :") + parametername();
    if (!e.sortierung.trimmed().isEmpty())
        m_anweisung += QStringLiteral(" ORDER BY ") + e.sortierung.trimmed();
}

std::unique_ptr<engine::Recordset> Untertabellenabfrage::oeffne(const QVariant& hauptwert)
{
    // One query per element for the window's life; only the value changes from record to record.
    if (!m_abfrage)
        m_abfrage = &m_db.createQueryDef(QString(), m_anweisung);
    const bool leer = !hauptwert.isValid() || hauptwert.isNull()
        || (hauptwert.metaType().id() == QMetaType::QString && hauptwert.toString().isEmpty());
    // A null value of a real type binds SQL NULL; an invalid QVariant would count as missing.
    m_abfrage->setParameter(
        parametername(), leer ? QVariant(QMetaType(QMetaType::QString)) : hauptwert);
    return m_abfrage->openRecordset(engine::dbOpenDynaset);
}

} // namespace kv
