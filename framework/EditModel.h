#pragma once

#include "EditModelBase.h"

namespace orvx::framework {

// The edit model of the main online control: every event kind, page creation on request, the
// operation bookkeeping and mode tracking on notifications.
class CEditModel : public CEditModelBase {
public:
    void OnUpdate(std::int32_t code, const QString& text) override;
    void InitAreas() override;
    bool HandleEvent(controls::CUIEventBase& event) override;

private:
    void deliverTo(std::int32_t viewId, std::int32_t code, const QString& text);
    void recheckAvailability(std::int32_t viewId);

    std::uint32_t m_lastMode = 512;  // no mode: the first mode notification always counts
};

}  // namespace orvx::framework
