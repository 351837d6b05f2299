#include "engine/RuleTriggers.h"

#include "engine/Catalog.h"
#include "engine/EngineError.h"
#include "engine/sql/Dialect.h"

namespace kv::engine {

namespace {
QString q(const QString& name)
{
    return Catalog::quote(name);
}

// A German message as SQL literal with our "KVnnnn|" prefix.
QString meldung(int nummer, const QString& text)
{
    QString t = QStringLiteral("KV%1|").arg(nummer) + text;
    t.replace(QLatin1String("'"), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString raise(int nummer, const QString& text, const QString& bedingung)
{
    return QStringLiteral("SELECT RAISE(ABORT, ") + meldung(nummer, text)
        + QStringLiteral(") WHERE ") + bedingung + QStringLiteral(";\n");
}
} // namespace

RuleTriggers::RuleTriggers(QString table, const std::vector<Field>& fields,
    const QList<Index*>& indexes, const QList<Relation*>& relations)
    : m_table(std::move(table))
    , m_fields(fields)
    , m_indexes(indexes)
    , m_relations(relations)
{ }

QString RuleTriggers::expression(const QString& dialectExpression)
{
    return sql::translateExpression(dialectExpression).sql;
}

QString RuleTriggers::ruleCondition(const QString& field, const QString& rule)
{
    // The dialect knows rules written with the field implied (">0 And <100").
    return sql::translateExpression(rule, field).sql;
}

QString RuleTriggers::trigger(const char* suffix, const char* wann, const QString& rumpf) const
{
    if (rumpf.isEmpty())
        return QString();
    return QStringLiteral("CREATE TRIGGER ")
        + q(QStringLiteral("kv_") + m_table + QLatin1Char('_') + QLatin1String(suffix))
        + QLatin1Char(' ') + QLatin1String(wann) + QStringLiteral(" ON ") + q(m_table)
        + QStringLiteral(" FOR EACH ROW BEGIN\n") + rumpf + QStringLiteral("END");
}

QString RuleTriggers::feldPruefungen() const
{
    QString rumpf;
    // The row's new values under the field names, so that rules can name any field.
    QStringList spalten;
    for (const Field& f : m_fields)
        spalten << QStringLiteral("NEW.") + q(f.name()) + QStringLiteral(" AS ") + q(f.name());
    const QString zeile
        = QStringLiteral("(SELECT ") + spalten.join(QStringLiteral(", ")) + QLatin1Char(')');
    QStringList indexFelder;
    for (const Index* ix : m_indexes)
        if (ix->required())
            for (const IndexField& f : ix->fields())
                indexFelder << f.name;
    for (const Field& f : m_fields) {
        const QString neu = QStringLiteral("NEW.") + q(f.name());
        const QString name = m_table + QLatin1Char('.') + f.name();
        if (f.isAutoIncrement())
            continue;
        if (f.required())
            rumpf += raise(err::Required,
                QStringLiteral("Das Feld '%1' darf keinen Nullwert enthalten, da für dieses Feld "
                               "ein Wert erforderlich ist. Geben Sie einen Wert ein.")
                    .arg(name),
                neu + QStringLiteral(" IS NULL"));
        else if (indexFelder.contains(f.name(), Qt::CaseInsensitive))
            rumpf += raise(err::IndexNull,
                QStringLiteral("Der Index oder Primärschlüssel darf keinen Nullwert enthalten "
                               "(Feld '%1').")
                    .arg(name),
                neu + QStringLiteral(" IS NULL"));
        if (datatype::isTextType(f.type()) && !f.allowZeroLength())
            rumpf += raise(err::ZeroLength,
                QStringLiteral("Das Feld '%1' darf keine leere Zeichenfolge enthalten.").arg(name),
                QStringLiteral("typeof(%1) = 'text' AND length(%1) = 0").arg(neu));
        if (f.type() == dbText && f.size() > 0)
            rumpf += raise(err::FieldTooSmall,
                QStringLiteral("Das Feld '%1' ist zu klein für die Datenmenge, die Sie "
                               "hinzufügen wollten (höchstens %2 Zeichen).")
                    .arg(name)
                    .arg(f.size()),
                QStringLiteral("typeof(%1) = 'text' AND length(%1) > %2").arg(neu).arg(f.size()));
        if (!f.validationRule().trimmed().isEmpty()) {
            const QString text = f.validationText().isEmpty()
                ? QStringLiteral("Einer oder mehrere Werte werden durch die Gültigkeitsregel "
                                 "'%1' für '%2' untersagt. Geben Sie einen Wert ein, den der "
                                 "Ausdruck für dieses Feld akzeptiert.")
                      .arg(f.validationRule(), name)
                : f.validationText();
            rumpf += raise(err::ValidationRule, text,
                QStringLiteral("NOT coalesce((SELECT (%1) FROM %2), 1)")
                    .arg(ruleCondition(f.name(), f.validationRule()), zeile));
        }
    }
    return rumpf;
}

namespace {
QString paare(const Relation& r, const QString& links, const QString& rechts, bool kindLinks)
{
    QStringList teile;
    for (const RelationField& f : r.fields()) {
        const QString kind = links + q(kindLinks ? f.foreignName : f.name);
        const QString eltern = rechts + q(kindLinks ? f.name : f.foreignName);
        teile << kind + QStringLiteral(" = ") + eltern;
    }
    return teile.join(QStringLiteral(" AND "));
}

QString nichtNull(const Relation& r, const QString& praefix, bool fremd)
{
    QStringList teile;
    for (const RelationField& f : r.fields())
        teile << praefix + q(fremd ? f.foreignName : f.name) + QStringLiteral(" IS NOT NULL");
    return teile.join(QStringLiteral(" AND "));
}
} // namespace

QString RuleTriggers::kindPruefungen() const
{
    QString rumpf;
    for (const Relation* r : m_relations) {
        if (!r->enforced() || r->foreignTable().compare(m_table, Qt::CaseInsensitive) != 0)
            continue;
        rumpf += raise(err::IntegrityChild,
            QStringLiteral("Sie können keinen Datensatz hinzufügen oder ändern, da ein "
                           "Datensatz in Beziehung in der Tabelle '%1' benötigt wird.")
                .arg(r->table()),
            nichtNull(*r, QStringLiteral("NEW."), true)
                + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM ") + q(r->table())
                + QStringLiteral(" AS p WHERE ")
                + paare(*r, QStringLiteral("NEW."), QStringLiteral("p."), true) + QLatin1Char(')'));
    }
    return rumpf;
}

QStringList RuleTriggers::statements() const
{
    const QString felder = feldPruefungen();
    const QString kind = kindPruefungen();
    QString vorLoeschen, nachLoeschen, vorAendern, nachAendern;
    for (const Relation* r : m_relations) {
        if (!r->enforced() || r->table().compare(m_table, Qt::CaseInsensitive) != 0)
            continue;
        const QString kinder = QStringLiteral("EXISTS (SELECT 1 FROM ") + q(r->foreignTable())
            + QStringLiteral(" AS c WHERE ")
            + paare(*r, QStringLiteral("c."), QStringLiteral("OLD."), true) + QLatin1Char(')');
        const QString text = QStringLiteral("Der Datensatz kann nicht gelöscht oder geändert "
                                            "werden, da die Tabelle '%1' in Beziehung stehende "
                                            "Datensätze enthält.")
                                 .arg(r->foreignTable());
        QStringList geaendert;
        for (const RelationField& f : r->fields())
            geaendert << QStringLiteral("OLD.") + q(f.name) + QStringLiteral(" IS NOT NEW.")
                    + q(f.name);
        const QString schluesselGeaendert
            = QLatin1Char('(') + geaendert.join(QStringLiteral(" OR ")) + QLatin1Char(')');
        if (r->attributes() & dbRelationDeleteCascade)
            nachLoeschen += QStringLiteral("DELETE FROM ") + q(r->foreignTable())
                + QStringLiteral(" WHERE ") + paare(*r, QString(), QStringLiteral("OLD."), true)
                + QStringLiteral(";\n");
        else
            vorLoeschen += raise(err::IntegrityParent, text, kinder);
        if (r->attributes() & dbRelationUpdateCascade) {
            QStringList setzen;
            for (const RelationField& f : r->fields())
                setzen << q(f.foreignName) + QStringLiteral(" = NEW.") + q(f.name);
            nachAendern += QStringLiteral("UPDATE ") + q(r->foreignTable())
                + QStringLiteral(" SET ") + setzen.join(QStringLiteral(", "))
                + QStringLiteral(" WHERE ") + schluesselGeaendert + QStringLiteral(" AND ")
                + paare(*r, QString(), QStringLiteral("OLD."), true) + QStringLiteral(";\n");
        } else {
            vorAendern += raise(
                err::IntegrityParent, text, schluesselGeaendert + QStringLiteral(" AND ") + kinder);
        }
    }
    QStringList liste;
    for (const QString& s :
        { trigger("bi", "BEFORE INSERT", felder + kind),
            trigger("bu", "BEFORE UPDATE", felder + kind + vorAendern),
            trigger("au", "AFTER UPDATE", nachAendern), trigger("bd", "BEFORE DELETE", vorLoeschen),
            trigger("ad", "AFTER DELETE", nachLoeschen) })
        if (!s.isEmpty())
            liste << s;
    return liste;
}

} // namespace kv::engine
