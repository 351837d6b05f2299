#include "engine/isam/IsamTable.h"

#include "engine/isam/IsamError.h"
#include "engine/isam/StorageDate.h"

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

QVariant driverValue(const QVariant& stored, int type)
{
    if ((type == dbDate || type == dbTime || type == dbTimeStamp)
        && stored.typeId() == QMetaType::QString)
        return stored;
    return datatype::fromStorage(stored, type);
}

bool dateOfValue(const QVariant& value, QDate& date, int& msOfDay)
{
    if (!value.isValid() || value.isNull())
        return false;
    if (value.typeId() == QMetaType::QDate) {
        date = value.toDate();
        msOfDay = 0;
        return date.isValid();
    }
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        const bool withTime = text.size() == 19;
        bool ok = (text.size() == 10 || withTime) && text[4] == QLatin1Char('-')
            && text[7] == QLatin1Char('-')
            && (!withTime
                || ((text[10] == QLatin1Char(' ') || text[10] == QLatin1Char('T'))
                    && text[13] == QLatin1Char(':') && text[16] == QLatin1Char(':')));
        auto digits = [&](int from, int count) {
            int v = 0;
            for (int i = from; ok && i < from + count; ++i) {
                const QChar c = text[i];
                ok = c.isDigit();
                v = v * 10 + c.digitValue();
            }
            return v;
        };
        const int y = digits(0, 4);
        const int m = digits(5, 2);
        const int d = digits(8, 2);
        const int h = withTime ? digits(11, 2) : 0;
        const int mi = withTime ? digits(14, 2) : 0;
        const int s = withTime ? digits(17, 2) : 0;
        const QTime time(h, mi, s);
        if (ok && QDate::isValid(y, m, d) && time.isValid()) {
            date = QDate(y, m, d);
            msOfDay = time.msecsSinceStartOfDay();
            return true;
        }
    }
    const QDateTime dt = value.toDateTime();
    if (!dt.isValid())
        return false;
    date = dt.date();
    msOfDay = dt.time().msecsSinceStartOfDay();
    return true;
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

void IsamTable::reportIssue(const ValueIssue& issue) const
{
    if (!m_issueSink)
        return;
    const int type
        = issue.field >= 0 && issue.field < m_fields.size() ? m_fields[issue.field].type : 0;
    if (issue.source.typeId() == QMetaType::QString
        && (type == dbDate || type == dbTime || type == dbTimeStamp)) {
        ValueIssue shown = issue;
        shown.source = datatype::fromStorage(issue.source, type);
        return m_issueSink(shown);
    }
    m_issueSink(issue);
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
