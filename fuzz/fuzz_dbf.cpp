// libFuzzer target for the dBASE/FoxPro reader: the first four bytes give the length of the
// table part, the rest is its memo file (.dbt or .fpt after the lowest bit of the first byte).
// Any input either opens and reads to the end or is refused with IsamError.

#include "FuzzDatei.h"
#include "engine/isam/DbfTable.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kv::engine::isam;
    if (size < 4)
        return 0;
    uint32_t tableSize = 0;
    memcpy(&tableSize, data, 4);
    const bool fox = data[0] & 1;
    data += 4;
    size -= 4;
    tableSize = static_cast<uint32_t>(std::min<size_t>(tableSize, size));
    QFile::remove(kv::fuzz::fuzzOrdner() + QStringLiteral("/T.dbt"));
    QFile::remove(kv::fuzz::fuzzOrdner() + QStringLiteral("/T.fpt"));
    const QString path = kv::fuzz::schreibe(
        QStringLiteral("T.dbf"), reinterpret_cast<const char*>(data), tableSize);
    if (size > tableSize)
        kv::fuzz::schreibe(fox ? QStringLiteral("T.fpt") : QStringLiteral("T.dbt"),
            reinterpret_cast<const char*>(data) + tableSize, size - tableSize);
    try {
        auto t = DbfTable::open(path);
        kv::fuzz::liesAlles(*t);
    } catch (const IsamError&) { }
    return 0;
}
