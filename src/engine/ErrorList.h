#pragma once

#include "engine/core/EngineError.h"

#include <QList>

namespace kv::engine {

/// The errors of the last failure, as a workspace keeps them for Workspace::errors(): one
/// error, since the engine reports one cause per failure.
class ErrorList {
public:
    const QList<EngineError>& errors() const { return m_errors; }
    void setLast(const EngineError& error) { m_errors = { error }; }

private:
    QList<EngineError> m_errors;
};

/// Runs f; an engine error it throws becomes the last failure of list (objects without a
/// workspace have none) before it goes on to the caller.
template <class F> auto recordErrors(ErrorList* list, F&& f) -> decltype(f())
{
    try {
        return f();
    } catch (const EngineError& e) {
        if (list)
            list->setLast(e);
        throw;
    }
}

} // namespace kv::engine
