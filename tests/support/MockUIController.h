#pragma once

#include "controls/UIEventBase.h"
#include "frameworkapi/IUIController.h"

#include <gmock/gmock.h>

namespace orvx::test {

// A controller for tests of the parts that talk to one: pages, controls, areas, navigation.
// Its device state is made of what IsDeviceConnected, GetDeviceMode and IsWritable answer,
// so that a test sets each on its own.
class MockUIController : public framework::IUIController {
public:
    MockUIController()
    {
        ON_CALL(*this, GetDeviceState).WillByDefault([this] {
            framework::DeviceState state;
            state.connected = IsDeviceConnected();
            state.mode = GetDeviceMode();
            state.writable = IsWritable();
            return state;
        });
        ON_CALL(*this, FrictionLimitsValid).WillByDefault(::testing::Return(true));
    }

    MOCK_METHOD(bool, HandleEvent, (controls::CUIEventBase&), (override));
    MOCK_METHOD(void, RefreshControl, (std::int32_t, const QString&), (override));
    MOCK_METHOD(void, RefreshPage, (std::int32_t, std::int32_t), (override));
    MOCK_METHOD(void, ValidatePages, (std::int32_t), (override));
    MOCK_METHOD(void, NotifyDataReloaded, (), (override));
    MOCK_METHOD(void, ActivateView, (std::int32_t), (override));
    MOCK_METHOD(void, ApplyPageSettings, (std::int32_t, const QString&), (override));
    MOCK_METHOD(void, LoadLayoutDescription, (const QString&), (override));
    MOCK_METHOD(bool, RegisterView, (std::int32_t, framework::IApplicationView*), (override));
    MOCK_METHOD(QWidget*, GetMainWindow, (), (const, override));
    MOCK_METHOD(void, DestroyViews, (), (override));
    MOCK_METHOD(std::int32_t, GetActiveViewId, (), (const, override));
    MOCK_METHOD(framework::IIdentificationArea*, GetIdentificationArea, (), (const, override));
    MOCK_METHOD(framework::IActionArea*, GetActionArea, (), (const, override));
    MOCK_METHOD(framework::IStatusArea*, GetStatusArea, (), (const, override));
    MOCK_METHOD(framework::IToolbarArea*, GetToolbarArea, (), (const, override));
    MOCK_METHOD(framework::INavigationArea*, GetNavigationArea, (), (const, override));
    MOCK_METHOD(framework::IApplicationView*, GetView, (std::int32_t), (const, override));
    MOCK_METHOD(void, HideActionArea, (bool), (override));
    MOCK_METHOD(void, HideToolbarArea, (bool), (override));
    MOCK_METHOD(void, SetNavigationHidden, (bool), (override));
    MOCK_METHOD(bool, IsNavigationHidden, (), (const, override));
    MOCK_METHOD(bool, IsRegistered, (), (const, override));
    MOCK_METHOD(bool, IsPrivateDialogEnabled, (), (override));
    MOCK_METHOD(void, SetPrivateDialogEnabled, (bool), (override));
    MOCK_METHOD(void, SetSplitterFraction, (int), (override));
    MOCK_METHOD(void, Reserved, (std::int32_t, const QString&), (override));
    MOCK_METHOD(framework::ITextResource*, GetTextResource, (), (const, override));
    MOCK_METHOD(void, SetUserLevel, (const QString&), (override));
    MOCK_METHOD(QString, GetUserLevel, (), (const, override));
    MOCK_METHOD(bool, IsWritable, (), (const, override));
    MOCK_METHOD(void, ApplyWritability, (), (override));
    MOCK_METHOD(com::Variant, GetParameterValue, (const QString&), (override));
    MOCK_METHOD(void, SetParameterValue, (const QString&, const com::Variant&), (override));
    MOCK_METHOD(bool, FrictionLimitsValid, (), (const, override));
    MOCK_METHOD(void, SetFrictionLimitsValid, (bool), (override));
    MOCK_METHOD(void, SetOperation, (bool, std::int32_t, std::int32_t), (override));
    MOCK_METHOD(bool, IsOperationRunning, (), (const, override));
    MOCK_METHOD(std::int32_t, GetOperationOwner, (), (const, override));
    MOCK_METHOD(std::int32_t, GetOperationCode, (), (const, override));
    MOCK_METHOD(framework::DeviceState, GetDeviceState, (), (override));
    MOCK_METHOD(bool, IsDeviceConnected, (), (override));
    MOCK_METHOD(std::uint32_t, GetDeviceMode, (), (override));
    MOCK_METHOD(QString, GetModeText, (), (override));
    MOCK_METHOD(QBrush, GetBackgroundBrush, (), (const, override));
};

}  // namespace orvx::test
