#pragma once

#include "engine/core/Parameter.h"
#include "engine/sql/Dialect.h"

#include <QList>
#include <QVariant>

namespace kv::engine::sql {

/// value converted to the type a PARAMETERS declaration names (typeName as written:
/// "DateTime", "Long", "Text(50)", …), reading texts the way a German user types them: dates
/// "01.01.2000", numbers "12,5", Booleans "Ja"/"Wahr". An empty text is Null; a type the
/// dialect does not know ("Value") leaves the value as it is. Throws EngineError 3464 with a
/// German description when the value does not convert.
QVariant parameterValue(const QString& name, const QString& typeName, const QVariant& value);

/// The values with each declared parameter's value converted as above.
QList<Parameter> typedParameters(
    const QList<Parameter>& values, const QList<DeclaredParameter>& declared);

} // namespace kv::engine::sql
