#pragma once

namespace orvx::framework {

// What CPageAccess needs of the page it gates.
class IGatedPage {
public:
    virtual ~IGatedPage() = default;
    // The controls take the user's write rights again (read-only for a user who may not write).
    virtual void RefreshWriteAccess() = 0;
    // Tells every data-bound control of the page whether the device's mode lets it be used.
    virtual void EnableControlsForMode(bool enable) = 0;
    // The page's own part of mode gating, after the common part: what the mode must also
    // enable or disable that is no bound control or operation button.
    virtual void ModeGated(bool allowed) = 0;
    // The page's own part of connection gating, after the common part.
    virtual void OnlineGated(bool online) = 0;
};

}  // namespace orvx::framework
