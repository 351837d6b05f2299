#pragma once

#include <QString>
#include <exception>
#include <string>

namespace kv::engine::isam {

/// Every failure of a foreign-format driver: the engine error number the callers test
/// (3024 file missing, 3343 damaged or unknown file, 3027 read-only, 3251 not supported,
/// 3163 value does not fit) and a German description that names the file.
class IsamError : public std::exception {
public:
    IsamError(int number, QString description);

    int number() const noexcept { return m_number; }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

    static IsamError fileNotFound(const QString& path);
    /// "Die Datei '…' ist beschädigt oder hat kein gültiges Format (grund)."
    static IsamError damaged(const QString& path, const QString& reason);
    static IsamError readOnly(const QString& path);
    static IsamError notSupported(const QString& path, const QString& what);
    static IsamError ioError(const QString& path, const QString& systemText);

private:
    int m_number;
    QString m_description;
    std::string m_what;
};

namespace isamerr {
constexpr int Generic = 3000;
constexpr int FileNotFound = 3024;
constexpr int ReadOnly = 3027;
constexpr int ObjectExists = 3010;
constexpr int FieldTooSmall = 3163;
constexpr int NotSupported = 3251;
constexpr int NoFields = 3264;
constexpr int ItemNotFound = 3265;
constexpr int NotADatabase = 3343;
constexpr int PasswordInvalid = 3031;
constexpr int RecordDeleted = 3167;
} // namespace isamerr

} // namespace kv::engine::isam
