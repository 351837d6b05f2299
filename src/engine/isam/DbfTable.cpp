#include "engine/isam/DbfTable.h"

#include "engine/isam/IsamError.h"

#include "engine/core/DataType.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

namespace kv::engine::isam {

namespace {

constexpr qint64 ChunkBytes = 1 << 20;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool isValidUtf8WithNonAscii(const QByteArray& bytes)
{
    bool nonAscii = false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        if ((c & 0xE0) == 0xC0 && c >= 0xC2)
            more = 1;
        else if ((c & 0xF0) == 0xE0)
            more = 2;
        else if ((c & 0xF8) == 0xF0 && c <= 0xF4)
            more = 3;
        else
            return false;
        // A sequence cut by the end of the sample says nothing either way.
        if (i + more >= n)
            break;
        for (int k = 1; k <= more; ++k)
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        nonAscii = true;
        i += more + 1;
    }
    return nonAscii;
}

class DbfCursor : public IsamCursor {
public:
    DbfCursor(DbfTable& table, bool withDeleted)
        : m_table(table)
        , m_withDeleted(withDeleted)
        , m_recordLength(table.header().recordLength)
    { }

    bool next() override { return moveTo(m_recno + 1, true); }
    bool seek(qint64 rowId) override { return moveTo(rowId, false); }
    qint64 rowId() const override { return m_recno; }
    bool isDeleted() const override { return current() && current()[0] == '*'; }
    QVariant value(int column) const override
    {
        const char* rec = current();
        return rec ? m_table.fieldValue(rec, column, m_recno) : QVariant();
    }
    void storedValue(int column, int type, StorageSink& out) const override
    {
        if (const char* rec = current())
            m_table.fieldStored(rec, column, m_recno, type, out);
        else
            out.null();
    }

private:
    const char* current() const
    {
        if (m_recno < m_first || m_recno >= m_first + m_count)
            return nullptr;
        return m_buffer.constData() + (m_recno - m_first) * m_recordLength;
    }

    bool load(qint64 recno)
    {
        if (recno >= m_first && recno < m_first + m_count && m_generation == m_table.generation())
            return true;
        const qint64 chunk = std::max<qint64>(1, ChunkBytes / m_recordLength);
        m_generation = m_table.generation();
        m_first = recno;
        m_count = m_table.readRecords(recno, chunk, m_buffer);
        return m_count > 0;
    }

    bool moveTo(qint64 recno, bool skipForward)
    {
        if (m_table.fields().isEmpty())
            return false;
        for (;;) {
            if (recno < 1 || recno > m_table.recordCount() || !load(recno)) {
                m_recno = m_table.recordCount() + 1;
                return false;
            }
            m_recno = recno;
            if (m_withDeleted || current()[0] != '*')
                return true;
            if (!skipForward)
                return false;
            ++recno;
        }
    }

    DbfTable& m_table;
    bool m_withDeleted;
    int m_recordLength;
    QByteArray m_buffer;
    qint64 m_first = 0;
    qint64 m_count = 0;
    qint64 m_recno = 0;
    quint64 m_generation = 0;
};

} // namespace

std::unique_ptr<DbfTable> DbfTable::open(const QString& path, const DbfOptions& options)
{
    std::unique_ptr<DbfTable> t(new DbfTable);
    t->m_path = path;
    t->m_name = QFileInfo(path).completeBaseName();
    t->m_writable = options.writable;
    const QFileInfo info(path);
    if (!info.exists())
        throw IsamError::fileNotFound(path);
    t->m_file.setFileName(path);
    if (!t->m_file.open(options.writable ? QIODevice::ReadWrite : QIODevice::ReadOnly))
        throw IsamError::ioError(path, t->m_file.errorString());
    const qint64 size = t->m_file.size();
    const QByteArray head = t->m_file.read(std::min<qint64>(size, 65536 + 64 * 1024));
    if (head.isEmpty())
        throw IsamError::damaged(path, QStringLiteral("die Datei ist leer"));
    t->m_header = parseDbfHeader(head, size, path);
    DbfHeader& h = t->m_header;
    for (const QString& p : std::as_const(h.problems))
        t->addNotice(QStringLiteral("Datei '%1': %2").arg(native(path), p));

    const qint64 available = (size - h.headerLength) / h.recordLength;
    if (h.recordCount > available) {
        t->addNotice(QStringLiteral("Die Datei '%1' ist kürzer als ihr Kopf angibt; gelesen "
                                    "werden %2 von %3 Datensätzen.")
                         .arg(native(path))
                         .arg(available)
                         .arg(h.recordCount));
        h.recordCount = available;
    }
    t->chooseCodePage(options.codePage, head.mid(0, std::min<qsizetype>(head.size(), 65536)));
    t->nameFields();
    if (h.memoKind != DbfMemoKind::None) {
        const QString memoPath = findMemoFile(path, h.memoKind);
        if (memoPath.isEmpty())
            t->addNotice(QStringLiteral("Die Memodatei zur Tabelle '%1' fehlt; die Memofelder "
                                        "bleiben leer.")
                             .arg(native(path)));
        else
            t->openMemo(memoPath, options.writable);
    }
    if (t->m_visible.isEmpty())
        t->addNotice(QStringLiteral("Die Tabelle '%1' hat keine Felder.").arg(native(path)));
    return t;
}

