// libFuzzer target for the table-view definition reader: any bytes read as a Windows-1252 file
// give a definition, and what the writer makes of it reads back to the same definition.

#include "Kanonisch.h"
#include "base/Windows1252.h"
#include "tables/Tabellendefinitionsformat.h"

#include <QByteArray>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = kv::ausWindows1252(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    const kv::Tabellendefinition gelesen = kv::leseTabellendefinition(text).definition;
    const QString geschrieben = kv::tabellendefinitionstext(gelesen);
    const kv::Tabellendefinition wieder = kv::leseTabellendefinition(geschrieben).definition;
    pruefeKanonisch(geschrieben, kv::tabellendefinitionstext(wieder));
    return 0;
}
