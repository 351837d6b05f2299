#include "engine/isam/MdbDatabase.h"

#include "engine/isam/IsamError.h"
#include "engine/isam/MdbHeader.h"
#include "engine/isam/MdbLongValue.h"
#include "engine/isam/MdbPropertyBlock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QtEndian>
#include <cmath>
#include <cstring>
#include <mdbtools.h>

namespace kv::engine::isam {

struct MdbFile {
    QString path;
    QByteArray charset; ///< of Jet 3 text, as iconv names it
    qint64 pages = 0; ///< bounds the chains of long values
    MdbHandle* mdb = nullptr;
    ~MdbFile()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

namespace {

// mdbtools takes a buffer of this size for every text it converts. Memos and OLE objects are
// read here, not through its binding, so only texts remain: a valid one is at most 765 bytes
// of UTF-8, but mdbtools copies whatever a damaged row holds: at most one page, three bytes of
// UTF-8 for each of its bytes.
constexpr size_t BindSize = 3 * MDB_PGSIZE + 16;

bool longValue(int type)
{
    return type == MDB_MEMO || type == MDB_OLE;
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// mdbtools takes the file apart before it is checked; we look at the header first.
MdbHeader checkJetHeader(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw IsamError::fileNotFound(path);
    if (info.size() == 0)
        throw IsamError::damaged(path, QStringLiteral("die Datei ist leer"));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw IsamError::ioError(path, f.errorString());
    const QByteArray head = f.read(0x80);
    if (head.size() < 0x20 || head.mid(4, 15) != "Standard Jet DB") {
        if (head.mid(4, 15) == "Standard ACE DB")
            throw IsamError::damaged(
                path, QStringLiteral("Dateien ab Access 2007 werden nicht unterstützt"));
        throw IsamError::damaged(path, QStringLiteral("keine Jet-Datenbank"));
    }
    const int version = static_cast<unsigned char>(head[0x14]);
    const int pageSize = version == 0 ? 2048 : 4096;
    if (version > 1)
        throw IsamError::damaged(path, QStringLiteral("unbekannte Jet-Version %1").arg(version));
    if (info.size() < 2 * pageSize)
        throw IsamError::damaged(path, QStringLiteral("die Datei ist kürzer als zwei Seiten"));
    return MdbHeader(head);
}

// mdbtools decodes Jet 3 text in the code page its environment names, Windows-1252 when none,
// and reads it whenever it sets up a handle, clones included.
void useCharset(MdbHandle* mdb, const QByteArray& charset)
{
    if (mdb->f->jet_version != MDB_VER_JET3 || charset.isEmpty() || charset == "CP1252")
        return;
    static QMutex environment;
    const QMutexLocker lock(&environment);
    const QByteArray before = qgetenv("MDB_JET3_CHARSET");
    const bool had = qEnvironmentVariableIsSet("MDB_JET3_CHARSET");
    qputenv("MDB_JET3_CHARSET", charset);
    mdb_iconv_close(mdb);
    mdb_iconv_init(mdb);
    if (had)
        qputenv("MDB_JET3_CHARSET", before);
    else
        qunsetenv("MDB_JET3_CHARSET");
}

int engineType(int mdbType)
{
    switch (mdbType) {
    case MDB_BOOL:
        return dbBoolean;
    case MDB_BYTE:
        return dbByte;
    case MDB_INT:
        return dbInteger;
    case MDB_LONGINT:
        return dbLong;
    case MDB_MONEY:
        return dbCurrency;
    case MDB_FLOAT:
        return dbSingle;
    case MDB_DOUBLE:
        return dbDouble;
    case MDB_DATETIME:
        return dbDate;
    case MDB_BINARY:
        return dbBinary;
    case MDB_TEXT:
        return dbText;
    case MDB_OLE:
        return dbLongBinary;
    case MDB_MEMO:
        return dbMemo;
    case MDB_REPID:
        return dbGUID;
    case MDB_NUMERIC:
        return dbDecimal;
    default:
        return dbBinary;
    }
}

// The old engine's dates: days since 1899-12-30; before that day the fraction still counts
// forward from midnight.
QVariant oleDate(double v)
{
    if (!std::isfinite(v) || v < -657435.0 || v > 2958466.0)
        return {};
    const double days = std::trunc(v);
    const double fraction = std::fabs(v - days);
    qint64 ms = std::llround(fraction * 86400000.0);
    qint64 whole = static_cast<qint64>(days);
    if (ms >= 86400000) {
        ms -= 86400000;
        whole += v < 0 ? -1 : 1;
    }
    const QDate d = QDate(1899, 12, 30).addDays(whole);
    return QDateTime(d, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

// mdbtools finds a table's data pages through its usage map without looking at it first: a
// missing or cut-off map made it read through a null pointer.
struct FreeTableDef {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};
using TableDefPtr = std::unique_ptr<MdbTableDef, FreeTableDef>;

bool knownType(int type)
{
    return (type >= MDB_BOOL && type <= MDB_MEMO) || type == MDB_REPID || type == MDB_NUMERIC;
}

bool usageMapReadable(const MdbTableDef* t)
{
    return t->usage_map && t->map_sz >= 5 && (t->usage_map[0] == 0 || t->usage_map[0] == 1);
}

// mdbtools reads a table's rows without checking what its definition says; what it would read
// past or through a null pointer is refused here.
void readColumns(const QString& path, MdbTableDef* t)
{
    const QString name = QString::fromUtf8(t->name);
    if (!usageMapReadable(t))
        throw IsamError::damaged(
            path, QStringLiteral("die Seitenliste der Tabelle '%1' ist beschädigt").arg(name));
    if (!mdb_read_columns(t) || t->columns->len < t->num_cols)
        throw IsamError::damaged(
            path, QStringLiteral("die Spalten der Tabelle '%1' sind nicht lesbar").arg(name));
    for (unsigned int i = 0; i < t->num_cols; ++i) {
        const auto* col = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
        // Its type tables are indexed without a bounds check.
        if (!knownType(col->col_type))
            throw IsamError::damaged(path,
                QStringLiteral("die Spalte '%1' der Tabelle '%2' hat den unbekannten Typ %3")
                    .arg(QString::fromUtf8(col->name), name)
                    .arg(col->col_type));
    }
}

// Reading the catalog, mdbtools parses every object's property list and follows its length
// fields blindly; the lists are read and checked first, through the catalog table itself.
void checkCatalogProperties(const QString& path, MdbHandle* mdb, qint64 pages)
{
    MdbCatalogEntry entry {};
    entry.mdb = mdb;
    qstrncpy(entry.object_name, "MSysObjects", sizeof entry.object_name);
    entry.object_type = MDB_TABLE;
    entry.table_pg = 2;
    const TableDefPtr t(mdb_read_table(&entry));
    if (!t)
        throw IsamError::damaged(
            path, QStringLiteral("das Verzeichnis der Objekte ist nicht lesbar"));
    readColumns(path, t.get());
    MdbColumn* props = nullptr;
    for (unsigned int i = 0; i < t->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
        if (qstrcmp(col->name, "LvProp") == 0 && col->col_type == MDB_OLE)
            props = col;
    }
    if (!props)
        return;
    mdb_rewind_table(t.get());
    while (mdb_fetch_row(t.get())) {
        if (props->cur_value_len <= 0)
            continue;
        const QByteArray blob
            = readJetLongValue(mdb, path, pages, props->cur_value_start, props->cur_value_len);
        if (!jetPropertyBlockSound(blob))
            throw IsamError::damaged(
                path, QStringLiteral("die Eigenschaften eines Objekts sind beschädigt"));
    }
}

MdbHandle* openHandle(const QString& path, const QByteArray& charset, qint64& pages)
{
    MdbHandle* mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!mdb)
        throw IsamError::damaged(path, QStringLiteral("mdbtools kann die Datei nicht lesen"));
    useCharset(mdb, charset);
    mdb_set_boolean_fmt_numbers(mdb);
    mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
    pages = QFileInfo(path).size() / mdb->fmt->pg_size;
    try {
        checkCatalogProperties(path, mdb, pages);
    } catch (...) {
        mdb_close(mdb);
        throw;
    }
    if (!mdb_read_catalog(mdb, MDB_ANY)) {
        mdb_close(mdb);
        throw IsamError::damaged(
            path, QStringLiteral("das Verzeichnis der Objekte ist nicht lesbar"));
    }
    mdb_set_bind_size(mdb, BindSize);
    return mdb;
}

/// One pass over a table's rows with its own handle, so that cursors never disturb each other.
class MdbRows {
public:
    MdbRows(const std::shared_ptr<MdbFile>& file, const QString& table)
        : m_source(file)
    {
        const QString& path = file->path;
        // A clone shares the file and the catalog read once, but has page buffers of its own.
        m_file.mdb = mdb_clone_handle(file->mdb);
        if (!m_file.mdb)
            throw IsamError::damaged(path, QStringLiteral("mdbtools kann die Datei nicht lesen"));
        useCharset(m_file.mdb, file->charset);
        m_file.path = path;
        m_file.pages = file->pages;
        // mdb_read_table_by_name would read the whole catalog again for every table.
        for (unsigned int i = 0; i < m_file.mdb->num_catalog && !m_table; ++i) {
            auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_file.mdb->catalog, i));
            if (e->object_type == MDB_TABLE
                && QString::fromUtf8(e->object_name).compare(table, Qt::CaseInsensitive) == 0)
                m_table.reset(mdb_read_table(e));
        }
        if (!m_table)
            throw IsamError(isamerr::ItemNotFound,
                QStringLiteral("Die Tabelle '%1' gibt es in der Datei '%2' nicht.")
                    .arg(table, native(path)));
        readColumns(path, m_table.get());
        m_buffers.resize(m_table->num_cols);
        m_lengths.resize(m_table->num_cols);
        for (unsigned int i = 0; i < m_table->num_cols; ++i) {
            const auto* col = static_cast<MdbColumn*>(g_ptr_array_index(m_table->columns, i));
            if (longValue(col->col_type))
                continue;
            m_buffers[i].resize(BindSize);
            mdb_bind_column(
                m_table.get(), static_cast<int>(i + 1), m_buffers[i].data(), &m_lengths[i]);
        }
        mdb_rewind_table(m_table.get());
    }

    MdbTableDef* table() const { return m_table.get(); }

    bool next(QVector<QVariant>& values)
    {
        if (!mdb_fetch_row(m_table.get()))
            return false;
        values.resize(m_table->num_cols);
        for (unsigned int i = 0; i < m_table->num_cols; ++i)
            values[i] = value(static_cast<MdbColumn*>(g_ptr_array_index(m_table->columns, i)), i);
        return true;
    }

    void rewind() { mdb_rewind_table(m_table.get()); }

private:
    QVariant value(MdbColumn* col, unsigned int i)
    {
        MdbHandle* mdb = m_file.mdb;
        const QByteArray bound(m_buffers[i].constData(), m_lengths[i]);
        const int len = col->cur_value_len;
        const unsigned char* raw = mdb->pg_buf + col->cur_value_start;
        const bool rawOk = len > 0 && col->cur_value_start >= 0
            && col->cur_value_start + len <= static_cast<int>(mdb->fmt->pg_size);
        switch (col->col_type) {
        case MDB_BOOL:
            return bound == "1";
        case MDB_BYTE:
            if (!rawOk)
                return {};
            return static_cast<int>(raw[0]);
        case MDB_INT:
            if (!rawOk || len < 2)
                return {};
            return static_cast<int>(qFromLittleEndian<qint16>(raw));
        case MDB_LONGINT:
            if (!rawOk || len < 4)
                return {};
            return static_cast<int>(qFromLittleEndian<qint32>(raw));
        case MDB_MONEY:
            if (!rawOk || len < 8)
                return {};
            return static_cast<double>(qFromLittleEndian<qint64>(raw)) / 10000.0;
        case MDB_FLOAT:
            if (!rawOk || len < 4)
                return {};
            return static_cast<double>(qFromLittleEndian<float>(raw));
        case MDB_DOUBLE:
            if (!rawOk || len < 8)
                return {};
            return qFromLittleEndian<double>(raw);
        case MDB_DATETIME:
            if (!rawOk || len < 8)
                return {};
            return oleDate(qFromLittleEndian<double>(raw));
        case MDB_NUMERIC: {
            if (len == 0)
                return {};
            bool ok = false;
            const double v = bound.toDouble(&ok);
            return ok ? QVariant(v) : QVariant();
        }
        case MDB_OLE:
            if (len == 0)
                return {};
            return readJetLongValue(mdb, m_file.path, m_file.pages, col->cur_value_start, len);
        case MDB_MEMO:
            if (len == 0)
                return {};
            return jetMemoText(
                mdb, readJetLongValue(mdb, m_file.path, m_file.pages, col->cur_value_start, len));
        case MDB_BINARY:
            if (!rawOk)
                return {};
            return QByteArray(reinterpret_cast<const char*>(raw), len);
        default:
            if (len == 0 && bound.isEmpty())
                return {};
            return QString::fromUtf8(bound);
        }
    }

    std::shared_ptr<MdbFile> m_source; ///< kept open while the clone reads
    MdbFile m_file;
    TableDefPtr m_table;
    QVector<QByteArray> m_buffers;
    QVector<int> m_lengths;
};

class MdbCursor : public IsamCursor {
public:
    MdbCursor(const std::shared_ptr<MdbFile>& file, const QString& table)
        : m_rows(file, table)
    { }
    bool next() override
    {
        if (!m_rows.next(m_values)) {
            m_values.clear();
            return false;
        }
        ++m_row;
        return true;
    }
    bool seek(qint64 rowId) override
    {
        if (rowId <= m_row || m_values.isEmpty()) {
            m_rows.rewind();
            m_row = 0;
        }
        while (m_row < rowId)
            if (!next())
                return false;
        return true;
    }
    qint64 rowId() const override { return m_row; }
    QVariant value(int column) const override { return m_values.value(column); }

private:
    MdbRows m_rows;
    QVector<QVariant> m_values;
    qint64 m_row = 0;
};

class MdbTable : public IsamTable {
public:
    MdbTable(const std::shared_ptr<MdbFile>& file, const QString& name)
        : m_file(file)
    {
        m_path = file->path;
        m_name = name;
        m_codePage = QStringLiteral("Unicode");
        MdbRows rows(file, name);
        MdbTableDef* t = rows.table();
        m_count = t->num_rows;
        for (unsigned int i = 0; i < t->num_cols; ++i) {
            const auto* col = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
            IsamField f;
            f.name = QString::fromUtf8(col->name);
            f.type = engineType(col->col_type);
            // Jet 4 counts text sizes in bytes of UCS-2.
            f.size = f.type == dbText
                ? (rows.table()->entry->mdb->f->jet_version == MDB_VER_JET3 ? col->col_size
                                                                            : col->col_size / 2)
                : fixedSize(f.type);
            f.width = col->col_size;
            f.decimals = col->col_scale;
            f.autoIncrement = col->is_long_auto;
            f.nativeType = QString::fromUtf8(
                mdb_get_colbacktype_string(col) ? mdb_get_colbacktype_string(col) : "");
            m_fields.append(f);
        }
    }
    qint64 rowCount() const override { return m_count; }
    std::unique_ptr<IsamCursor> openCursor(bool) override
    {
        return std::make_unique<MdbCursor>(m_file, m_name);
    }

private:
    std::shared_ptr<MdbFile> m_file;
    qint64 m_count = 0;
};

QVector<QVector<QVariant>> allRows(
    const std::shared_ptr<MdbFile>& file, const QString& table, QStringList* columns)
{
    MdbRows rows(file, table);
    if (columns) {
        columns->clear();
        for (unsigned int i = 0; i < rows.table()->num_cols; ++i)
            columns->append(QString::fromUtf8(
                static_cast<MdbColumn*>(g_ptr_array_index(rows.table()->columns, i))->name));
    }
    QVector<QVector<QVariant>> out;
    QVector<QVariant> values;
    while (rows.next(values))
        out.append(values);
    return out;
}

} // namespace

MdbDatabase::MdbDatabase(const QString& path, const QString& password)
    : m_file(std::make_shared<MdbFile>())
{
    m_path = path;
    const MdbHeader header = checkJetHeader(path);
    // The old engine compares the password exactly, letter case included.
    if (header.password() != password && !header.password().isEmpty())
        throw IsamError(isamerr::PasswordInvalid,
            QStringLiteral("Kein gültiges Kennwort für die Datei '%1'.").arg(native(path)));
    m_file->charset = header.iconvName();
    m_file->path = path;
    m_file->mdb = openHandle(path, m_file->charset, m_file->pages);
}

MdbDatabase::~MdbDatabase() = default;

int MdbDatabase::jetVersion() const
{
    return m_file->mdb->f->jet_version == MDB_VER_JET3 ? 3 : 4;
}

QStringList MdbDatabase::tableNames() const
{
    QStringList names;
    for (unsigned int i = 0; i < m_file->mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_file->mdb->catalog, i));
        if (e->object_type == MDB_TABLE && !mdb_is_system_table(e))
            names.append(QString::fromUtf8(e->object_name));
    }
    return names;
}

