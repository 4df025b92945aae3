#pragma once

#include "Guids.h"
#include "platform/com/Unknown.h"

class QWidget;

namespace orvx::host {

// How a frame hosts a control's window: it hands the control a parent widget before Init, and
// takes the control's window to place it. Frame and module share the process's Qt.
class IDtmControlWindow : public com::IUnknown {
public:
    static constexpr Guid iid = IID_IDtmControlWindow;

    // slot 3: creates the control's window under 'parent' (once; a second call fails).
    virtual com::Status CreateControlWindow(QWidget* parent) = 0;
    // slot 4: the control's window, or none before it was created.
    virtual QWidget* ControlWindow() = 0;

protected:
    ~IDtmControlWindow() = default;
};

// The dispatch interfaces of the four controls: no operations beyond the dispatch ones.
template <const Guid& Id>
class IControlDispatch : public com::IDispatch {
public:
    static constexpr Guid iid = Id;

protected:
    ~IControlDispatch() = default;
};
using IOrvxESDDTMGUIView = IControlDispatch<IID_IOrvxESDDTMGUIView>;
using IOffline = IControlDispatch<IID_IOffline>;
using ITrend = IControlDispatch<IID_ITrend>;
using ITAdress = IControlDispatch<IID_ITAdress>;

}  // namespace orvx::host
