// A control started as a frame starts it: the real controller, edit model, navigation tree and
// page base over the fake device, with test pages plugged into the page table.
#include "framework/ApplicationViewBase.h"
#include "framework/EditModel.h"
#include "framework/NavigationArea.h"
#include "framework/PageTable.h"
#include "host/FdtActiveXImpl.h"
#include "platform/com/ComObject.h"
#include "support/FakeAreas.h"
#include "support/FakeBusinessObject.h"

#include <gtest/gtest.h>

#include <QTreeWidget>

using namespace orvx;

namespace {

const com::BStr kCall = com::BStr(u"<FunctionCall xmlns=\"x-schema:DTMFunctionCallSchema.xml\"/>");

class MainControl : public com::ComObjectOf<com::InterfaceList<host::CFdtActiveXImpl>,
                                            com::InterfaceList<device::IDtmActiveXControl, device::IUpdateUI>> {
public:
    MainControl() : ComObjectOf(QStringLiteral("OrvxTarnelGUI.OrvxESDDTMGUIView"), &model) {}
    framework::CEditModel model;
    QWidget window;

protected:
    com::IUnknown* GetControlUnknown() override { return static_cast<device::IDtmActiveXControl*>(this); }
    QWidget* GetControlWindow() override { return &window; }
};

class ControlStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (std::int32_t view : {0, 8})
            framework::SetPageMaker(view, [] { return std::make_unique<framework::CApplicationViewBase>(); });
        device->parameters = {{"20000", com::Variant::boolean(false)},
                              {"15000", com::Variant::boolean(true)},
                              {"1000", com::Variant::int32(3)},
                              {"1009", com::Variant::int32(0)}};
        device->stateDocument = test::FakeBusinessObject::stateDocumentOf({{"userLevel", "maintenance"}});
        navigation.CreateWindow(splitter.window);
        host::ControlAreas areas;
        areas.splitter = &splitter;
        areas.navigation = &navigation;
        control->AttachAreas(areas);
        navigation.SetController(&control->Controller());
    }
    void TearDown() override
    {
        bool result = false;
        control->PrepareToRelease(&result);
        for (std::int32_t view : {0, 8})
            framework::SetPageMaker(view, nullptr);
    }

    com::ComPtr<test::FakeBusinessObject> device = com::makeComObject<test::FakeBusinessObject>();
    test::FakeSplitter splitter;
    framework::CNavigationArea navigation;
    com::ComPtr<MainControl> control = com::makeComObject<MainControl>();
};

TEST_F(ControlStart, InitShowsTheRootPageOfTheNavigationTree)
{
    bool result = false;
    ASSERT_EQ(control->Init(com::BStr(u"frame"), kCall, device->identity(), &result), com::Status::Ok);
    ASSERT_TRUE(result);
    QTreeWidget* tree = navigation.GetTree();
    EXPECT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
    auto& controller = control->Controller();
    EXPECT_EQ(controller.GetActiveViewId(), 0);
    ASSERT_NE(controller.GetView(0), nullptr);
    EXPECT_EQ(splitter.page, controller.GetView(0)->GetWindow());
    EXPECT_TRUE(controller.GetView(0)->IsActivated());
}

TEST_F(ControlStart, AViewWithoutAPageClassShowsAnEmptyBodyNotTheLastPage)
{
    bool result = false;
    control->Init(com::BStr(u"frame"), kCall, device->identity(), &result);
    navigation.SelectView(7);
    EXPECT_EQ(control->Controller().GetActiveViewId(), 7);
    EXPECT_EQ(control->Controller().GetView(7), nullptr);
    EXPECT_FALSE(control->Controller().GetView(0)->IsActivated());
}

TEST_F(ControlStart, ViewsEightAndNineteenAreTwoPagesOfOneClass)
{
    bool result = false;
    control->Init(com::BStr(u"frame"), kCall, device->identity(), &result);
    navigation.SelectView(8);
    navigation.SelectView(19);
    auto& controller = control->Controller();
    ASSERT_NE(controller.GetView(8), nullptr);
    ASSERT_NE(controller.GetView(19), nullptr);
    EXPECT_NE(controller.GetView(8), controller.GetView(19));
    EXPECT_EQ(controller.GetActiveViewId(), 19);
    EXPECT_FALSE(controller.GetView(8)->IsActivated());
}

}  // namespace
