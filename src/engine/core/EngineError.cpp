#include "engine/core/EngineError.h"

namespace kv::engine {

EngineError::EngineError(int number, QString description, QString details)
    : m_number(number)
    , m_description(std::move(description))
    , m_details(std::move(details))
    , m_what(QString(QString::number(m_number) + QLatin1String(": ") + m_description
          + (m_details.isEmpty() ? QString() : QLatin1String(" [") + m_details + QLatin1Char(']')))
                 .toStdString())
{ }

EngineError EngineError::itemNotFound(const QString& name)
{
    return EngineError(err::ItemNotFound,
        QStringLiteral("Element '%1' in dieser Auflistung nicht gefunden.").arg(name));
}

} // namespace kv::engine
