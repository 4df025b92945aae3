#pragma once

#include "EditModelBase.h"

namespace orvx::framework {

// The edit model of the main online control: every event kind, page creation on request and
// the operation bookkeeping on notifications. A change of the device's mode is the
// controller's to follow: it derives the device's state.
class CEditModel : public CEditModelBase {
public:
    void OnUpdate(std::int32_t code, const QString& text) override;
    void InitAreas() override;
    bool HandleEvent(controls::CUIEventBase& event) override;

private:
    void deliverTo(std::int32_t viewId, std::int32_t code, const QString& text);
};

}  // namespace orvx::framework
