#pragma once

#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>

namespace kv::test {

/// Runs a Python snippet (another program's reader) with the arguments and returns what it
/// printed as JSON; a null document when python or the module is missing.
inline QJsonDocument pythonJson(const QString& skript, const QStringList& argumente)
{
    // The readers come as Debian packages, so Debian's interpreter, not one found first on PATH.
    const QString python = QFileInfo::exists(QStringLiteral("/usr/bin/python3"))
        ? QStringLiteral("/usr/bin/python3")
        : QStringLiteral("python3");
    QProcess p;
    p.start(python, QStringList { QStringLiteral("-c"), skript } + argumente);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning("%s", p.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput());
}

} // namespace kv::test
