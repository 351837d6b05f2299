#include "engine/Field.h"

#include "engine/Catalog.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"

namespace kv::engine {

Field::Field(QString name, int type, int size)
    : m_name(std::move(name))
    , m_type(type)
    , m_size(size < 0 ? datatype::defaultSize(type) : size)
    , m_attributes(
          datatype::isTextType(type) || type == dbLongBinary ? dbVariableField : dbFixedField)
    , m_allowZeroLength(false)
{ }

template <class Change> void Field::change(Change&& aenderung)
{
    if (m_recordset)
        throw EngineError(err::NotSupported,
            QStringLiteral("Die Eigenschaft eines Datensatzgruppen-Feldes kann nicht geändert "
                           "werden."));
    if (!m_table || !m_table->isStored()) {
        aenderung(*this);
        return;
    }
    Field neu = *this;
    aenderung(neu);
    m_table->database()->catalog().updateField(*m_table, *this, neu);
    aenderung(*this);
}

void Field::setName(const QString& name)
{
    change([&](Field& f) { f.m_name = name; });
}

namespace {
void nurNeu(const Field& f)
{
    if (f.table() && f.table()->isStored())
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Typ, Größe und Attribute des gespeicherten Feldes '%1' können nicht "
                           "geändert werden.")
                .arg(f.name()));
}
} // namespace

void Field::setType(int type)
{
    nurNeu(*this);
    change([&](Field& f) {
        f.m_type = type;
        if (type != dbText && type != dbChar && type != dbBinary && type != dbVarBinary)
            f.m_size = datatype::defaultSize(type);
    });
}

void Field::setSize(int size)
{
    nurNeu(*this);
    change([&](Field& f) { f.m_size = size; });
}

void Field::setAttributes(int attributes)
{
    nurNeu(*this);
    change([&](Field& f) { f.m_attributes = attributes; });
}

void Field::setDefaultValue(const QString& expression)
{
    change([&](Field& f) { f.m_defaultValue = expression; });
}

void Field::setRequired(bool required)
{
    change([&](Field& f) { f.m_required = required; });
}

void Field::setAllowZeroLength(bool allow)
{
    change([&](Field& f) { f.m_allowZeroLength = allow; });
}

void Field::setValidationRule(const QString& rule)
{
    change([&](Field& f) { f.m_validationRule = rule; });
}

void Field::setValidationText(const QString& text)
{
    change([&](Field& f) { f.m_validationText = text; });
}

void Field::setOrdinalPosition(int position)
{
    change([&](Field& f) { f.m_ordinalPosition = position; });
}

QVariant Field::value() const
{
    if (!m_recordset)
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Das Feld '%1' gehört zu keiner Datensatzgruppe.").arg(m_name));
    return m_recordset->value(m_column);
}

void Field::setValue(const QVariant& value)
{
    if (!m_recordset)
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Das Feld '%1' gehört zu keiner Datensatzgruppe.").arg(m_name));
    m_recordset->setValue(m_column, value);
}

} // namespace kv::engine