std::unique_ptr<IsamTable> MdbDatabase::openTable(const QString& name, bool writable)
{
    if (writable)
        throw IsamError::readOnly(m_path);
    for (const QString& n : tableNames())
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return std::make_unique<MdbTable>(m_file, n);
    throw IsamError(isamerr::ItemNotFound,
        QStringLiteral("Die Tabelle '%1' gibt es in der Datei '%2' nicht.")
            .arg(name, native(m_path)));
}

QVector<MdbDatabase::IndexInfo> MdbDatabase::indexes(const QString& table) const
{
    QVector<IndexInfo> out;
    MdbRows rows(m_file, table);
    MdbTableDef* t = rows.table();
    // Its answer is no sign of success; the list it fills is.
    mdb_read_indices(t);
    if (!t->indices || t->indices->len < t->num_idxs)
        throw IsamError::damaged(
            m_path, QStringLiteral("die Indizes der Tabelle '%1' sind nicht lesbar").arg(table));
    for (unsigned int i = 0; i < t->num_idxs; ++i) {
        const auto* idx = static_cast<MdbIndex*>(g_ptr_array_index(t->indices, i));
        // Type 2 are the hidden indexes that back relations.
        if (idx->index_type == 2)
            continue;
        IndexInfo info;
        info.name = QString::fromUtf8(idx->name);
        info.primary = idx->index_type == 1;
        info.unique = info.primary || (idx->flags & MDB_IDX_UNIQUE);
        info.ignoreNulls = idx->flags & MDB_IDX_IGNORENULLS;
        info.required = idx->flags & MDB_IDX_REQUIRED;
        for (unsigned int k = 0; k < idx->num_keys && k < MDB_MAX_IDX_COLS; ++k) {
            const int colnum = idx->key_col_num[k] - 1;
            if (colnum < 0 || colnum >= static_cast<int>(t->num_cols))
                continue;
            info.fields.append(QString::fromUtf8(
                static_cast<MdbColumn*>(g_ptr_array_index(t->columns, colnum))->name));
            info.descending.append(idx->key_col_order[k] == MDB_DESC);
        }
        out.append(info);
    }
    return out;
}

