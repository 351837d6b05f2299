#include "engine/sql/Collation.h"

#include "engine/sql/Dialect.h"

#include <cstdlib>
#include <sqlite3.h>

namespace kv::engine::sql {

const UCollator* germanCollator()
{
    // Opened once; ICU collators may be used from several threads for comparing.
    static const UCollator* collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("de", &status);
        if (U_FAILURE(status))
            std::abort();
        ucol_setStrength(c, UCOL_SECONDARY);
        return c;
    }();
    return collator;
}

int compareGerman(const char* a, int lengthA, const char* b, int lengthB)
{
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(germanCollator(), a, lengthA, b, lengthB, &status);
    if (U_FAILURE(status))
        return lengthA - lengthB;
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

namespace {
int collate(void*, int la, const void* a, int lb, const void* b)
{
    return compareGerman(static_cast<const char*>(a), la, static_cast<const char*>(b), lb);
}
} // namespace

void registerCollation(sqlite3* db)
{
    sqlite3_create_collation(db, CollationName, SQLITE_UTF8, nullptr, &collate);
}

} // namespace kv::engine::sql