void DbfTable::openMemo(const QString& memoPath, bool writable)
{
    DbfMemoKind kind = m_header.memoKind;
    if (memoPath.endsWith(QLatin1String(".fpt"), Qt::CaseInsensitive))
        kind = DbfMemoKind::FoxPro;
    else if (kind == DbfMemoKind::FoxPro)
        kind = DbfMemoKind::Dbase3;
    m_memo = std::make_unique<DbfMemoFile>(memoPath, kind, writable);
}

void DbfTable::chooseCodePage(const CodePage& wanted, const QByteArray& sample)
{
    if (wanted.isValid()) {
        m_cp = wanted;
    } else if (m_header.declaredCodePage().isValid()) {
        m_cp = m_header.declaredCodePage();
    } else {
        // Without a mark the bytes decide between UTF-8 and the DOS code page that German
        // dBASE and Clipper programs wrote.
        if (isValidUtf8WithNonAscii(sample.mid(m_header.dbase2 ? 8 : 32)))
            m_cp = CodePage::fromNumber(65001);
        else
            m_cp = CodePage::fromNumber(850);
        const QString what = m_header.languageId == 0
            ? QStringLiteral("nennt keine Codeseite")
            : QStringLiteral("nennt eine unbekannte Codeseite (0x%1)")
                  .arg(hexByte(m_header.languageId));
        addNotice(QStringLiteral("Die Datei '%1' %2; sie wird als %3 gelesen.")
                      .arg(native(m_path), what, m_cp.name()));
    }
    m_codePage = m_cp.name();
}

void DbfTable::nameFields()
{
    m_fields.clear();
    m_visible.clear();
    QStringList seen;
    for (int i = 0; i < m_header.fields.size(); ++i) {
        DbfFieldDesc& f = m_header.fields[i];
        f.name = m_cp.decode(f.rawName);
        if (f.hidden)
            continue;
        QString name = f.name.isEmpty() ? QStringLiteral("Feld%1").arg(i + 1) : f.name;
        // Some writers repeat a name; the engine needs each once.
        for (int n = 1; seen.contains(name, Qt::CaseInsensitive); ++n)
            name = f.name + QString::number(n);
        seen.append(name);
        IsamField field = dbfIsamField(m_header, f);
        field.name = name;
        m_fields.append(field);
        m_visible.append(i);
    }
}

