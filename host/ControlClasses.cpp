#include "AddressControl.h"
#include "FullControls.h"
#include "Module.h"

namespace orvx::host {

namespace {

// A new control holding the one reference the caller takes over.
template <class Control>
com::IUnknown* create()
{
    auto* control = new Control;
    control->AddRef();
    return control->identity();
}

}  // namespace

const std::vector<COrvxTarnelGUIModule::ClassInfo>& COrvxTarnelGUIModule::Classes()
{
    static const std::vector<ClassInfo> classes{
        {CLSID_OrvxESDDTMGUIView, IID_IOrvxESDDTMGUIView, COrvxESDDTMGUIView::kProgId, "OrvxESDDTMGUIView Class",
         "IOrvxESDDTMGUIView Interface", 102, &create<COrvxESDDTMGUIView>},
        {CLSID_Offline, IID_IOffline, COffline::kProgId, "Offline Class", "IOffline Interface", 117, &create<COffline>},
        {CLSID_Trend, IID_ITrend, CTrend::kProgId, "Trend Class", "ITrend Interface", 111, &create<CTrend>},
        {CLSID_TAdress, IID_ITAdress, CTAdress::kProgId, "TAdress Class", "ITAdress Interface", 114, &create<CTAdress>},
    };
    return classes;
}

}  // namespace orvx::host
