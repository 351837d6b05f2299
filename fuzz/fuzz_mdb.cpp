// libFuzzer target for the Jet reader (header checks, mdbtools, query rebuilding): any input
// either reads to the end or is refused with IsamError.
//
// mdbtools is not instrumented, so coverage cannot lead the fuzzer through its page structures,
// and whole files of 64 KB and more make slow inputs whose mutations mostly cut the file apart.
// An input is therefore a short list of changes to one of a few small real databases: the
// first byte picks the database, the second cuts pages off its end, then each four bytes set
// one byte (a 24-bit offset, the value). An input that is itself a Jet file is read as it is,
// which replays the regression files. With KV_FUZZ_SCHREIBE set, the file an input makes is
// kept at that path.

#include "FuzzDatei.h"
#include "engine/isam/MdbDatabase.h"
#include "engine/isam/MdbHeader.h"

#include <QByteArray>
#include <QList>
#include <cstdlib>

#ifndef KV_FUZZ_TESTDATA
#error "KV_FUZZ_TESTDATA must name the shared test data folder"
#endif

namespace {

// Jet 3 and Jet 4, with memos, deleted rows and columns, indexes, relations and queries.
const char* const Vorlagen[] = {
    "mdb/jahlborn_jackcess/delTestV1997.mdb",
    "mdb/jahlborn_jackcess/delColTestV1997.mdb",
    "mdb/jahlborn_jackcess/queryTestV1997.mdb",
    "mdb/jahlborn_jackcess/indexTestV1997.mdb",
    "mdb/jahlborn_jackcess/testV1997.mdb",
    "mdb/jahlborn_jackcess/fixedNumericTestV2000.mdb",
    "mdb/spannm_ucanaccess/password.mdb",
    // Memo and OLE values over chains of pages.
    "mdb/jahlborn_jackcess/test2V1997.mdb",
};

QList<QByteArray>& vorlagen()
{
    static QList<QByteArray> v;
    return v;
}

QByteArray datei(const uint8_t* data, size_t size)
{
    const QByteArray roh(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (roh.mid(4, 15) == "Standard Jet DB" || vorlagen().isEmpty() || size < 2)
        return roh;
    QByteArray f = vorlagen().at(data[0] % vorlagen().size());
    const int seite = f.at(0x14) == 0 ? 2048 : 4096;
    f.chop(std::min<qsizetype>(f.size() - seite, static_cast<qsizetype>(data[1]) * seite));
    for (size_t i = 2; i + 4 <= size; i += 4) {
        const size_t at = (data[i] | data[i + 1] << 8 | data[i + 2] << 16) % f.size();
        f[static_cast<qsizetype>(at)] = static_cast<char>(data[i + 3]);
    }
    return f;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    for (const char* name : Vorlagen) {
        QFile f(QStringLiteral(KV_FUZZ_TESTDATA "/") + QLatin1String(name));
        if (f.open(QIODevice::ReadOnly))
            vorlagen().append(f.readAll());
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kv::fuzz;
    const QByteArray f = datei(data, size);
    if (const char* ziel = getenv("KV_FUZZ_SCHREIBE")) {
        QFile out(QString::fromLocal8Bit(ziel));
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(f);
    }
    versuche([&] {
        // With the password the header holds, so that protected files are read on.
        kv::engine::isam::MdbDatabase db(schreibe(QStringLiteral("T.mdb"), f.constData(), f.size()),
            kv::engine::isam::MdbHeader(f.left(0x80)).password());
        liesAlles(db);
        for (const QString& t : db.tableNames())
            (void)db.indexes(t);
        (void)db.relations();
        (void)db.queries();
    });
    return 0;
}