std::unique_ptr<DbfTable> DbfTable::create(
    const QString& path, const IsamFields& fields, DbfFlavor flavor, const CodePage& codePage)
{
    if (fields.isEmpty())
        throw IsamError(isamerr::NoFields,
            QStringLiteral("Die Tabelle '%1' braucht mindestens ein Feld.").arg(native(path)));
    std::unique_ptr<DbfTable> t(new DbfTable);
    t->m_path = path;
    t->m_name = QFileInfo(path).completeBaseName();
    t->m_writable = true;
    t->m_cp = codePage.isValid() ? codePage : CodePage();
    t->m_codePage = t->m_cp.name();
    DbfHeader& h = t->m_header;
    const bool vfp = flavor == DbfFlavor::VisualFoxPro;
    int offset = 1;
    int nullBits = 0;
    for (const IsamField& field : fields) {
        DbfFieldDesc f = dbfFieldFor(field, flavor);
        f.offset = offset;
        offset += f.length;
        if (vfp && (f.flags & 0x02))
            f.nullBit = nullBits++;
        h.fields.append(f);
    }
    if (nullBits > 0) {
        DbfFieldDesc nf;
        nf.name = QStringLiteral("_NullFlags");
        nf.type = '0';
        nf.length = (nullBits + 7) / 8;
        nf.flags = 0x05;
        nf.offset = offset;
        nf.hidden = true;
        offset += nf.length;
        h.nullFlagsField = h.fields.size();
        h.fields.append(nf);
    }
    h.recordLength = offset;
    const bool memo = h.hasMemoFields();
    switch (flavor) {
    case DbfFlavor::Dbase3:
        h.version = memo ? 0x83 : 0x03;
        h.memoKind = memo ? DbfMemoKind::Dbase3 : DbfMemoKind::None;
        break;
    case DbfFlavor::Dbase4:
        h.version = memo ? 0x8B : 0x03;
        h.memoKind = memo ? DbfMemoKind::Dbase4 : DbfMemoKind::None;
        break;
    case DbfFlavor::FoxPro2:
        h.version = memo ? 0xF5 : 0x03;
        h.memoKind = memo ? DbfMemoKind::FoxPro : DbfMemoKind::None;
        break;
    case DbfFlavor::VisualFoxPro:
        h.version = 0x30;
        h.memoKind = memo ? DbfMemoKind::FoxPro : DbfMemoKind::None;
        h.tableFlags = memo ? 0x02 : 0x00;
        break;
    }
    h.languageId = t->m_cp.dbfLanguageId();
    h.lastUpdate = QDate::currentDate();
    const QByteArray head = buildDbfHeader(h, t->m_cp);
    h.headerLength = static_cast<int>(head.size());
    t->m_file.setFileName(path);
    if (!t->m_file.open(QIODevice::ReadWrite | QIODevice::Truncate))
        throw IsamError::ioError(path, t->m_file.errorString());
    if (t->m_file.write(head) != head.size() || t->m_file.write("\x1A", 1) != 1)
        throw IsamError::ioError(path, t->m_file.errorString());
    if (memo) {
        const QFileInfo info(path);
        const bool upper = info.suffix() == info.suffix().toUpper();
        QString ending
            = h.memoKind == DbfMemoKind::FoxPro ? QStringLiteral("fpt") : QStringLiteral("dbt");
        if (upper)
            ending = ending.toUpper();
        t->m_memo = DbfMemoFile::create(
            info.dir().filePath(info.completeBaseName() + QLatin1Char('.') + ending), h.memoKind);
    }
    // The names go through the code page as a reader will see them.
    for (DbfFieldDesc& f : h.fields)
        f.rawName = t->m_cp.encode(f.name).left(10);
    t->nameFields();
    t->m_liveCount = 0;
    return t;
}

DbfTable::~DbfTable()
{
    try {
        flush();
    } catch (const IsamError&) {
        // flush() reports the failure to whoever calls it; a destructor has nobody to tell.
    }
}

qint64 DbfTable::rowCount() const
{
    if (m_liveCount < 0) {
        auto* self = const_cast<DbfTable*>(this);
        qint64 live = 0;
        QByteArray buffer;
        const qint64 chunk = std::max<qint64>(1, ChunkBytes / m_header.recordLength);
        for (qint64 first = 1; first <= m_header.recordCount; first += chunk) {
            const qint64 n = self->readRecords(first, chunk, buffer);
            for (qint64 i = 0; i < n; ++i)
                live += buffer.at(i * m_header.recordLength) != '*';
            if (n == 0)
                break;
        }
        m_liveCount = live;
    }
    return m_liveCount;
}

std::unique_ptr<IsamCursor> DbfTable::openCursor(bool withDeleted)
{
    writePending();
    return std::make_unique<DbfCursor>(*this, withDeleted);
}

IsamCapabilities DbfTable::capabilities() const
{
    return { m_writable, m_writable, m_writable };
}

qint64 DbfTable::readRecords(qint64 first, qint64 count, QByteArray& buffer)
{
    writePending();
    count = std::min(count, m_header.recordCount - first + 1);
    if (count <= 0)
        return 0;
    const qint64 at = m_header.headerLength + (first - 1) * m_header.recordLength;
    if (!m_file.seek(at))
        return 0;
    buffer.resize(count * m_header.recordLength);
    const qint64 got = m_file.read(buffer.data(), buffer.size());
    return got < 0 ? 0 : got / m_header.recordLength;
}

