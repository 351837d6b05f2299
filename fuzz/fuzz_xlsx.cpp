// libFuzzer target for the .xlsx reader (zip parts, shared strings, styles, streamed sheets):
// any input either reads to the end or is refused with IsamError.

#include "FuzzDatei.h"
#include "engine/isam/XlsxWorkbook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kv::fuzz;
    versuche([&] {
        kv::engine::isam::XlsxWorkbook book(
            schreibe(QStringLiteral("T.xlsx"), reinterpret_cast<const char*>(data), size));
        liesAlles(book);
    });
    return 0;
}
