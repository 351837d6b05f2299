#include "engine/cursor/DateCache.h"

namespace kv::engine {

QVariant DateCache::convert(const char* text, int length, int type)
{
    return datatype::fromStorage(QVariant(QString::fromUtf8(text, length)), type);
}

std::vector<std::unique_ptr<DateCache::YearDays>>& DateCache::threadYears()
{
    thread_local std::vector<std::unique_ptr<YearDays>> years(10000);
    return years;
}

} // namespace kv::engine
