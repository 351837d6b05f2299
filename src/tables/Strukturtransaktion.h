#pragma once

namespace kv::engine {
class Workspace;
}

namespace kv {

/// A workspace transaction around a structure change made of several engine steps: rolled back
/// by the destructor unless committed, so that a failure halfway leaves everything as before.
/// After a rollback the engine has read its collections again; references into them are gone.
class Strukturtransaktion {
public:
    /// Throws engine::EngineError (3034) while the user's own transaction is open.
    explicit Strukturtransaktion(engine::Workspace& workspace);
    ~Strukturtransaktion();
    Strukturtransaktion(const Strukturtransaktion&) = delete;
    Strukturtransaktion& operator=(const Strukturtransaktion&) = delete;

    void festschreiben();

private:
    engine::Workspace& m_workspace;
    bool m_offen = true;
};

} // namespace kv
