// libFuzzer target for the Jet reader (header checks, mdbtools, query rebuilding): any input
// either reads to the end or is refused with IsamError.

#include "FuzzDatei.h"
#include "engine/isam/MdbDatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kv::fuzz;
    versuche([&] {
        kv::engine::isam::MdbDatabase db(
            schreibe(QStringLiteral("T.mdb"), reinterpret_cast<const char*>(data), size));
        liesAlles(db);
        for (const QString& t : db.tableNames())
            (void)db.indexes(t);
        (void)db.relations();
        (void)db.queries();
    });
    return 0;
}
