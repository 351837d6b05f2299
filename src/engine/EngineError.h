#pragma once

#include <QString>
#include <exception>
#include <string>

namespace kv::engine {

/// Engine error numbers the windows test for. Further numbers are listed where they are thrown;
/// keep this table the single place that names them.
namespace err {
constexpr int DuplicateKey = 3022;
constexpr int NoCurrentRecord = 3021;
constexpr int NotADatabase = 3343;
constexpr int FileNotFound = 3024;
constexpr int FileLocked = 3045;
constexpr int PasswordInvalid = 3031;
constexpr int TooFewParameters = 3061;
constexpr int SyntaxError = 3075;
constexpr int ItemNotFound = 3265;
constexpr int ObjectExists = 3010;
constexpr int ReadOnly = 3027;
constexpr int Required = 3314;
constexpr int ZeroLength = 3315;
constexpr int ValidationRule = 3316;
constexpr int IntegrityChild = 3201; // related record required in the primary table
constexpr int IntegrityParent = 3200; // record has related records
constexpr int InvalidOperation = 3219;
constexpr int TransactionNesting = 3034; // transaction nesting / commit without BeginTrans
constexpr int Generic = 3000;
} // namespace err

/// Every failure of the engine. number is the engine error number, description German text.
class EngineError : public std::exception {
public:
    EngineError(int number, QString description);

    int number() const noexcept { return m_number; }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    int m_number;
    QString m_description;
    std::string m_what;
};

} // namespace kv::engine
