// libFuzzer target for the Paradox reader: the first four bytes give the length of the table
// part, the rest is its blob file. Any input either reads to the end or is refused with IsamError.

#include "FuzzDatei.h"
#include "engine/isam/ParadoxTable.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kv::engine::isam;
    if (size < 4)
        return 0;
    uint32_t tableSize = 0;
    memcpy(&tableSize, data, 4);
    data += 4;
    size -= 4;
    tableSize = static_cast<uint32_t>(std::min<size_t>(tableSize, size));
    QFile::remove(kv::fuzz::fuzzOrdner() + QStringLiteral("/T.MB"));
    const QString path = kv::fuzz::schreibe(
        QStringLiteral("T.DB"), reinterpret_cast<const char*>(data), tableSize);
    if (size > tableSize)
        kv::fuzz::schreibe(QStringLiteral("T.MB"), reinterpret_cast<const char*>(data) + tableSize,
            size - tableSize);
    try {
        auto t = ParadoxTable::open(path);
        kv::fuzz::liesAlles(*t);
    } catch (const IsamError&) { }
    return 0;
}
