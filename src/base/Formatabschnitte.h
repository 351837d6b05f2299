#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace kv::formatdetail {

/// Splits a format at ";" outside quoted literals and backslash escapes.
QStringList teileAbschnitte(const QString& format);

/// When format[i] opens a literal ("text" or \x), appends its text to literal, moves i past it
/// and returns true.
bool leseLiteral(const QString& format, qsizetype& i, QString& literal);

/// True when treffer(format, i) holds at some position i outside the literals.
bool findeAusserhalbLiteralen(
    const QString& format, const std::function<bool(const QString&, qsizetype)>& treffer);

} // namespace kv::formatdetail
