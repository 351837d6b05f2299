#include "engine/model/RecordsetModel.h"

#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "engine/model/FieldText.h"

// Editing through the model: the row buffer, saving it through the set, deleting by bookmark.

namespace kv::engine {

namespace {
Rasterfehler alsFehler(const EngineError& e)
{
    return { e.number(), e.description() };
}

// A failed write leaves the set as it was before.
void cancelPending(Recordset& rs)
{
    try {
        if (rs.editMode() != dbEditNone)
            rs.cancelUpdate();
    } catch (const EngineError&) {
        // A closed set has nothing pending.
    }
}
} // namespace

void RecordsetModel::releaseReader()
{
    m_reader.reset();
    m_readerRow = -1;
}

bool RecordsetModel::beginEdit(int row)
{
    const QByteArray bookmark = bookmarkOf(row);
    if (bookmark.isEmpty())
        return false;
    Edit e;
    e.row = row;
    e.bookmark = bookmark;
    for (int i = 0; i < m_felder.size(); ++i)
        e.values.append(storedValue(row, i));
    e.changed.assign(size_t(m_felder.size()), false);
    m_edit = std::move(e);
    Q_EMIT bearbeitungBegonnen(row, false);
    return true;
}

void RecordsetModel::endEdit()
{
    m_edit = {};
}

bool RecordsetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int field = fieldOfColumn(index.column());
    std::optional<QVariant> neu;
    if (value.typeId() == QMetaType::QString || value.isNull())
        neu = valueFromText(value.toString(), m_felder.at(field).typ);
    else
        neu = value; // already typed (a window filling in a value it read)
    if (!neu)
        return false;
    int row = index.row();
    if (isAddNewRow(row)) {
        if (!neueZeileBeginnen())
            return false;
        row = m_edit.row;
    } else if (m_edit.row != row) {
        if (m_edit.row >= 0 || !beginEdit(row))
            return false;
    }
    m_edit.values[field] = *neu;
    m_edit.changed[size_t(field)] = true;
    rowChanged(row);
    return true;
}

bool RecordsetModel::neueZeileBeginnen()
{
    if (m_edit.isNew)
        return true;
    if (!addNewRowShown() || m_edit.row >= 0)
        return false;
    // The new record goes after every record, so their number must be final first.
    anzahlErmitteln();
    if (!m_countFinal)
        return false;
    // The defaults and the next counter value as AddNew gives them; the record itself is
    // started again when it is saved, so the set stays free for the window meanwhile.
    QVariantList defaults;
    try {
        cancelPending(*m_rs);
        m_rs->addNew();
        for (int i = 0; i < m_felder.size(); ++i)
            defaults.append(m_rs->value(i));
        m_rs->cancelUpdate();
    } catch (const EngineError& e) {
        cancelPending(*m_rs);
        Q_EMIT lesefehler(e.number(), e.description());
        return false;
    }
    const int row = m_records;
    // The add-new row becomes the new record and a fresh one follows; the new record shows its
    // defaults only once the rows stand, so that both rows read the same while they are added.
    beginInsertRows({}, row + 1, row + 1);
    m_edit = {};
    m_edit.row = row;
    m_edit.isNew = true;
    m_edit.values = QVariantList(m_felder.size());
    m_edit.changed.assign(size_t(m_felder.size()), false);
    endInsertRows();
    m_edit.values = defaults;
    rowChanged(row);
    Q_EMIT bearbeitungBegonnen(row, true);
    return true;
}

std::optional<Rasterfehler> RecordsetModel::zeileSpeichern()
{
    if (m_edit.row < 0 || !m_rs)
        return std::nullopt;
    return m_edit.isNew ? saveNew() : saveChanges();
}

std::optional<Rasterfehler> RecordsetModel::writeBuffer()
{
    try {
        cancelPending(*m_rs);
        if (m_edit.isNew) {
            m_rs->addNew();
        } else {
            m_rs->setBookmark(m_edit.bookmark);
            m_rs->edit();
        }
        for (int i = 0; i < m_felder.size(); ++i) {
            if (m_edit.changed[size_t(i)])
                m_rs->setValue(i, m_edit.values.at(i));
        }
        m_rs->update();
    } catch (const EngineError& e) {
        cancelPending(*m_rs);
        return alsFehler(e);
    }
    return std::nullopt;
}

std::optional<Rasterfehler> RecordsetModel::saveNew()
{
    // The set's keys grow; a reader sharing them would make the set copy them first.
    releaseReader();
    if (auto fehler = writeBuffer())
        return fehler;
    const int row = m_edit.row;
    endEdit();
    ++m_records;
    // The saved record becomes the set's current record, as the window expects after saving.
    try {
        m_rs->setBookmark(m_rs->lastModified());
        m_current = int(m_rs->absolutePosition());
    } catch (const EngineError&) {
        m_current = row;
    }
    rowChanged(row);
    return std::nullopt;
}

std::optional<Rasterfehler> RecordsetModel::saveChanges()
{
    if (auto fehler = writeBuffer())
        return fehler;
    const int row = m_edit.row;
    endEdit();
    // The reader's page still holds the old values.
    releaseReader();
    if (m_current >= 0 && m_current != row)
        setzeAktuelleZeile(m_current);
    else
        m_current = row;
    rowChanged(row);
    return std::nullopt;
}

void RecordsetModel::zeileVerwerfen()
{
    if (m_edit.row < 0)
        return;
    const int row = m_edit.row;
    if (m_edit.isNew) {
        beginRemoveRows({}, row, row);
        endEdit();
        endRemoveRows();
        return;
    }
    endEdit();
    rowChanged(row);
}

std::optional<Rasterfehler> RecordsetModel::loeschen(const QList<QByteArray>& lesezeichen)
{
    for (const QByteArray& bookmark : lesezeichen) {
        if (auto fehler = removeRecord(bookmark))
            return fehler;
    }
    return std::nullopt;
}

std::optional<Rasterfehler> RecordsetModel::removeRecord(const QByteArray& bookmark)
{
    if (!m_rs)
        return std::nullopt;
    const int row = zeileVon(bookmark);
    if (row < 0)
        return std::nullopt;
    releaseReader();
    try {
        cancelPending(*m_rs);
        m_rs->setBookmark(bookmark);
        m_rs->remove();
    } catch (const EngineError& e) {
        cancelPending(*m_rs);
        setzeAktuelleZeile(m_current);
        return alsFehler(e);
    }
    // The set has lost the row already; while the views hear of it, the rows after it read
    // one row up.
    m_removing = row;
    beginRemoveRows({}, row, row);
    --m_records;
    if (m_edit.row == row)
        endEdit();
    else if (m_edit.row > row)
        --m_edit.row;
    if (m_current > row)
        --m_current;
    else if (m_current == row)
        m_current = std::min(row, m_records - 1);
    m_removing = -1;
    endRemoveRows();
    // A count under way may have seen the record still there.
    if (m_counter.running())
        startCount();
    if (m_current >= 0)
        setzeAktuelleZeile(m_current);
    return std::nullopt;
}

} // namespace kv::engine
