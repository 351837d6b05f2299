#include "engine/isam/IsamError.h"

#include <QDir>

namespace kv::engine::isam {

IsamError::IsamError(int number, QString description)
    : m_number(number)
    , m_description(std::move(description))
    , m_what(m_description.toStdString())
{ }

IsamError IsamError::fileNotFound(const QString& path)
{
    return IsamError(isamerr::FileNotFound,
        QStringLiteral("Die Datei '%1' wurde nicht gefunden.").arg(QDir::toNativeSeparators(path)));
}

IsamError IsamError::damaged(const QString& path, const QString& reason)
{
    return IsamError(isamerr::NotADatabase,
        QStringLiteral("Die Datei '%1' ist beschädigt oder hat kein gültiges Format (%2).")
            .arg(QDir::toNativeSeparators(path), reason));
}

IsamError IsamError::readOnly(const QString& path)
{
    return IsamError(isamerr::ReadOnly,
        QStringLiteral("Die Datei '%1' kann nur gelesen werden.")
            .arg(QDir::toNativeSeparators(path)));
}

IsamError IsamError::notSupported(const QString& path, const QString& what)
{
    return IsamError(isamerr::NotSupported,
        QStringLiteral("%1 ist für die Datei '%2' nicht möglich.")
            .arg(what, QDir::toNativeSeparators(path)));
}

IsamError IsamError::ioError(const QString& path, const QString& systemText)
{
    return IsamError(isamerr::Generic,
        QStringLiteral("Die Datei '%1' konnte nicht gelesen oder geschrieben werden: %2")
            .arg(QDir::toNativeSeparators(path), systemText));
}

} // namespace kv::engine::isam
