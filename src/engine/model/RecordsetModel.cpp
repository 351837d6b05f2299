#include "engine/model/RecordsetModel.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/model/FieldText.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/ProgressScope.h"

#include <QTimer>
#include <limits>

// Shape of the model and reading of rows; editing, saving and deleting are in
// RecordsetModelEditing.cpp.

namespace kv::engine {

namespace {
// Rows whose reading failed are remembered in blocks of this many.
constexpr qint64 FailureBlock = 512;
// A failed block is read again after this pause (a lock held by another program may be gone).
constexpr qint64 RetryAfterMs = 3000;

int clampedRows(qint64 rows)
{
    // The add-new row and a new record need room below the records.
    return int(std::min<qint64>(std::max<qint64>(rows, 0), std::numeric_limits<int>::max() - 2));
}
} // namespace

RecordsetModel::RecordsetModel(QObject* parent)
    : Rastermodell(parent)
{
    m_clock.start();
    connect(&m_counter, &RecordCounter::counted, this, &RecordsetModel::counted);
}

RecordsetModel::~RecordsetModel()
{
    m_counter.cancel();
    // The reader shares the set's keys; it goes first.
    m_reader.reset();
}

void RecordsetModel::setRecordset(std::unique_ptr<Recordset> rs)
{
    beginResetModel();
    m_edit = {};
    m_reader.reset();
    m_readerRow = -1;
    m_counter.cancel();
    m_rs = std::move(rs);
    ++m_generation;
    m_failedPages.clear();
    m_errorReported = false;
    readShape();
    mapColumns();
    endResetModel();
    startCount();
}

void RecordsetModel::refresh()
{
    if (!m_rs) {
        setRecordset(nullptr);
        return;
    }
    beginResetModel();
    m_counter.cancel();
    m_edit = {};
    m_reader.reset();
    m_readerRow = -1;
    ++m_generation;
    m_failedPages.clear();
    m_errorReported = false;
    try {
        if (m_rs->editMode() != dbEditNone)
            m_rs->cancelUpdate();
        QByteArray bookmark;
        if (m_rs->absolutePosition() >= 0)
            bookmark = m_rs->bookmark();
        m_rs->requery();
        if (!bookmark.isEmpty()) {
            try {
                m_rs->setBookmark(bookmark);
            } catch (const EngineError&) {
                // The record has gone; the set stays on its first record.
            }
        }
    } catch (const EngineError&) {
        // readShape below finds the set unreadable and reports it.
    }
    readShape();
    endResetModel();
    startCount();
}

void RecordsetModel::readShape()
{
    m_felder.clear();
    m_records = 0;
    m_countFinal = true;
    m_current = -1;
    if (!m_rs)
        return;
    for (Field* f : m_rs->fields()) {
        m_felder.append({ f->name(), f->type(), f->sourceTable(), f->sourceField(),
            m_rs->updatable() && f->dataUpdatable() && !isBinaryType(f->type()) });
    }
    try {
        m_countFinal = m_rs->recordCountKnown();
        m_records = clampedRows(m_countFinal ? m_rs->recordCount() : m_rs->knownRecordCount());
        m_current = int(m_rs->absolutePosition());
    } catch (const EngineError& e) {
        noteReadError(0, e.number(), e.description());
    }
}

void RecordsetModel::mapColumns()
{
    m_columnField.clear();
    if (m_bindungen.isEmpty()) {
        for (int i = 0; i < m_felder.size(); ++i)
            m_columnField.push_back(i);
        return;
    }
    const QList<Field*> fields = m_rs ? m_rs->fields() : QList<Field*>();
    for (const Spaltenbindung& b : std::as_const(m_bindungen)) {
        int feld = -1;
        if (m_rs) {
            try {
                // By name, or by origin ("Kunden.Name", "[Kunden].[Name]").
                feld = int(fields.indexOf(&m_rs->field(b.datenfeld)));
            } catch (const EngineError&) {
                feld = -1;
            }
        }
        m_columnField.push_back(feld);
    }
}

void RecordsetModel::setzeSpalten(const QList<Spaltenbindung>& bindungen)
{
    beginResetModel();
    m_bindungen = bindungen;
    mapColumns();
    endResetModel();
}

int RecordsetModel::fieldOfColumn(int column) const
{
    return column >= 0 && column < int(m_columnField.size()) ? m_columnField[size_t(column)] : -1;
}

bool RecordsetModel::addNewRowShown() const
{
    return m_addNewWanted && m_rs && m_rs->updatable();
}

int RecordsetModel::newRecordRow() const
{
    return m_edit.isNew ? m_records : -1;
}

bool RecordsetModel::isAddNewRow(int row) const
{
    return addNewRowShown() && row == m_records + (m_edit.isNew ? 1 : 0);
}

qint64 RecordsetModel::setRow(int row) const
{
    return m_removing >= 0 && row > m_removing ? row - 1 : row;
}

void RecordsetModel::setzeNeuzeile(bool zeigen)
{
    if (zeigen == m_addNewWanted)
        return;
    const bool vorher = addNewRowShown();
    const int row = m_records + (m_edit.isNew ? 1 : 0);
    if (vorher && !zeigen) {
        // A new record in progress goes with the row it came from.
        if (m_edit.isNew)
            zeileVerwerfen();
        const int letzte = m_records;
        beginRemoveRows({}, letzte, letzte);
        m_addNewWanted = false;
        endRemoveRows();
        return;
    }
    if (!vorher && zeigen && m_rs && m_rs->updatable()) {
        beginInsertRows({}, row, row);
        m_addNewWanted = true;
        endInsertRows();
        return;
    }
    m_addNewWanted = zeigen;
}

int RecordsetModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_records + (m_edit.isNew ? 1 : 0) + (addNewRowShown() ? 1 : 0);
}

int RecordsetModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return int(m_columnField.size());
}

bool RecordsetModel::readFailed(qint64 row) const
{
    if (m_failedPages.isEmpty())
        return false;
    const auto it = m_failedPages.constFind(row / FailureBlock);
    if (it == m_failedPages.constEnd())
        return false;
    if (m_clock.elapsed() - it.value() < RetryAfterMs)
        return true;
    m_failedPages.erase(it);
    return false;
}

bool RecordsetModel::connectionBusy() const
{
    return m_rs && m_rs->database()
        && ProgressScope::active(m_rs->database()->connection().handle());
}

void RecordsetModel::repaintWhenFree() const
{
    if (m_waitingForConnection)
        return;
    m_waitingForConnection = true;
    auto* self = const_cast<RecordsetModel*>(this);
    QTimer::singleShot(50, self, [self] {
        self->m_waitingForConnection = false;
        if (self->connectionBusy()) {
            self->repaintWhenFree();
            return;
        }
        if (self->rowCount() > 0 && self->columnCount() > 0)
            Q_EMIT self->dataChanged(
                self->index(0, 0), self->index(self->rowCount() - 1, self->columnCount() - 1));
    });
}

void RecordsetModel::noteReadError(qint64 row, int number, const QString& description) const
{
    if (connectionBusy()) {
        repaintWhenFree(); // no failure: the rows are read once the long change is done
        return;
    }
    m_failedPages.insert(row / FailureBlock, m_clock.elapsed());
    if (m_errorReported)
        return;
    m_errorReported = true;
    Q_EMIT const_cast<RecordsetModel*>(this)->lesefehler(number, description);
}

Recordset* RecordsetModel::positionedReader(int row) const
{
    if (!m_rs || row < 0 || row >= m_records)
        return nullptr;
    const qint64 r = setRow(row);
    if (readFailed(r))
        return nullptr;
    if (connectionBusy()) {
        repaintWhenFree();
        return nullptr;
    }
    try {
        if (!m_reader) {
            m_reader = m_rs->clone();
            m_readerRow = -1;
        }
        if (m_readerRow != r) {
            m_readerRow = -1;
            m_reader->setAbsolutePosition(r);
            m_readerRow = r;
            // Reading on may prove the count wrong when another program wrote after it.
            if (m_countFinal && m_rs->recordCountKnown() && m_rs->knownRecordCount() != m_records)
                postRecount();
        }
        return m_reader.get();
    } catch (const EngineError& e) {
        if (e.number() == err::InvalidArgument) {
            postRecount(); // fewer records than counted
            return nullptr;
        }
        noteReadError(r, e.number(), e.description());
        return nullptr;
    }
}

