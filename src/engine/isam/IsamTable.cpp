#include "engine/isam/IsamTable.h"

#include "engine/isam/IsamError.h"

namespace kv::engine::isam {

qint64 IsamTable::append(const IsamRow&)
{
    throw IsamError::notSupported(m_path, QStringLiteral("Das Anfügen von Datensätzen"));
}

void IsamTable::update(qint64, const IsamRow&)
{
    throw IsamError::notSupported(m_path, QStringLiteral("Das Ändern von Datensätzen"));
}

void IsamTable::remove(qint64)
{
    throw IsamError::notSupported(m_path, QStringLiteral("Das Löschen von Datensätzen"));
}

void IsamTable::addNotice(const QString& text)
{
    constexpr int MaxNotices = 50;
    if (m_notices.size() < MaxNotices && !m_notices.contains(text))
        m_notices.append(text);
}

std::unique_ptr<IsamTable> IsamDatabase::createTable(const QString&, const IsamFields&)
{
    throw IsamError::notSupported(m_path, QStringLiteral("Das Anlegen von Tabellen"));
}

} // namespace kv::engine::isam
