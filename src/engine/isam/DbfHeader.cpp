#include "engine/isam/DbfHeader.h"

#include "engine/isam/IsamError.h"

#include <QtEndian>

namespace kv::engine::isam {

namespace {

quint16 u16(const QByteArray& b, int at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray& b, int at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

bool knownVersion(unsigned char v)
{
    switch (v) {
    case 0x02: // dBASE II, FoxBase
    case 0x03: // dBASE III/IV/5, FoxPro without memo
    case 0x04: // dBASE 7
    case 0x30: // Visual FoxPro
    case 0x31:
    case 0x32:
    case 0x43: // dBASE IV SQL
    case 0x63:
    case 0x83: // dBASE III with memo
    case 0x8B: // dBASE IV/5 with memo
    case 0x8C: // dBASE 7 with memo
    case 0xCB:
    case 0xE5: // Clipper SIX
    case 0xF5: // FoxPro 2 with memo
    case 0xFB: // FoxBase
        return true;
    default:
        return false;
    }
}

// Many writers keep the year modulo 100, others the years since 1900.
QDate updateDate(unsigned char yy, unsigned char mm, unsigned char dd)
{
    const int year = yy >= 100 ? 1900 + yy : (yy < 80 ? 2000 + yy : 1900 + yy);
    const QDate d(year, mm, dd);
    return d.isValid() ? d : QDate();
}

bool validFieldType(char t)
{
    return QByteArrayView("CNLDMFBGPYTIV@O+0QW").contains(t);
}

} // namespace

QString hexByte(unsigned char byte)
{
    return QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

bool DbfHeader::hasMemoFields() const
{
    for (const DbfFieldDesc& f : fields) {
        if (f.type == 'M' || f.type == 'G' || f.type == 'P' || f.type == 'W'
            || (f.type == 'B' && !isVisualFoxPro()))
            return true;
    }
    return false;
}

CodePage DbfHeader::declaredCodePage() const
{
    if (dbase7 && languageDriverName.startsWith("DB")) {
        // dBASE 7 names its language driver: "DB437US0", "DB850DE0", "DBWINUS0", …
        if (languageDriverName.startsWith("DBWIN"))
            return CodePage::fromNumber(1252);
        bool ok = false;
        const int n = languageDriverName.mid(2, 3).toInt(&ok);
        if (ok) {
            CodePage c = CodePage::fromNumber(n);
            if (c.isValid())
                return c;
        }
    }
    return CodePage::fromDbfLanguageId(languageId);
}

DbfHeader parseDbfHeader(const QByteArray& head, qint64 fileSize, const QString& path)
{
    if (fileSize == 0)
        throw IsamError::damaged(path, QStringLiteral("die Datei ist leer"));
    DbfHeader h;
    h.version = static_cast<unsigned char>(head.at(0));
    if (!knownVersion(h.version))
        throw IsamError::damaged(
            path, QStringLiteral("unbekannte dBASE-Version 0x%1").arg(hexByte(h.version)));

    if (h.version == 0x02) {
        // dBASE II: 8-byte header, 16-byte field descriptors, data at byte 521.
        h.dbase2 = true;
        if (head.size() < 521)
            throw IsamError::damaged(path, QStringLiteral("der Dateikopf ist unvollständig"));
        h.recordCount = u16(head, 1);
        h.recordLength = u16(head, 6);
        h.headerLength = 521;
        int offset = 1;
        for (int at = 8; at + 16 <= 520 && head.at(at) != '\r'; at += 16) {
            DbfFieldDesc f;
            f.rawName = QByteArray(head.constData() + at, 11);
            f.rawName.truncate(f.rawName.indexOf('\0') < 0 ? 11 : f.rawName.indexOf('\0'));
            f.type = head.at(at + 11);
            f.length = static_cast<unsigned char>(head.at(at + 12));
            f.decimals = static_cast<unsigned char>(head.at(at + 15));
            f.offset = offset;
            offset += f.length;
            if (!validFieldType(f.type) || f.length == 0)
                throw IsamError::damaged(path, QStringLiteral("ungültige Feldbeschreibung"));
            h.fields.append(f);
        }
        h.recordLength = std::max(h.recordLength, offset);
        return h;
    }

    if (head.size() < 32)
        throw IsamError::damaged(path, QStringLiteral("der Dateikopf ist unvollständig"));
    h.lastUpdate = updateDate(static_cast<unsigned char>(head.at(1)),
        static_cast<unsigned char>(head.at(2)), static_cast<unsigned char>(head.at(3)));
    h.recordCount = u32(head, 4);
    h.headerLength = u16(head, 8);
    h.recordLength = u16(head, 10);
    h.tableFlags = static_cast<unsigned char>(head.at(28));
    h.languageId = static_cast<unsigned char>(head.at(29));
    h.dbase7 = (h.version & 0x07) == 0x04;
    const int descSize = h.dbase7 ? 48 : 32;
    const int firstDesc = h.dbase7 ? 68 : 32;
    if (h.headerLength < firstDesc + 1 || h.headerLength > fileSize)
        throw IsamError::damaged(path,
            QStringLiteral("die Kopflänge %1 passt nicht zur Dateigröße %2")
                .arg(h.headerLength)
                .arg(fileSize));
    if (head.size() < h.headerLength)
        throw IsamError::damaged(path, QStringLiteral("der Dateikopf ist unvollständig"));
    if (h.dbase7) {
        h.languageDriverName = QByteArray(head.constData() + 32, 32);
        h.languageDriverName.truncate(
            qMax(0, static_cast<int>(h.languageDriverName.indexOf('\0'))));
    }

    int offset = 1;
    int nullBits = 0;
    for (int at = firstDesc; at + descSize <= h.headerLength && head.at(at) != '\r';
         at += descSize) {
        DbfFieldDesc f;
        const int nameLen = h.dbase7 ? 32 : 11;
        f.rawName = QByteArray(head.constData() + at, nameLen);
        const qsizetype nul = f.rawName.indexOf('\0');
        if (nul >= 0)
            f.rawName.truncate(nul);
        f.rawName = f.rawName.trimmed();
        f.type = head.at(at + (h.dbase7 ? 32 : 11));
        f.length = static_cast<unsigned char>(head.at(at + (h.dbase7 ? 33 : 16)));
        f.decimals = static_cast<unsigned char>(head.at(at + (h.dbase7 ? 34 : 17)));
        if (!h.dbase7)
            f.flags = static_cast<unsigned char>(head.at(at + 18));
        // Clipper and FoxPro keep character fields over 255 bytes with the decimals as high byte.
        if (f.type == 'C' && f.decimals > 0) {
            f.length += f.decimals * 256;
            f.decimals = 0;
        }
        if (!validFieldType(f.type) || f.length == 0)
            throw IsamError::damaged(path,
                QStringLiteral("ungültige Beschreibung des %1. Feldes").arg(h.fields.size() + 1));
        f.offset = offset;
        offset += f.length;
        if (f.type == '0') {
            f.hidden = true;
            h.nullFlagsField = h.fields.size();
        } else if (h.isVisualFoxPro()) {
            if (f.type == 'V' || f.type == 'Q')
                f.lengthBit = nullBits++;
            if (f.flags & 0x02)
                f.nullBit = nullBits++;
        }
        h.fields.append(f);
    }
    // A record length that is shorter than its fields is a writer's slip: the fields decide.
    if (h.recordLength < offset) {
        if (!h.fields.isEmpty())
            h.problems.append(QStringLiteral("Die Satzlänge %1 im Kopf ist kürzer als die Felder "
                                             "(%2); die Felder gelten.")
                                  .arg(h.recordLength)
                                  .arg(offset));
        h.recordLength = offset;
    }
    if (h.nullFlagsField >= 0 && h.fields[h.nullFlagsField].length * 8 < nullBits)
        throw IsamError::damaged(path, QStringLiteral("das Feld _NullFlags ist zu kurz"));

    switch (h.version) {
    case 0x83:
        h.memoKind = DbfMemoKind::Dbase3;
        break;
    case 0x8B:
    case 0x8C:
    case 0xCB:
        h.memoKind = DbfMemoKind::Dbase4;
        break;
    case 0x30:
    case 0x31:
    case 0x32:
    case 0xF5:
    case 0xFB:
        h.memoKind = DbfMemoKind::FoxPro;
        break;
    default:
        h.memoKind = h.dbase7 ? DbfMemoKind::Dbase4 : DbfMemoKind::None;
        break;
    }
    if (!h.hasMemoFields())
        h.memoKind = DbfMemoKind::None;
    else if (h.memoKind == DbfMemoKind::None)
        h.memoKind = DbfMemoKind::Dbase3; // decided by the memo file found beside the table
    return h;
}

QByteArray buildDbfHeader(const DbfHeader& h, const CodePage& codePage)
{
    const bool vfp = h.isVisualFoxPro();
    const int length = 32 + 32 * static_cast<int>(h.fields.size()) + 1 + (vfp ? 263 : 0);
    QByteArray out(length, '\0');
    char* p = out.data();
    p[0] = static_cast<char>(h.version);
    const QDate d = h.lastUpdate.isValid() ? h.lastUpdate : QDate::currentDate();
    p[1] = static_cast<char>(d.year() - 1900 > 255 ? d.year() % 100 : d.year() - 1900);
    p[2] = static_cast<char>(d.month());
    p[3] = static_cast<char>(d.day());
    qToLittleEndian<quint32>(static_cast<quint32>(h.recordCount), p + 4);
    qToLittleEndian<quint16>(static_cast<quint16>(length), p + 8);
    qToLittleEndian<quint16>(static_cast<quint16>(h.recordLength), p + 10);
    p[28] = static_cast<char>(h.tableFlags);
    p[29] = static_cast<char>(h.languageId);
    int at = 32;
    for (const DbfFieldDesc& f : h.fields) {
        const QByteArray name = codePage.encode(f.name).left(10);
        memcpy(p + at, name.constData(), name.size());
        p[at + 11] = f.type;
        if (vfp)
            qToLittleEndian<quint32>(static_cast<quint32>(f.offset), p + at + 12);
        p[at + 16] = static_cast<char>(f.type == 'C' ? f.length & 0xFF : f.length);
        p[at + 17] = static_cast<char>(f.type == 'C' ? f.length >> 8 : f.decimals);
        p[at + 18] = static_cast<char>(f.flags);
        at += 32;
    }
    p[at] = '\r';
    return out;
}

} // namespace kv::engine::isam
