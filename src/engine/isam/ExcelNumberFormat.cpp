#include "engine/isam/ExcelNumberFormat.h"

namespace kv::engine::isam {

bool isDateFormatCode(const QString& format)
{
    const QString trimmed = format.trimmed();
    if (trimmed.compare(u"General", Qt::CaseInsensitive) == 0
        || trimmed.compare(u"Standard", Qt::CaseInsensitive) == 0)
        return false;
    // Only the first section counts (the one for positive numbers); quoted text, escaped
    // characters, fill and padding characters and bracketed colours or locales are no date
    // parts, but an elapsed-time bracket such as [h] is.
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i].toLower();
        if (c == u';')
            return false;
        if (c == u'"') {
            const qsizetype end = format.indexOf(u'"', i + 1);
            if (end < 0)
                return false;
            i = end;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype end = format.indexOf(u']', i + 1);
            if (end < 0)
                return false;
            const QString inner = format.mid(i + 1, end - i - 1).toLower();
            if (!inner.isEmpty() && inner.count(inner[0]) == inner.size()
                && (inner[0] == u'h' || inner[0] == u'm' || inner[0] == u's'))
                return true;
            i = end;
        } else if (c == u'd' || c == u'm' || c == u'y' || c == u'h' || c == u's') {
            return true;
        }
    }
    return false;
}

bool isBuiltInDateFormat(int index)
{
    return (index >= 14 && index <= 22) || (index >= 45 && index <= 47)
        || (index >= 27 && index <= 36) || (index >= 50 && index <= 58);
}

} // namespace kv::engine::isam
