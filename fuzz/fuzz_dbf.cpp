// libFuzzer target for the dBASE/FoxPro reader: the first four bytes give the length of the
// table part, the rest is its memo file (.dbt or .fpt after the lowest bit of the first byte).
// Any input either opens and reads to the end or is refused with IsamError.

#include "FuzzDatei.h"
#include "engine/isam/DbfTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kv::fuzz;
    const auto t = teile(data, size);
    if (!t)
        return 0;
    const bool fox = t->kennung & 1;
    QFile::remove(fuzzOrdner() + QStringLiteral("/T.dbt"));
    QFile::remove(fuzzOrdner() + QStringLiteral("/T.fpt"));
    const QString path
        = schreibe(QStringLiteral("T.dbf"), t->tabelle.constData(), t->tabelle.size());
    if (!t->begleiter.isEmpty())
        schreibe(fox ? QStringLiteral("T.fpt") : QStringLiteral("T.dbt"), t->begleiter.constData(),
            t->begleiter.size());
    versuche([&] { liesAlles(*kv::engine::isam::DbfTable::open(path)); });
    return 0;
}
