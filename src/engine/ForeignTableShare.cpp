#include "engine/ForeignTableShare.h"

#include "engine/ForeignTableSource.h"

namespace kv::engine {

struct ForeignTableShare::State {
    std::unique_ptr<isam::IsamTable> table;
    ForeignWriteJournal journal;
};

ForeignTableShare::Opened ForeignTableShare::open(const QString& connect, const QString& source)
{
    const QString key = connect + QChar(0) + source.toLower();
    std::shared_ptr<State> state = m_open.value(key).lock();
    if (!state) {
        for (auto it = m_open.begin(); it != m_open.end();)
            it = it->expired() ? m_open.erase(it) : std::next(it);
        state = std::make_shared<State>();
        state->table = openForeignTable(connect, source);
        // A table made inside a transaction takes part in it without being begun.
        state->journal.begin(*state->table);
        m_open.insert(key, state);
    }
    return { std::shared_ptr<isam::IsamTable>(state, state->table.get()),
        std::shared_ptr<ForeignWriteJournal>(state, &state->journal) };
}

} // namespace kv::engine
