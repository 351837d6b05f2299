// libFuzzer target for the .xls reader (container, records and the sheet typing): any input
// either reads to the end or is refused with IsamError.

#include "FuzzDatei.h"
#include "engine/isam/XlsWorkbook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kv::fuzz;
    const QString path
        = schreibe(QStringLiteral("T.xls"), reinterpret_cast<const char*>(data), size);
    versuche([&] {
        kv::engine::isam::XlsWorkbook book(path);
        liesAlles(book);
    });
    return 0;
}
