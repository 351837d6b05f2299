#pragma once

#include "engine/isam/CodePage.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVector>

namespace kv::engine::isam {

/// How the memo fields of a dBASE/FoxPro table point into which memo file.
enum class DbfMemoKind {
    None,
    Dbase3, ///< .DBT, 512-byte blocks, text ends at 0x1A
    Dbase4, ///< .DBT, blocks with a length word (dBASE IV, 5, 7)
    FoxPro, ///< .FPT, blocks with type and length, big-endian
};

/// One field descriptor as the file holds it.
struct DbfFieldDesc {
    QByteArray rawName; ///< as stored, up to the first NUL; decoded once the code page is known
    QString name;
    char type = 'C';
    int offset = 0; ///< byte offset in the record (the delete flag is byte 0)
    int length = 0;
    int decimals = 0;
    unsigned char flags = 0; ///< FoxPro: 0x01 system, 0x02 nullable, 0x04 binary, 0x08 autoinc
    int nullBit = -1; ///< FoxPro: bit in _NullFlags that marks Null
    int lengthBit = -1; ///< FoxPro V/Q: bit in _NullFlags that marks "shorter than the field"
    bool hidden = false; ///< the _NullFlags system field
};

/// The header of a .DBF file. Parsing never trusts a number the file gives: every offset and
/// count is checked against the file size before it is used.
struct DbfHeader {
    unsigned char version = 0x03;
    QDate lastUpdate;
    qint64 recordCount = 0;
    int headerLength = 0;
    int recordLength = 0;
    unsigned char tableFlags = 0;
    unsigned char languageId = 0;
    bool dbase2 = false;
    bool dbase7 = false;
    QByteArray languageDriverName; ///< dBASE 7: "DB866RU0", "DBWINUS0", …
    QVector<DbfFieldDesc> fields;
    int nullFlagsField = -1; ///< index of _NullFlags in fields
    DbfMemoKind memoKind = DbfMemoKind::None;
    QStringList problems; ///< German notes on what was repaired while reading

    bool isVisualFoxPro() const { return version == 0x30 || version == 0x31 || version == 0x32; }
    bool hasMemoFields() const;
    /// The code page the header names, invalid when it names none.
    CodePage declaredCodePage() const;
};

/// Reads the header from the first bytes of the file (at least the header length, or the
/// whole file when it is shorter). Throws IsamError naming path for a file that is no table.
DbfHeader parseDbfHeader(const QByteArray& head, qint64 fileSize, const QString& path);
/// A byte as two upper-case hex digits, for messages ("0x8B").
QString hexByte(unsigned char byte);

/// The header bytes for a new or grown table (dBASE III layout; Visual FoxPro adds the
/// 263-byte container link).
QByteArray buildDbfHeader(const DbfHeader& header, const CodePage& codePage);

} // namespace kv::engine::isam
