#pragma once

#include "engine/ForeignWriteJournal.h"

#include <QHash>
#include <QString>
#include <memory>

namespace kv::engine {

namespace isam {
class IsamTable;
} // namespace isam

/// The foreign tables open on one connection, shared by its virtual tables over the same table.
/// SQLite connects a virtual table anew after a rollback to a savepoint in a transaction that
/// changed the schema, while the old one still takes part in the transaction; both must write
/// through the same driver, which holds the file's record count and unwritten records, and the
/// same journal.
class ForeignTableShare {
public:
    struct Opened {
        std::shared_ptr<isam::IsamTable> table;
        std::shared_ptr<ForeignWriteJournal> journal;
    };
    /// The table a connect text and source name, opened through openForeignTable unless a
    /// virtual table of the connection holds it already. Throws isam::IsamError as that does.
    Opened open(const QString& connect, const QString& source);

private:
    struct State;
    QHash<QString, std::weak_ptr<State>> m_open;
};

} // namespace kv::engine
