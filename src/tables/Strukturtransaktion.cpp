#include "tables/Strukturtransaktion.h"

#include "engine/EngineError.h"
#include "engine/Workspace.h"

namespace kv {

Strukturtransaktion::Strukturtransaktion(engine::Workspace& workspace)
    : m_workspace(workspace)
{
    m_workspace.beginTrans();
}

Strukturtransaktion::~Strukturtransaktion()
{
    if (!m_offen)
        return;
    try {
        m_workspace.rollback();
    } catch (const engine::EngineError&) {
        // The failure that brought us here is the one the user is told about.
    }
}

void Strukturtransaktion::festschreiben()
{
    m_workspace.commitTrans();
    m_offen = false;
}

} // namespace kv
