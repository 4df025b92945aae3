#pragma once

namespace orvx::controls {

// Blocks a control's Set events while the program, not the user, writes its widget. The flag is
// cleared again however the scope is left.
class CBlockEvents {
public:
    explicit CBlockEvents(bool& blocked) : m_blocked(blocked) { m_blocked = true; }
    ~CBlockEvents() { m_blocked = false; }
    CBlockEvents(const CBlockEvents&) = delete;
    CBlockEvents& operator=(const CBlockEvents&) = delete;

private:
    bool& m_blocked;
};

}  // namespace orvx::controls
