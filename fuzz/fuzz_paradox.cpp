// libFuzzer target for the Paradox reader: the first four bytes give the length of the table
// part, the rest is its blob file. Any input either reads to the end or is refused with IsamError.

#include "FuzzDatei.h"
#include "engine/isam/ParadoxTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kv::fuzz;
    const auto t = teile(data, size);
    if (!t)
        return 0;
    QFile::remove(fuzzOrdner() + QStringLiteral("/T.MB"));
    const QString path
        = schreibe(QStringLiteral("T.DB"), t->tabelle.constData(), t->tabelle.size());
    if (!t->begleiter.isEmpty())
        schreibe(QStringLiteral("T.MB"), t->begleiter.constData(), t->begleiter.size());
    versuche([&] { liesAlles(*kv::engine::isam::ParadoxTable::open(path)); });
    return 0;
}