QVector<MdbDatabase::RelationInfo> MdbDatabase::relations() const
{
    QStringList cols;
    const auto rows = allRows(m_file, QStringLiteral("MSysRelationships"), &cols);
    const int name = cols.indexOf(QStringLiteral("szRelationship"));
    const int object = cols.indexOf(QStringLiteral("szObject"));
    const int column = cols.indexOf(QStringLiteral("szColumn"));
    const int refObject = cols.indexOf(QStringLiteral("szReferencedObject"));
    const int refColumn = cols.indexOf(QStringLiteral("szReferencedColumn"));
    const int grbit = cols.indexOf(QStringLiteral("grbit"));
    const int icolumn = cols.indexOf(QStringLiteral("icolumn"));
    QVector<RelationInfo> out;
    if (name < 0 || object < 0 || column < 0 || refObject < 0 || refColumn < 0)
        return out;
    QVector<QPair<int, QVector<QVariant>>> sorted;
    for (const auto& r : rows)
        sorted.append({ icolumn >= 0 ? r[icolumn].toInt() : 0, r });
    std::stable_sort(sorted.begin(), sorted.end(),
        [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [pos, r] : sorted) {
        Q_UNUSED(pos);
        const QString n = r[name].toString();
        auto it = std::find_if(
            out.begin(), out.end(), [&n](const RelationInfo& x) { return x.name == n; });
        if (it == out.end()) {
            RelationInfo info;
            info.name = n;
            info.table = r[object].toString();
            info.foreignTable = r[refObject].toString();
            info.attributes = grbit >= 0 ? r[grbit].toInt() : 0;
            out.append(info);
            it = out.end() - 1;
        }
        it->fields.append(r[column].toString());
        it->foreignFields.append(r[refColumn].toString());
    }
    return out;
}

QVector<MdbDatabase::QueryInfo> MdbDatabase::queries() const
{
    QStringList cols;
    const auto rows = allRows(m_file, QStringLiteral("MSysQueries"), &cols);
    auto col = [&cols](const char* n) { return cols.indexOf(QString::fromLatin1(n)); };
    const int objectId = col("ObjectId"), attribute = col("Attribute"),
              expression = col("Expression"), flag = col("Flag"), name1 = col("Name1"),
              name2 = col("Name2"), order = col("Order");
    QVector<QueryInfo> out;
    for (unsigned int i = 0; i < m_file->mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_file->mdb->catalog, i));
        if (e->object_type != MDB_QUERY)
            continue;
        QueryInfo q;
        q.name = QString::fromUtf8(e->object_name);
        q.type = e->flags & 0xF0;
        q.hidden = e->flags & 0x08;
        QVector<JetQueryPart> parts;
        for (const auto& r : rows) {
            // The stored id carries the object kind in its top byte; mdbtools keeps the rest.
            if (objectId < 0
                || (r[objectId].toLongLong() & 0x00FFFFFF)
                    != static_cast<qint64>(e->table_pg & 0x00FFFFFF))
                continue;
            JetQueryPart p;
            p.attribute = attribute >= 0 ? r[attribute].toInt() : 0;
            p.expression = expression >= 0 ? r[expression].toString() : QString();
            p.flag = flag >= 0 ? r[flag].toInt() : 0;
            p.name1 = name1 >= 0 ? r[name1].toString() : QString();
            p.name2 = name2 >= 0 ? r[name2].toString() : QString();
            p.order = order >= 0 ? r[order].toInt() : 0;
            parts.append(p);
        }
        q.sql = jetQuerySql(parts);
        out.append(q);
    }
    return out;
}

} // namespace kv::engine::isam
