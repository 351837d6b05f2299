#pragma once

// Shared by the definition-file fuzz targets: a text written once is canonical, so writing what
// it reads must give it back unchanged. On a difference the first differing lines are printed
// before the abort, so that a finding can be read without a debugger.

#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

inline void pruefeKanonisch(const QString& geschrieben, const QString& wieder)
{
    if (geschrieben == wieder)
        return;
    const QStringList a = geschrieben.split(QStringLiteral("\r\n"));
    const QStringList b = wieder.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        if (a.value(i) != b.value(i)) {
            std::fprintf(stderr, "Zeile %lld\nerst:   %s\nwieder: %s\n", static_cast<long long>(i),
                a.value(i).toUtf8().constData(), b.value(i).toUtf8().constData());
            break;
        }
    }
    std::abort();
}
