#pragma once

#include <QString>
#include <exception>
#include <string>

namespace kv::engine {

/// Engine error numbers. This table is the single place that names them; the numbers follow
/// the old desktop engine where callers test them.
///
/// | number | meaning                                                   |
/// |--------|-----------------------------------------------------------|
/// | 3000   | any other failure (SQLite's message in the description)   |
/// | 3001   | invalid argument (position out of range)                   |
/// | 3010   | object exists already                                      |
/// | 3020   | Update/CancelUpdate/value change without AddNew or Edit    |
/// | 3021   | no current record                                          |
/// | 3022   | duplicate value in a unique index or primary key           |
/// | 3024   | file not found                                             |
/// | 3027   | database or object is read-only                            |
/// | 3031   | password missing or wrong                                  |
/// | 3034   | transaction nesting / commit or rollback without BeginTrans|
/// | 3044   | path is not a file (e.g. a directory)                      |
/// | 3045   | file in use (locked by another process)                    |
/// | 3058   | index or primary key field is Null                         |
/// | 3061   | too few parameters                                         |
/// | 3075   | syntax error in a statement                                |
/// | 3127   | INSERT INTO … SELECT names a field the target lacks        |
/// | 3159   | bookmark not valid for this record set                     |
/// | 3163   | value too long for the field                               |
/// | 3164   | field cannot be updated (calculated or read-only set)      |
/// | 3167   | record is deleted                                          |
/// | 3200   | record has related records (delete/change refused)         |
/// | 3201   | related record required in the primary table               |
/// | 3204   | target database exists already                             |
/// | 3219   | invalid operation (e.g. type change of a stored field)     |
/// | 3251   | operation not supported for this object (read-only set)    |
/// | 3264   | table definition without fields                            |
/// | 3280   | field is part of an index or relation and cannot be deleted|
/// | 3314   | required field is Null                                     |
/// | 3315   | zero-length string not allowed                             |
/// | 3316   | validation rule violated (description = validation text)   |
/// | 3343   | not a database / damaged file                              |
/// | 3265   | item not found in the collection                           |
/// | 3367   | object with that name exists already in the collection     |
/// | 3376   | table or query does not exist                              |
/// | 3464   | a value does not convert to the type it needs (parameter)  |
/// | 3420   | object no longer valid (closed record set or database)     |
namespace err {
constexpr int Generic = 3000;
constexpr int InvalidArgument = 3001;
constexpr int ObjectExists = 3010;
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int NoEdit = 3020;
constexpr int FileNotFound = 3024;
constexpr int ReadOnly = 3027;
constexpr int PasswordInvalid = 3031;
constexpr int TransactionNesting = 3034;
constexpr int InvalidPath = 3044;
constexpr int FileLocked = 3045;
constexpr int TooFewParameters = 3061;
constexpr int SyntaxError = 3075;
constexpr int UnknownAppendField = 3127;
constexpr int IndexNull = 3058;
constexpr int InvalidBookmark = 3159;
constexpr int FieldTooSmall = 3163;
constexpr int FieldNotUpdatable = 3164;
constexpr int RecordDeleted = 3167;
constexpr int IntegrityParent = 3200; // record has related records
constexpr int IntegrityChild = 3201; // related record required in the primary table
constexpr int DatabaseExists = 3204;
constexpr int InvalidOperation = 3219;
constexpr int NotSupported = 3251;
constexpr int ItemNotFound = 3265;
constexpr int NoFields = 3264;
constexpr int FieldInUse = 3280;
constexpr int Required = 3314;
constexpr int ZeroLength = 3315;
constexpr int ValidationRule = 3316;
constexpr int NotADatabase = 3343;
constexpr int NameExists = 3367;
constexpr int NoSuchTable = 3376;
constexpr int TypeMismatch = 3464;
constexpr int ObjectInvalid = 3420;
} // namespace err

/// Every failure of the engine. number is the engine error number, description German text;
/// details holds what the layer below said (SQLite's English words), for a details line or a log.
class EngineError : public std::exception {
public:
    EngineError(int number, QString description, QString details = QString());

    int number() const noexcept { return m_number; }
    const QString& description() const noexcept { return m_description; }
    const QString& details() const noexcept { return m_details; }
    const char* what() const noexcept override { return m_what.c_str(); }

    /// "Element in dieser Auflistung nicht gefunden." with the name.
    static EngineError itemNotFound(const QString& name);

private:
    int m_number;
    QString m_description;
    QString m_details;
    std::string m_what;
};

} // namespace kv::engine