QVariant DbfTable::fieldValue(const char* record, int column, qint64 rowId)
{
    if (column < 0 || column >= m_visible.size())
        return {};
    const DbfFieldDesc& f = m_header.fields[m_visible[column]];
    quint32 block = 0;
    QVariant v = decodeDbfField(m_header, f, record, m_cp, &block);
    if (block == 0)
        return v;
    if (!m_memo)
        return {};
    const auto memo = m_memo->read(block);
    if (!memo) {
        addNotice(QStringLiteral("Die Memodatei '%1' hat keinen gültigen Block %2 (Datensatz %3, "
                                 "Feld %4); das Feld bleibt leer.")
                      .arg(native(m_memo->path()))
                      .arg(block)
                      .arg(rowId)
                      .arg(m_fields[column].name));
        return {};
    }
    if (m_fields[column].type == dbMemo && memo->text)
        return decodeDbfMemoText(memo->data, m_cp, m_memo->kind() == DbfMemoKind::Dbase3);
    return memo->data;
}

void DbfTable::fieldStored(const char* record, int column, qint64 rowId, int type, StorageSink& out)
{
    if (column >= 0 && column < m_visible.size()) {
        const DbfFieldDesc& f = m_header.fields[m_visible[column]];
        if (storeDbfField(m_header, f, record, m_cp, type, out, m_scratch))
            return;
        if (type == dbMemo && m_fields[column].type == dbMemo && storeMemoText(record, f, out))
            return;
    }
    putStored(datatype::toStorage(fieldValue(record, column, rowId), type), out);
}

bool DbfTable::storeMemoText(const char* record, const DbfFieldDesc& f, StorageSink& out)
{
    quint32 block = 0;
    decodeDbfField(m_header, f, record, m_cp, &block);
    if (block == 0 || !m_memo)
        return false;
    const auto memo = m_memo->readView(block);
    // Clipper's soft line breaks, damaged blocks and empty memos take the general path.
    if (!memo || !memo->text || memo->data.isEmpty()
        || (m_memo->kind() == DbfMemoKind::Dbase3 && memo->data.contains('\x8D')))
        return false;
    m_scratch.resize(0);
    if (!m_cp.appendUtf8(memo->data.data(), memo->data.size(), m_scratch))
        return false;
    out.text(m_scratch.constData(), m_scratch.size());
    return true;
}

void DbfTable::ensureWritable() const
{
    if (!m_writable)
        throw IsamError::readOnly(m_path);
}

void DbfTable::encodeRow(const IsamRow& row, char* record, qint64 rowId)
{
    for (int c = 0; c < m_visible.size(); ++c) {
        const DbfFieldDesc& f = m_header.fields[m_visible[c]];
        const QVariant value = c < row.size() ? row[c] : QVariant();
        const bool null = !value.isValid() || value.isNull();
        QVariant stored = value;
        std::optional<IssueKind> issue;
        if (f.type == 'M' || f.type == 'G' || f.type == 'P' || f.type == 'W'
            || (f.type == 'B' && !m_header.isVisualFoxPro())) {
            quint32 block = 0;
            if (!null && m_memo) {
                QByteArray data;
                const bool text = value.typeId() != QMetaType::QByteArray;
                if (text) {
                    int lost = 0;
                    data = m_cp.encode(value.toString(), &lost);
                    if (lost > 0) {
                        issue = IssueKind::CharactersMissing;
                        stored = m_cp.decode(data);
                    }
                    // dBASE III ends a memo at the first 0x1A.
                    if (m_memo->kind() == DbfMemoKind::Dbase3 && data.contains('\x1A')) {
                        data.truncate(data.indexOf('\x1A'));
                        issue = IssueKind::TextCut;
                        stored = m_cp.decode(data);
                    }
                } else {
                    data = value.toByteArray();
                    if (m_memo->kind() == DbfMemoKind::Dbase3 && data.contains('\x1A')) {
                        data.truncate(data.indexOf('\x1A'));
                        issue = IssueKind::NotRepresentable;
                        stored = data;
                    }
                }
                if (!data.isEmpty())
                    block = m_memo->append(data, text);
            }
            encodeDbfField(
                m_header, f, block ? QVariant(block) : QVariant(), record, m_cp, nullptr);
            if (!null)
                setDbfNullBit(m_header, record, f.nullBit, false);
        } else {
            issue = encodeDbfField(m_header, f, value, record, m_cp, &stored);
        }
        if (issue)
            reportIssue({ rowId, c, m_fields[c].name, value, stored, *issue });
    }
}

