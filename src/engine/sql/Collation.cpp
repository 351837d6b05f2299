#include "engine/sql/Collation.h"

#include "engine/sql/Dialect.h"
#include "engine/sqlite/SqliteApi.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kv::engine::sql {

const UCollator* germanCollator()
{
    // Opened once; ICU collators may be used from several threads for comparing.
    static const UCollator* collator = [] {
        // The German order is the root order; ß (and capital ẞ) are tailored to equal "ss", as
        // the dialect compares "Straße" and "Strasse" alike.
        UErrorCode status = U_ZERO_ERROR;
        static const UChar rules[] = u"&ss=\u00DF&SS=\u1E9E";
        UCollator* c = ucol_openRules(rules, -1, UCOL_DEFAULT, UCOL_SECONDARY, nullptr, &status);
        if (U_FAILURE(status))
            std::abort();
        return c;
    }();
    return collator;
}

namespace {

// Rank of each printable ASCII character in the collation (upper and lower case share one), so
// that plain ASCII text needs no trip through ICU. 0 marks characters left to ICU.
struct AsciiRanks {
    unsigned char rank[128] = {};
    AsciiRanks()
    {
        std::vector<char> chars;
        for (char c = 0x20; c < 0x7F; ++c)
            chars.push_back(c);
        auto cmp = [](char a, char b) {
            UErrorCode status = U_ZERO_ERROR;
            return ucol_strcollUTF8(germanCollator(), &a, 1, &b, 1, &status);
        };
        std::sort(
            chars.begin(), chars.end(), [&](char a, char b) { return cmp(a, b) == UCOL_LESS; });
        unsigned char r = 1;
        for (size_t i = 0; i < chars.size(); ++i) {
            if (i > 0 && cmp(chars[i - 1], chars[i]) != UCOL_EQUAL)
                ++r;
            rank[static_cast<unsigned char>(chars[i])] = r;
        }
    }
};

int compareIcu(const char* a, int lengthA, const char* b, int lengthB)
{
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(germanCollator(), a, lengthA, b, lengthB, &status);
    if (U_FAILURE(status))
        return lengthA - lengthB;
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

} // namespace

int compareGerman(const char* a, int lengthA, const char* b, int lengthB)
{
    static const AsciiRanks ascii;
    // The first difference of two printable ASCII characters decides (each has one primary
    // weight and no accents); anything else goes to ICU.
    const int n = lengthA < lengthB ? lengthA : lengthB;
    for (int i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca >= 0x80 || cb >= 0x80)
            return compareIcu(a, lengthA, b, lengthB);
        const unsigned char ra = ascii.rank[ca];
        const unsigned char rb = ascii.rank[cb];
        if (ra == 0 || rb == 0)
            return compareIcu(a, lengthA, b, lengthB);
        if (ra != rb)
            return ra < rb ? -1 : 1;
    }
    if (lengthA == lengthB)
        return 0;
    // The longer text decides only when its rest starts plainly; ignorable characters could
    // follow.
    const char* rest = lengthA > lengthB ? a + n : b + n;
    const auto c = static_cast<unsigned char>(*rest);
    if (c >= 0x80 || ascii.rank[c] == 0)
        return compareIcu(a, lengthA, b, lengthB);
    return lengthA < lengthB ? -1 : 1;
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
