// The business object and the frame find each operation by its place in the operation table,
// so the places are part of the contract. On the Itanium C++ ABI a pointer to a virtual member
// function holds 1 + the byte offset of its slot.
#include "device/IDtmActiveXControl.h"
#include "device/IDtmUiCurrent.h"
#include "device/IDtmUiEarlier.h"
#include "device/IDtmUiRegistry.h"
#include "device/IUpdateUI.h"
#include "host/Guids.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace orvx::device;
using namespace orvx::host;
using orvx::com::IClassFactory;
using orvx::com::IDispatch;
using orvx::com::IUnknown;

namespace {

template <class F>
std::ptrdiff_t slotOf(F pointer)
{
    static_assert(sizeof(F) == 2 * sizeof(std::ptrdiff_t));
    std::ptrdiff_t raw[2];
    std::memcpy(raw, &pointer, sizeof raw);
    if ((raw[0] & 1) == 0)
        return -1;  // not a virtual function
    return (raw[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

struct SlotCase {
    const char* operation;
    std::ptrdiff_t slot;
    std::ptrdiff_t expected;
};

TEST(InterfaceSlots, OperationsSitInTheirDocumentedSlots)
{
    const SlotCase cases[] = {
        {"IUnknown::QueryInterface", slotOf(&IUnknown::QueryInterface), 0},
        {"IUnknown::Release", slotOf(&IUnknown::Release), 2},
        {"IDispatch::GetTypeInfoCount", slotOf(&IDispatch::GetTypeInfoCount), 3},
        {"IDispatch::Invoke", slotOf(&IDispatch::Invoke), 6},
        {"IClassFactory::CreateInstance", slotOf(&IClassFactory::CreateInstance), 3},
        {"IClassFactory::LockServer", slotOf(&IClassFactory::LockServer), 4},
        {"IDtmUiRegistry::RegisterControl", slotOf(&IDtmUiRegistry::RegisterControl), 7},
        {"IDtmUiRegistry::UnregisterControl", slotOf(&IDtmUiRegistry::UnregisterControl), 8},
        {"IDtmUiCurrent::GetText", slotOf(&IDtmUiCurrent::GetText), 10},
        {"IDtmUiCurrent::GetStateDocument", slotOf(&IDtmUiCurrent::GetStateDocument), 14},
        {"IDtmUiEarlier::CloseControl", slotOf(&IDtmUiEarlier::CloseControl), 7},
        {"IDtmUiEarlier::GetText", slotOf(&IDtmUiEarlier::GetText), 8},
        {"IDtmUiEarlier::GetStateDocument", slotOf(&IDtmUiEarlier::GetStateDocument), 12},
        {"IDtmUiEarlier::GetParameter", slotOf(&IDtmUiEarlier::GetParameter), 13},
        {"IDtmUiEarlier::SetParameter", slotOf(&IDtmUiEarlier::SetParameter), 14},
        {"IDtmUiEarlier::RegisterControl", slotOf(&IDtmUiEarlier::RegisterControl), 15},
        {"IDtmUiEarlier::UnregisterControl", slotOf(&IDtmUiEarlier::UnregisterControl), 16},
        {"IUpdateUI::Notify", slotOf(&IUpdateUI::Notify), 7},
        {"IDtmActiveXControl::Init", slotOf(&IDtmActiveXControl::Init), 7},
        {"IDtmActiveXControl::PrepareToRelease", slotOf(&IDtmActiveXControl::PrepareToRelease), 8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.slot, c.expected) << c.operation;
}

TEST(InterfaceSlots, EveryIdentifierIsDistinct)
{
    const orvx::com::Guid ids[] = {
        IID_IDtmUiRegistry,     IID_IDtmUiCurrent, IID_IDtmUiEarlier,  IID_IUpdateUI,       IID_IDtmActiveXControl,
        IID_IOrvxESDDTMGUIView, IID_IOffline,      IID_ITrend,         IID_ITAdress,        CLSID_OrvxESDDTMGUIView,
        CLSID_Offline,          CLSID_Trend,       CLSID_TAdress,      APPID_OrvxTarnelGUI, LIBID_OrvxTarnelGUILib,
        IUnknown::iid,          IDispatch::iid,    IClassFactory::iid,
    };
    for (std::size_t i = 0; i < std::size(ids); ++i)
        for (std::size_t j = i + 1; j < std::size(ids); ++j)
            EXPECT_NE(ids[i], ids[j]) << ids[i].toString();
}

}  // namespace
