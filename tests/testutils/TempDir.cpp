#include "testutils/TempDir.h"

#include <QtGlobal>

namespace kv::test {

QString testdataDir()
{
    return qEnvironmentVariable("KV_TESTDATA");
}

} // namespace kv::test
