#include "engine/isam/IsamTable.h"

#include "engine/isam/IsamError.h"

#include "engine/core/DataType.h"

namespace kv::engine::isam {

void putStored(const QVariant& value, StorageSink& out)
{
    if (!value.isValid() || value.isNull())
        return out.null();
    const int type = value.typeId();
    if (type == QMetaType::Double || type == QMetaType::Float)
        return out.real(value.toDouble());
    if (type == QMetaType::QByteArray) {
        const QByteArray b = value.toByteArray();
        return out.blob(b.constData(), b.size());
    }
    if (type != QMetaType::QString && value.canConvert<qlonglong>())
        return out.integer(value.toLongLong());
    const QByteArray text = value.toString().toUtf8();
    out.text(text.constData(), text.size());
}

void IsamCursor::storedValue(int column, int type, StorageSink& out) const
{
    putStored(datatype::toStorage(value(column), type), out);
}

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
