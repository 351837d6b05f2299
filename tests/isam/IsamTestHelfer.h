#pragma once

#include "engine/isam/IsamTable.h"
#include "testutils/TempDir.h"

#include <QDateTime>
#include <QString>
#include <QtTest>

namespace kv::test {

/// A file of the shared test data; the test is skipped when the data is not there.
inline QString testdaten(const QString& relativ)
{
    return qEnvironmentVariable("KV_TESTDATA") + QLatin1Char('/') + relativ;
}

/// All rows a fresh cursor yields, in file order.
inline QVector<engine::isam::IsamRow> alleZeilen(
    engine::isam::IsamTable& t, bool geloeschte = false)
{
    QVector<engine::isam::IsamRow> zeilen;
    auto c = t.openCursor(geloeschte);
    while (c->next()) {
        engine::isam::IsamRow r;
        for (int i = 0; i < t.fields().size(); ++i)
            r.append(c->value(i));
        zeilen.append(r);
    }
    return zeilen;
}

inline int spalte(const engine::isam::IsamTable& t, const QString& name)
{
    for (int i = 0; i < t.fields().size(); ++i)
        if (t.fields()[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

inline QStringList feldnamen(const engine::isam::IsamTable& t)
{
    QStringList n;
    for (const auto& f : t.fields())
        n.append(f.name);
    return n;
}

inline QDateTime tag(int j, int m, int t, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(j, m, t), QTime(h, mi, s));
}

} // namespace kv::test