void RecordsetModel::postRecount() const
{
    if (m_recountPosted)
        return;
    m_recountPosted = true;
    // The rows change after this paint, not inside it.
    auto* self = const_cast<RecordsetModel*>(this);
    QMetaObject::invokeMethod(
        self,
        [self] {
            self->m_recountPosted = false;
            self->recountRows();
        },
        Qt::QueuedConnection);
}

QVariant RecordsetModel::storedValue(int row, int field) const
{
    Recordset* reader = positionedReader(row);
    if (!reader)
        return {};
    try {
        QVariant v = reader->value(field);
        if (m_errorReported && m_failedPages.isEmpty())
            m_errorReported = false;
        return v;
    } catch (const EngineError& e) {
        // A record deleted by another program shows empty, as it will be gone after a refresh.
        if (e.number() != err::RecordDeleted)
            noteReadError(setRow(row), e.number(), e.description());
        return {};
    }
}

QVariant RecordsetModel::value(int row, int field) const
{
    if (row == m_edit.row)
        return m_edit.values.value(field);
    return storedValue(row, field);
}

QByteArray RecordsetModel::bookmarkOf(int row) const
{
    if (row == newRecordRow())
        return {};
    Recordset* reader = positionedReader(row);
    if (!reader)
        return {};
    try {
        return reader->bookmark();
    } catch (const EngineError&) {
        return {};
    }
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.model() != this)
        return {};
    const int row = index.row();
    // Painting asks for display texts; the count starts after the first paint.
    if (m_countWanted && !m_countPosted && role == Qt::DisplayRole) [[unlikely]]
        countAfterFirstRows();
    switch (role) {
    case Rasterrolle::Neuzeile:
        return isAddNewRow(row);
    case Rasterrolle::Lesezeichen:
        return bookmarkOf(row);
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Rasterrolle::Wert:
        break;
    default:
        return {};
    }
    const int field = fieldOfColumn(index.column());
    const QVariant v = field < 0 || isAddNewRow(row) ? QVariant() : value(row, field);
    if (role == Rasterrolle::Wert)
        return v.isNull() ? QVariant() : v;
    const int type = field < 0 ? 0 : m_felder.at(field).typ;
    if (role == Qt::EditRole)
        return editText(v, type);
    return displayText(
        v, type, m_bindungen.isEmpty() ? QString() : m_bindungen.at(index.column()).format);
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    const int field = fieldOfColumn(section);
    return spaltenkopf(field < 0 ? Datenfeldinfo() : m_felder.at(field),
        m_bindungen.isEmpty() ? QString() : m_bindungen.at(section).datenfeld, role);
}

Qt::ItemFlags RecordsetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const int field = fieldOfColumn(index.column());
    if (field >= 0 && m_felder.at(field).aktualisierbar)
        f |= Qt::ItemIsEditable;
    return f;
}

int RecordsetModel::zeileVon(const QByteArray& lesezeichen) const
{
    if (lesezeichen.isEmpty() || !m_rs || m_records == 0)
        return -1;
    try {
        if (!m_reader)
            m_reader = m_rs->clone();
        m_readerRow = -1;
        m_reader->setBookmark(lesezeichen);
        m_readerRow = m_reader->absolutePosition();
        return m_readerRow >= 0 && m_readerRow < m_records ? int(m_readerRow) : -1;
    } catch (const EngineError&) {
        return -1;
    }
}

void RecordsetModel::setzeAktuelleZeile(int zeile)
{
    if (!m_rs || zeile < 0 || zeile >= m_records || zeile == newRecordRow())
        return;
    m_current = zeile;
    try {
        m_rs->setAbsolutePosition(setRow(zeile));
    } catch (const EngineError&) {
        // The row is shown empty; the set stays where it was.
    }
}

void RecordsetModel::syncPosition()
{
    if (!m_rs)
        return;
    qint64 position = -1;
    try {
        position = m_rs->absolutePosition();
    } catch (const EngineError&) {
        return;
    }
    if (position < 0 || position >= m_records || position == m_current)
        return;
    m_current = int(position);
    Q_EMIT aktuelleZeileGeaendert(m_current);
}

void RecordsetModel::rowChanged(int row)
{
    if (row >= 0 && row < rowCount() && columnCount() > 0)
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

} // namespace kv::engine