qint64 DbfTable::append(const IsamRow& row)
{
    ensureWritable();
    if (m_pending.isEmpty())
        m_pendingFirst = m_header.recordCount + 1;
    const qint64 rowId = m_header.recordCount + 1;
    const qsizetype at = m_pending.size();
    m_pending.resize(at + m_header.recordLength);
    char* record = m_pending.data() + at;
    memset(record, ' ', m_header.recordLength);
    if (m_header.nullFlagsField >= 0) {
        const DbfFieldDesc& nf = m_header.fields[m_header.nullFlagsField];
        memset(record + nf.offset, 0, nf.length);
    }
    encodeRow(row, record, rowId);
    m_header.recordCount = rowId;
    if (m_liveCount >= 0)
        ++m_liveCount;
    m_dirty = true;
    if (m_pending.size() >= ChunkBytes)
        writePending();
    return rowId;
}

void DbfTable::writePending()
{
    if (m_pending.isEmpty())
        return;
    const qint64 at = m_header.headerLength + (m_pendingFirst - 1) * m_header.recordLength;
    if (!m_file.seek(at) || m_file.write(m_pending) != m_pending.size())
        throw IsamError::ioError(m_path, m_file.errorString());
    m_pending.clear();
    ++m_generation;
}

QByteArray DbfTable::recordForChange(qint64 rowId)
{
    ensureWritable();
    writePending();
    QByteArray record;
    if (rowId < 1 || readRecords(rowId, 1, record) != 1)
        throw IsamError(isamerr::ItemNotFound,
            QStringLiteral("Die Tabelle '%1' hat keinen Datensatz %2.")
                .arg(native(m_path))
                .arg(rowId));
    return record;
}

void DbfTable::writeRecordStart(qint64 rowId, const char* data, qint64 size)
{
    const qint64 at = m_header.headerLength + (rowId - 1) * m_header.recordLength;
    if (!m_file.seek(at) || m_file.write(data, size) != size)
        throw IsamError::ioError(m_path, m_file.errorString());
    m_dirty = true;
    ++m_generation;
}

void DbfTable::update(qint64 rowId, const IsamRow& row)
{
    QByteArray record = recordForChange(rowId);
    if (record.at(0) == '*')
        throw IsamError(isamerr::RecordDeleted,
            QStringLiteral("Der Datensatz %1 der Tabelle '%2' ist gelöscht.")
                .arg(rowId)
                .arg(native(m_path)));
    encodeRow(row, record.data(), rowId);
    writeRecordStart(rowId, record.constData(), record.size());
}

void DbfTable::remove(qint64 rowId)
{
    if (recordForChange(rowId).at(0) == '*')
        return;
    writeRecordStart(rowId, "*", 1);
    if (m_liveCount >= 0)
        --m_liveCount;
}

void DbfTable::flush()
{
    if (!m_writable || !m_dirty)
        return;
    writePending();
    const QDate today = QDate::currentDate();
    char head[8];
    head[0] = static_cast<char>(m_header.version);
    head[1] = static_cast<char>(today.year() - 1900);
    head[2] = static_cast<char>(today.month());
    head[3] = static_cast<char>(today.day());
    qToLittleEndian<quint32>(static_cast<quint32>(m_header.recordCount), head + 4);
    const qint64 end = m_header.headerLength + m_header.recordCount * m_header.recordLength;
    // dBASE II keeps a 16-bit count at byte 1 and no date.
    const bool ok = m_header.dbase2
        ? (m_file.seek(1)
            && m_file.write(QByteArray(1, static_cast<char>(m_header.recordCount & 0xFF))
                   + QByteArray(1, static_cast<char>((m_header.recordCount >> 8) & 0xFF)))
                == 2)
        : (m_file.seek(0) && m_file.write(head, 8) == 8);
    if (!ok || !m_file.seek(end) || m_file.write("\x1A", 1) != 1 || !m_file.flush())
        throw IsamError::ioError(m_path, m_file.errorString());
    if (m_memo)
        m_memo->flush();
    m_dirty = false;
}

} // namespace kv::engine::isam
