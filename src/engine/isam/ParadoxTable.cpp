#include "engine/isam/ParadoxTable.h"

#include "engine/isam/IsamError.h"
#include "engine/isam/SortableNumbers.h"
#include "engine/isam/StorageDate.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cmath>
#include <cstdlib>
#include <cstring>
extern "C" {
#include <paradox.h>
// Exported by libpx though missing from its header; the chain check below needs the plain
// heads of an encrypted table's blocks.
void px_decrypt_db_block(unsigned char* src, unsigned char* dest, unsigned long encryption,
    unsigned long blocksize, unsigned long blockno);
}

namespace kv::engine::isam {

void paradoxError(px_doc* doc, int, const char* message, void*);

namespace {

void* pxAlloc(pxdoc_t*, size_t size, const char*)
{
    return calloc(1, size);
}

void* pxRealloc(pxdoc_t*, void* mem, size_t size, const char*)
{
    return realloc(mem, size);
}

void pxFree(pxdoc_t*, void* mem)
{
    free(mem);
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// pxlib trusts the header; we check what it would otherwise read past.
void checkHeader(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw IsamError::ioError(path, f.errorString());
    const qint64 size = f.size();
    if (size == 0)
        throw IsamError::damaged(path, QStringLiteral("die Datei ist leer"));
    const QByteArray h = f.read(2048);
    if (h.size() < 0x58)
        throw IsamError::damaged(path, QStringLiteral("der Dateikopf ist unvollständig"));
    auto u16 = [&h](int at) { return qFromLittleEndian<quint16>(h.constData() + at); };
    const int recordSize = u16(0);
    const int headerSize = u16(2);
    const int fileType = static_cast<unsigned char>(h[4]);
    const int blockKb = static_cast<unsigned char>(h[5]);
    const int fields = u16(0x21);
    const int version = static_cast<unsigned char>(h[0x39]);
    if (fileType != pxfFileTypIndexDB && fileType != pxfFileTypNonIndexDB)
        throw IsamError::damaged(path, QStringLiteral("keine Paradox-Tabelle"));
    if (version < 3 || version > 12)
        throw IsamError::damaged(
            path, QStringLiteral("unbekannte Paradox-Version %1").arg(version));
    if (headerSize < 0x58 || headerSize > size || headerSize > h.size())
        throw IsamError::damaged(path,
            QStringLiteral("die Kopflänge %1 passt nicht zur Dateigröße %2")
                .arg(headerSize)
                .arg(size));
    if (!(blockKb == 1 || blockKb == 2 || blockKb == 3 || blockKb == 4 || blockKb == 8
            || blockKb == 16 || blockKb == 32))
        throw IsamError::damaged(path, QStringLiteral("ungültige Blockgröße"));
    const int fieldInfo = version >= 5 ? 0x78 : 0x58;
    if (fields < 1 || fields > 255 || fieldInfo + 2 * fields > headerSize)
        throw IsamError::damaged(path, QStringLiteral("ungültige Feldanzahl %1").arg(fields));
    int sum = 0;
    // A BCD field's length byte holds its decimals; it always takes 17 bytes.
    for (int i = 0; i < fields; ++i)
        sum += h[fieldInfo + 2 * i] == pxfBCD
            ? 17
            : static_cast<unsigned char>(h[fieldInfo + 2 * i + 1]);
    if (recordSize < 1 || sum != recordSize)
        throw IsamError::damaged(path, QStringLiteral("die Satzlänge passt nicht zu den Feldern"));

    // pxlib follows the chain of data blocks as the file gives it; a loop or a block outside
    // the file would keep it reading for ever.
    const qint64 blockSize = blockKb * 1024;
    const qint64 blocksInFile = (size - headerSize + blockSize - 1) / blockSize;
    if (u16(0x0C) > blocksInFile + 1)
        throw IsamError::damaged(
            path, QStringLiteral("mehr Blöcke angegeben als die Datei enthält"));
    // pxlib looks every record up from the first block on; a count far beyond what the blocks
    // hold kept it searching for minutes.
    const qint64 records = qFromLittleEndian<quint32>(h.constData() + 6);
    if (records > blocksInFile * ((blockSize - 6) / recordSize))
        throw IsamError::damaged(
            path, QStringLiteral("mehr Datensätze angegeben, als die Datenblöcke fassen"));
    // The blocks of an encrypted table are encrypted too, head included; each is decrypted
    // with the table's key and its number to find the next. The key is where pxlib takes it:
    // at 0x25, or in the second header when 0x25 holds the marker FF00FF00.
    quint32 key = qFromLittleEndian<quint32>(h.constData() + 0x25);
    if (key == 0xFF00FF00u)
        key = version >= 5 ? qFromLittleEndian<quint32>(h.constData() + 0x5C) : 0;
    // pxlib cannot tell a missing block of an encrypted table from one it failed to decrypt
    // and walks on for ever, so every block the header names must be in the file whole.
    const qint64 wholeBlocks = (size - headerSize) / blockSize;
    if (key != 0 && (u16(0x0C) > wholeBlocks || u16(0x0E) > wholeBlocks || u16(0x10) > wholeBlocks))
        throw IsamError::damaged(
            path, QStringLiteral("die Datei ist kürzer, als ihre Datenblöcke angeben"));
    const auto brokenChain = [&path] {
        return IsamError::damaged(path, QStringLiteral("die Kette der Datenblöcke ist beschädigt"));
    };
    QVector<bool> seen(blocksInFile + 1);
    QByteArray raw(key != 0 ? blockSize : 2, '\0');
    QByteArray plain(raw.size(), '\0');
    for (int block = u16(0x0E); block != 0;) {
        if (block > blocksInFile || seen[block])
            throw brokenChain();
        seen[block] = true;
        if (!f.seek(headerSize + (block - 1) * blockSize)
            || f.read(raw.data(), raw.size()) != raw.size())
            throw brokenChain();
        if (key != 0)
            px_decrypt_db_block(reinterpret_cast<unsigned char*>(raw.data()),
                reinterpret_cast<unsigned char*>(plain.data()), key,
                static_cast<unsigned long>(blockSize), static_cast<unsigned long>(block));
        block = qFromLittleEndian<quint16>(key != 0 ? plain.constData() : raw.constData());
    }
}

quint32 be32(const char* p)
{
    return qFromBigEndian<quint32>(p);
}

// 17 bytes: sign bit and scale in the first, then 32 decimal digits, all inverted when negative.
// Some writers leave floating-point noise in the last digits; a nibble over 9 ends the number.
QVariant bcdValue(const char* p)
{
    const auto b0 = static_cast<unsigned char>(p[0]);
    bool empty = true;
    for (int i = 0; i < 17; ++i)
        empty = empty && p[i] == 0;
    if (empty)
        return {};
    const bool positive = b0 & 0x80;
    const int scale = std::min(b0 & 0x3F, 32);
    QByteArray digits;
    for (int i = 0; i < 32; ++i) {
        int nibble = (static_cast<unsigned char>(p[1 + i / 2]) >> (i % 2 == 0 ? 4 : 0)) & 0x0F;
        if (!positive)
            nibble = 0x0F - nibble;
        if (nibble > 9)
            break;
        digits.append(static_cast<char>('0' + nibble));
    }
    digits = digits.leftJustified(32, '0');
    const QByteArray text = digits.left(32 - scale) + '.' + digits.mid(32 - scale);
    const double v = text.toDouble();
    return positive ? v : -v;
}

QString findBlobFile(const QString& path)
{
    const QFileInfo info(path);
    const QString wanted = info.completeBaseName() + QStringLiteral(".mb");
    for (const QString& name : info.dir().entryList(QDir::Files))
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return info.dir().filePath(name);
    return {};
}

bool isBlob(char type)
{
    return type == pxfMemoBLOb || type == pxfBLOb || type == pxfFmtMemoBLOb || type == pxfOLE
        || type == pxfGraphic;
}

} // namespace

void paradoxError(px_doc* doc, int, const char* message, void* data)
{
    Q_UNUSED(doc);
    if (auto* t = static_cast<ParadoxTable*>(data))
        t->m_error = QString::fromLocal8Bit(message);
}

std::unique_ptr<ParadoxTable> ParadoxTable::open(const QString& path, const CodePage& codePage)
{
    if (!QFileInfo::exists(path))
        throw IsamError::fileNotFound(path);
    checkHeader(path);
    std::unique_ptr<ParadoxTable> t(new ParadoxTable);
    t->m_path = path;
    t->m_name = QFileInfo(path).completeBaseName();
    t->m_doc = PX_new3(paradoxError, pxAlloc, pxRealloc, pxFree, t.get());
    if (!t->m_doc || PX_open_file(t->m_doc, QFile::encodeName(path).constData()) < 0)
        throw IsamError::damaged(path, t->m_error.isEmpty() ? QStringLiteral("pxlib") : t->m_error);
    // Blobs are read here rather than by pxlib, which trusts every offset in the .MB file.
    const QString blob = findBlobFile(path);
    bool needsBlob = false;
    for (int i = 0; i < PX_get_num_fields(t->m_doc); ++i)
        needsBlob = needsBlob || isBlob(PX_get_field(t->m_doc, i)->px_ftype);
    if (!blob.isEmpty() && needsBlob) {
        t->m_blobFile = std::make_unique<QFile>(blob);
        if (!t->m_blobFile->open(QIODevice::ReadOnly)) {
            t->addNotice(QStringLiteral("Die Blob-Datei '%1' kann nicht gelesen werden; längere "
                                        "Memos und Grafiken bleiben leer.")
                             .arg(native(blob)));
            t->m_blobFile.reset();
        }
    } else if (needsBlob) {
        t->addNotice(QStringLiteral("Die Blob-Datei zur Tabelle '%1' fehlt; längere Memos und "
                                    "Grafiken bleiben leer.")
                         .arg(native(path)));
    }
    if (needsBlob && t->m_doc->px_head->px_encryption != 0)
        t->addNotice(QStringLiteral("Die Tabelle '%1' ist verschlüsselt; ihre Memos und Grafiken "
                                    "können nicht gelesen werden.")
                         .arg(native(path)));
    const int declared = t->m_doc->px_head->px_doscodepage;
    if (codePage.isValid()) {
        t->m_cp = codePage;
    } else if (CodePage::fromNumber(declared).isValid()) {
        t->m_cp = CodePage::fromNumber(declared);
    } else {
        t->m_cp = CodePage::fromNumber(437);
        t->addNotice(QStringLiteral("Die Datei '%1' nennt keine bekannte Codeseite (%2); sie wird "
                                    "als DOS 437 gelesen.")
                         .arg(native(path))
                         .arg(declared));
    }
    t->m_codePage = t->m_cp.name();
    t->describeFields();
    return t;
}

void ParadoxTable::describeFields()
{
    m_fields.clear();
    m_offsets.clear();
    m_lengths.clear();
    m_types.clear();
    int offset = 0;
    const int n = PX_get_num_fields(m_doc);
    for (int i = 0; i < n; ++i) {
        const pxfield_t* pf = PX_get_field(m_doc, i);
        IsamField f;
        f.name = m_cp.decode(pf->px_fname, static_cast<qsizetype>(strlen(pf->px_fname)));
        f.width = pf->px_flen;
        f.decimals = pf->px_fdc;
        switch (pf->px_ftype) {
        case pxfAlpha:
            f.type = dbText;
            f.size = pf->px_flen;
            f.nativeType = QStringLiteral("A");
            break;
        case pxfDate:
            f.type = dbDate;
            f.nativeType = QStringLiteral("D");
            break;
        case pxfShort:
            f.type = dbInteger;
            f.nativeType = QStringLiteral("S");
            break;
        case pxfLong:
            f.type = dbLong;
            f.nativeType = QStringLiteral("I");
            break;
        case pxfAutoInc:
            f.type = dbLong;
            f.autoIncrement = true;
            f.nativeType = QStringLiteral("+");
            break;
        case pxfCurrency:
            f.type = dbCurrency;
            f.nativeType = QStringLiteral("$");
            break;
        case pxfNumber:
            f.type = dbDouble;
            f.nativeType = QStringLiteral("N");
            break;
        case pxfBCD:
            f.type = dbDouble;
            f.nativeType = QStringLiteral("#");
            break;
        case pxfLogical:
            f.type = dbBoolean;
            f.nativeType = QStringLiteral("L");
            break;
        case pxfMemoBLOb:
        case pxfFmtMemoBLOb:
            f.type = dbMemo;
            f.nativeType = pf->px_ftype == pxfMemoBLOb ? QStringLiteral("M") : QStringLiteral("F");
            break;
        case pxfTime:
        case pxfTimestamp:
            f.type = dbDate;
            f.nativeType = pf->px_ftype == pxfTime ? QStringLiteral("T") : QStringLiteral("@");
            break;
        case pxfBytes:
            f.type = dbBinary;
            f.size = pf->px_flen;
            f.nativeType = QStringLiteral("Y");
            break;
        default: // BLOb, OLE, Graphic
            f.type = dbLongBinary;
            f.nativeType = pf->px_ftype == pxfGraphic ? QStringLiteral("G")
                : pf->px_ftype == pxfOLE              ? QStringLiteral("O")
                                                      : QStringLiteral("B");
            break;
        }
        if (f.size == 0)
            f.size = fixedSize(f.type);
        m_fields.append(f);
        m_offsets.append(offset);
        m_lengths.append(pf->px_flen);
        m_types.append(pf->px_ftype);
        offset += pf->px_flen;
    }
}

ParadoxTable::~ParadoxTable()
{
    close();
}

void ParadoxTable::close()
{
    if (m_doc) {
        PX_close(m_doc);
        PX_delete(m_doc);
        m_doc = nullptr;
    }
}

int ParadoxTable::fileVersion() const
{
    return m_doc ? m_doc->px_head->px_fileversion : 0;
}

qint64 ParadoxTable::rowCount() const
{
    return m_writing ? m_written : PX_get_num_records(m_doc);
}

bool ParadoxTable::readRecord(qint64 rowId, QByteArray& record)
{
    if (m_writing || rowId < 1 || rowId > PX_get_num_records(m_doc))
        return false;
    record.resize(PX_get_recordsize(m_doc));
    return PX_get_record(m_doc, static_cast<int>(rowId - 1), record.data()) != nullptr;
}

QVariant ParadoxTable::fieldValue(const QByteArray& record, int column, qint64 rowId)
{
    if (column < 0 || column >= m_fields.size())
        return {};
    const char* p = record.constData() + m_offsets[column];
    const int len = m_lengths[column];
    switch (m_types[column]) {
    case pxfAlpha: {
        const char* end = static_cast<const char*>(memchr(p, 0, len));
        const qsizetype n = end ? end - p : len;
        if (n == 0)
            return {};
        return m_cp.decode(p, n);
    }
    case pxfDate: {
        const quint32 raw = be32(p);
        if (raw == 0)
            return {};
        const QDate d = QDate::fromJulianDay(DayOneJulian + static_cast<qint32>(raw ^ 0x80000000u));
        return d.isValid() ? QVariant(QDateTime(d, QTime(0, 0))) : QVariant();
    }
    case pxfShort: {
        const quint16 raw = qFromBigEndian<quint16>(p);
        if (raw == 0)
            return {};
        return static_cast<int>(static_cast<qint16>(raw ^ 0x8000u));
    }
    case pxfLong:
    case pxfAutoInc: {
        const quint32 raw = be32(p);
        if (raw == 0)
            return {};
        return static_cast<int>(static_cast<qint32>(raw ^ 0x80000000u));
    }
    case pxfTime: {
        const quint32 raw = be32(p);
        if (raw == 0)
            return {};
        const qint32 ms = static_cast<qint32>(raw ^ 0x80000000u);
        if (ms < 0 || ms >= MsPerDay)
            return {};
        // A time alone sits on the engine's day zero, as the old engine kept it.
        return QDateTime(QDate(1899, 12, 30), QTime::fromMSecsSinceStartOfDay(ms));
    }
    case pxfCurrency:
    case pxfNumber: {
        const auto v = readSortableDouble(p);
        return v ? QVariant(*v) : QVariant();
    }
    case pxfTimestamp: {
        const auto v = readSortableDouble(p);
        if (!v || !std::isfinite(*v) || *v <= 0 || *v > 4.0e14)
            return {};
        const qint64 total = std::llround(*v);
        const QDate d = QDate::fromJulianDay(DayOneJulian + total / MsPerDay);
        return QDateTime(d, QTime::fromMSecsSinceStartOfDay(static_cast<int>(total % MsPerDay)));
    }
    case pxfLogical:
        if (p[0] == 0)
            return {};
        return static_cast<unsigned char>(p[0]) == 0x81;
    case pxfBCD:
        return bcdValue(p);
    case pxfBytes:
        return QByteArray(p, len);
    default: {
        const auto bytes = readBlob(p, len, column, rowId);
        if (!bytes)
            return {};
        if (m_fields[column].type == dbMemo) {
            // Plain memos end with a NUL in some writers' files; formatted ones keep every byte.
            qsizetype end = bytes->size();
            while (m_types[column] == pxfMemoBLOb && end > 0 && bytes->at(end - 1) == '\0')
                --end;
            return m_cp.decode(bytes->constData(), end);
        }
        return *bytes;
    }
    }
}

std::optional<QByteArray> ParadoxTable::readBlob(const char* p, int len, int column, qint64 rowId)
{
    // The last 10 bytes point into the .MB file: offset (block and index), length, change count;
    // a blob that fits the leading part of the field stays in the record.
    const int leader = len - 10;
    if (leader < 0)
        return std::nullopt;
    const quint32 offset = qFromLittleEndian<quint32>(p + leader);
    const quint32 length = qFromLittleEndian<quint32>(p + leader + 4);
    if (length == 0)
        return std::nullopt;
    if (length <= static_cast<quint32>(leader))
        return QByteArray(p, length);
    auto broken = [&]() -> std::optional<QByteArray> {
        addNotice(QStringLiteral("Der Blob von Datensatz %1, Feld %2 der Tabelle '%3' kann nicht "
                                 "gelesen werden; das Feld bleibt leer.")
                      .arg(rowId)
                      .arg(m_fields[column].name, native(m_path)));
        return std::nullopt;
    };
    if (!m_blobFile || m_doc->px_head->px_encryption != 0)
        return std::nullopt;
    const qint64 block = offset & 0xFFFFFF00u;
    const int index = static_cast<int>(offset & 0xFF);
    const qint64 size = m_blobFile->size();
    if (block == 0 || block + 4096 > size + 4096 || !m_blobFile->seek(block))
        return broken();
    const QByteArray head = m_blobFile->read(12 + 64 * 5);
    if (head.size() < 9)
        return broken();
    qint64 start = 0;
    if (index == 0xFF) {
        if (head[0] != 2)
            return broken();
        start = block + 9;
    } else {
        if (head[0] != 3 || index >= 64 || head.size() < 12 + (index + 1) * 5)
            return broken();
        start = block + static_cast<unsigned char>(head[12 + index * 5]) * 16;
    }
    if (start + length > size || !m_blobFile->seek(start))
        return broken();
    const QByteArray data = m_blobFile->read(length);
    if (data.size() != static_cast<qsizetype>(length))
        return broken();
    return data;
}

namespace {

class ParadoxCursor : public IsamCursor {
public:
    explicit ParadoxCursor(ParadoxTable& t)
        : m_table(t)
    { }
    bool next() override { return seek(m_row + 1); }
    bool seek(qint64 rowId) override
    {
        m_row = rowId;
        m_valid = m_table.readRecord(rowId, m_record);
        return m_valid;
    }
    qint64 rowId() const override { return m_row; }
    QVariant value(int column) const override
    {
        return m_valid ? m_table.fieldValue(m_record, column, m_row) : QVariant();
    }

private:
    ParadoxTable& m_table;
    QByteArray m_record;
    qint64 m_row = 0;
    bool m_valid = false;
};

} // namespace

std::unique_ptr<IsamCursor> ParadoxTable::openCursor(bool)
{
    if (m_writing)
        flush();
    return std::make_unique<ParadoxCursor>(*this);
}

IsamCapabilities ParadoxTable::capabilities() const
{
    return { m_writing, false, false };
}

namespace {

char* pxString(const QByteArray& bytes)
{
    char* out = static_cast<char*>(calloc(1, bytes.size() + 1));
    memcpy(out, bytes.constData(), bytes.size());
    return out;
}

pxfield_t paradoxField(const IsamField& f, ParadoxVersion version, const CodePage& cp)
{
    const bool v5 = version == ParadoxVersion::V5;
    const bool v4 = version != ParadoxVersion::V3;
    pxfield_t pf {};
    pf.px_fname = pxString(cp.encode(f.name).left(25));
    auto set = [&pf](int type, int length) {
        pf.px_ftype = static_cast<char>(type);
        pf.px_flen = length;
    };
    switch (f.type) {
    case dbBoolean:
        if (v5)
            set(pxfLogical, 1);
        else
            set(pxfShort, 2);
        break;
    case dbByte:
    case dbInteger:
        set(pxfShort, 2);
        break;
    case dbLong:
        if (v5)
            set(pxfLong, 4);
        else
            set(pxfNumber, 8);
        break;
    case dbCurrency:
        set(pxfCurrency, 8);
        break;
    case dbDate:
    case dbTimeStamp:
        set(pxfDate, 4);
        break;
    case dbMemo:
        if (v4)
            set(pxfMemoBLOb, 20); // 10 bytes of the text in the record, 10 for the blob pointer
        else
            set(pxfAlpha, 255);
        break;
    case dbLongBinary:
    case dbBinary:
    case dbVarBinary:
        if (v4)
            set(pxfBLOb, 20);
        else
            set(pxfAlpha, 255);
        break;
    case dbText:
    case dbChar:
    case dbGUID:
        set(pxfAlpha, std::clamp(f.size > 0 ? f.size : 255, 1, 255));
        break;
    default:
        set(pxfNumber, 8);
        break;
    }
    return pf;
}

} // namespace

std::unique_ptr<ParadoxTable> ParadoxTable::create(
    const QString& path, const IsamFields& fields, ParadoxVersion version, const CodePage& codePage)
{
    if (fields.isEmpty() || fields.size() > 255)
        throw IsamError(isamerr::NoFields,
            QStringLiteral("Die Tabelle '%1' braucht 1 bis 255 Felder.").arg(native(path)));
    std::unique_ptr<ParadoxTable> t(new ParadoxTable);
    t->m_path = path;
    t->m_name = QFileInfo(path).completeBaseName();
    t->m_cp = codePage.isValid() ? codePage : CodePage();
    t->m_codePage = t->m_cp.name();
    t->m_doc = PX_new3(paradoxError, pxAlloc, pxRealloc, pxFree, t.get());
    if (!t->m_doc)
        throw IsamError::ioError(path, QStringLiteral("pxlib"));
    auto* pf = static_cast<pxfield_t*>(calloc(fields.size(), sizeof(pxfield_t)));
    bool blobs = false;
    for (int i = 0; i < fields.size(); ++i) {
        pf[i] = paradoxField(fields[i], version, t->m_cp);
        blobs = blobs || isBlob(pf[i].px_ftype);
    }
    QFile::remove(path);
    if (PX_create_file(t->m_doc, pf, static_cast<int>(fields.size()),
            QFile::encodeName(path).constData(), pxfFileTypNonIndexDB)
        < 0)
        throw IsamError::ioError(path, t->m_error);
    t->m_doc->px_head->px_fileversion = static_cast<int>(version);
    PX_set_value(t->m_doc, "codepage", static_cast<float>(t->m_cp.number()));
    PX_set_tablename(t->m_doc, t->m_name.toLatin1().constData());
    if (blobs) {
        const QFileInfo info(path);
        const QString mb = info.dir().filePath(info.completeBaseName()
            + (info.suffix() == info.suffix().toUpper() ? QStringLiteral(".MB")
                                                        : QStringLiteral(".mb")));
        pxblob_t* blob = PX_new_blob(t->m_doc);
        if (!blob || PX_create_blob_file(blob, QFile::encodeName(mb).constData()) < 0)
            throw IsamError::ioError(mb, t->m_error);
        t->m_doc->px_blob = blob;
    }
    t->m_writing = true;
    t->describeFields();
    for (int i = 0; i < fields.size(); ++i)
        t->m_fields[i].name = fields[i].name.left(25);
    return t;
}

qint64 ParadoxTable::append(const IsamRow& row)
{
    if (!m_writing)
        throw IsamError::readOnly(m_path);
    QByteArray record(PX_get_recordsize(m_doc), '\0');
    const qint64 rowId = m_written + 1;
    for (int c = 0; c < m_fields.size(); ++c) {
        const QVariant v = c < row.size() ? row[c] : QVariant();
        if (!v.isValid() || v.isNull())
            continue;
        char* p = record.data() + m_offsets[c];
        const int len = m_lengths[c];
        QVariant stored = v;
        std::optional<IssueKind> issue;
        switch (m_types[c]) {
        case pxfAlpha: {
            int lost = 0;
            QByteArray bytes = m_cp.encode(v.toString(), &lost);
            if (lost)
                issue = IssueKind::CharactersMissing;
            if (bytes.size() > len) {
                bytes.truncate(len);
                issue = IssueKind::TextCut;
            }
            memcpy(p, bytes.constData(), bytes.size());
            if (issue)
                stored = m_cp.decode(bytes);
            break;
        }
        case pxfShort:
        case pxfLong: {
            const double d
                = v.typeId() == QMetaType::Bool ? (v.toBool() ? -1.0 : 0.0) : v.toDouble();
            const double limit = m_types[c] == pxfShort ? 32767.0 : 2147483647.0;
            if (!std::isfinite(d) || std::fabs(d) > limit) {
                issue = IssueKind::NumberOutOfRange;
                stored = QVariant();
                break;
            }
            const qint64 n = std::llround(d);
            if (m_types[c] == pxfShort)
                qToBigEndian<quint16>(static_cast<quint16>(static_cast<qint16>(n)) ^ 0x8000u, p);
            else
                qToBigEndian<quint32>(
                    static_cast<quint32>(static_cast<qint32>(n)) ^ 0x80000000u, p);
            if (static_cast<double>(n) != d) {
                issue = IssueKind::NumberRounded;
                stored = static_cast<int>(n);
            }
            break;
        }
        case pxfNumber:
        case pxfCurrency:
            writeSortableDouble(
                v.typeId() == QMetaType::Bool ? (v.toBool() ? -1.0 : 0.0) : v.toDouble(), p);
            break;
        case pxfLogical:
            p[0] = static_cast<char>(v.toBool() ? 0x81 : 0x80);
            break;
        case pxfDate: {
            // By the calendar alone: a QDateTime per value costs a time-zone lookup.
            QDate date;
            int msOfDay = 0;
            if (!dateOfValue(v, date, msOfDay) || date.year() < 1 || date.year() > 9999) {
                issue = IssueKind::DateOutOfRange;
                stored = QVariant();
                break;
            }
            const qint64 days = date.toJulianDay() - DayOneJulian;
            qToBigEndian<quint32>(static_cast<quint32>(days) ^ 0x80000000u, p);
            if (msOfDay != 0) {
                issue = IssueKind::TimeDropped;
                stored = QDateTime(date, QTime(0, 0));
            }
            break;
        }
        default: {
            QByteArray data;
            if (v.typeId() == QMetaType::QByteArray) {
                data = v.toByteArray();
            } else {
                int lost = 0;
                data = m_cp.encode(v.toString(), &lost);
                if (lost) {
                    issue = IssueKind::CharactersMissing;
                    stored = m_cp.decode(data);
                }
            }
            if (!data.isEmpty()
                && PX_put_data_blob(m_doc, p, len, data.data(), static_cast<int>(data.size()))
                    < 0) {
                issue = IssueKind::NotRepresentable;
                stored = QVariant();
            }
            break;
        }
        }
        if (issue)
            reportIssue({ rowId, c, m_fields[c].name, v, stored, *issue });
    }
    if (PX_put_record(m_doc, record.data()) < 0)
        throw IsamError::ioError(m_path, m_error);
    m_written = rowId;
    return rowId;
}

void ParadoxTable::flush()
{
    if (!m_writing)
        return;
    // pxlib writes the header when the table is closed; reading goes through a fresh open.
    close();
    m_writing = false;
    auto reopened = open(m_path, m_cp);
    std::swap(m_doc, reopened->m_doc);
    m_doc->errorhandler_user_data = this;
    describeFields();
}

} // namespace kv::engine::isam
