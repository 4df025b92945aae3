#include "controls/ValidatorFactory.h"
#include "device/StringBridge.h"
#include "framework/TooltipRelay.h"
#include "host/AddressControl.h"
#include "host/FdtActiveXImpl.h"
#include "platform/com/ComObject.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/PostCall.h"
#include "support/FakeAreas.h"
#include "support/FakeBusinessObject.h"
#include "support/RecordingEditModel.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>

#include <cmath>

using namespace orvx;
using host::CFdtActiveXImpl;
using test::FakeBusinessObject;
using test::Via;

namespace {

const com::BStr kCall = com::BStr(u"<FunctionCall xmlns=\"x-schema:DTMFunctionCallSchema.xml\"/>");

// A control as the module builds one: its identity answers the frame's and the callback interface.
class TestControl : public com::ComObjectOf<com::InterfaceList<CFdtActiveXImpl>,
                                            com::InterfaceList<device::IDtmActiveXControl, device::IUpdateUI>> {
public:
    explicit TestControl(framework::IUIEditModel* model) : ComObjectOf(QStringLiteral("OrvxTarnelGUI.Trend"), model) {}
    QWidget window;

protected:
    com::IUnknown* GetControlUnknown() override { return static_cast<device::IDtmActiveXControl*>(this); }
    QWidget* GetControlWindow() override { return &window; }
};

class FdtEntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        device->stateDocument = FakeBusinessObject::stateDocumentOf(
            {{"name", "PV-101"}, {"state", "Online"}, {"dataSetState", "validModified"}, {"userLevel", "maintenance"}});
        host::ControlAreas areas;
        areas.splitter = &splitter;
        areas.status = &status;
        areas.statusUpdates = &status;
        areas.identification = &identification;
        areas.identificationUpdates = &identification;
        control->AttachAreas(areas);
        model.makePage = [this](std::int32_t id) { return new test::FakePage(id, &log); };
    }
    // The fake device holds the registered control until it is unregistered.
    void TearDown() override
    {
        bool result = false;
        control->PrepareToRelease(&result);
    }

    bool init(com::IUnknown* businessObject, const com::BStr& call = kCall)
    {
        bool result = true;
        EXPECT_EQ(control->Init(com::BStr(u"frame-7"), call, businessObject, &result), com::Status::Ok);
        return result;
    }

    test::DeliveryLog log;
    test::RecordingEditModel model{&log};
    test::FakeSplitter splitter;
    test::FakeStatusArea status{&log};
    test::FakeIdentificationArea identification{&log};
    com::ComPtr<FakeBusinessObject> device = com::makeComObject<FakeBusinessObject>();
    com::ComPtr<TestControl> control = com::makeComObject<TestControl>(&model);
};

TEST_F(FdtEntryTest, RefusesANullBusinessObjectOrAForeignFunctionCall)
{
    EXPECT_FALSE(init(nullptr));
    EXPECT_FALSE(init(device->identity(), com::BStr(u"<FunctionCall xmlns='x-schema:Other.xml'/>")));
    EXPECT_FALSE(control->HoldsBusinessObject());
    EXPECT_TRUE(control->CallerTag().isNull()) << "nothing is kept";
    EXPECT_TRUE(device->calls.isEmpty());
    EXPECT_EQ(model.initAreas, 0);
}

TEST_F(FdtEntryTest, RegistersThroughTheNewerInterfaceFirst)
{
    struct Case {
        bool registry, earlier, accept;
        bool result, registered;
        Via via;
    };
    const Case cases[] = {
        {true, true, true, true, true, Via::Registry},
        {false, true, true, true, true, Via::Earlier},
        {true, true, false, true, false, Via::Registry},  // true means a way to register was found
        {false, false, true, false, false, Via::Registry},
    };
    for (const auto& c : cases) {
        auto other = com::makeComObject<FakeBusinessObject>();
        other->answersRegistry = c.registry;
        other->answersEarlier = c.earlier;
        other->acceptRegistration = c.accept;
        test::RecordingEditModel otherModel(&log);
        auto fresh = com::makeComObject<TestControl>(&otherModel);
        bool result = false;
        fresh->Init(com::BStr(u"frame-7"), kCall, other->identity(), &result);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(fresh->IsRegistered(), c.registered);
        EXPECT_EQ(fresh->Controller().IsRegistered(), c.registered);
        const auto registrations = other->callsOf("RegisterControl");
        if (c.registry || c.earlier) {
            ASSERT_EQ(registrations.size(), 1);
            EXPECT_EQ(registrations[0].via, c.via);
            EXPECT_EQ(registrations[0].argument, QStringLiteral("frame-7"));
            EXPECT_EQ(device::variantText(registrations[0].value), QStringLiteral("OrvxTarnelGUI.Trend"));
        } else {
            EXPECT_TRUE(registrations.isEmpty());
            EXPECT_EQ(otherModel.initAreas, 1) << "an unregistered control still starts its view";
        }
        bool released = false;
        fresh->PrepareToRelease(&released);
    }
}

TEST_F(FdtEntryTest, StartsTheUiFromTheStateDocument)
{
    device->texts["PV-101"] = "Feed valve PV-101";
    ASSERT_TRUE(init(device->identity()));
    EXPECT_EQ(identification.deviceName, QStringLiteral("Feed valve PV-101"));
    EXPECT_EQ(status.connection, framework::ConnectionOnline);
    EXPECT_EQ(status.dataSet, framework::DataSetValidModified);
    EXPECT_EQ(control->Controller().GetUserLevel(), QStringLiteral("maintenance"));
    EXPECT_EQ(model.GetUserLevel(), QStringLiteral("maintenance"));
    EXPECT_EQ(model.GetFunctionCall(), device::toQString(kCall));
    EXPECT_EQ(model.GetCallerTag(), QStringLiteral("frame-7"));
    EXPECT_EQ(model.initAreas, 1);
    EXPECT_FALSE(control->Controller().GetPrivateDialogFlag());
    EXPECT_EQ(framework::CTooltipRelay::instance().users(), 1);
    EXPECT_EQ(control->Controller().GetTextResource(), &control->TextProvider());
}

TEST_F(FdtEntryTest, MissingStateAttributesTakeTheirDefaults)
{
    struct Case {
        const char* document;
        bool privateDialogs;
        int connection;
    };
    const Case cases[] = {
        {"<DtmState/>", false, framework::ConnectionOffline},
        {"<DtmState isPrivateDialogEnabled='1' state='GoingOnline'/>", true, framework::ConnectionGoingOnline},
        {"<DtmState isPrivateDialogEnabled='true' state='Offline'/>", false, framework::ConnectionOffline},
        {"not xml", false, framework::ConnectionOffline},
    };
    for (const auto& c : cases) {
        auto other = com::makeComObject<FakeBusinessObject>();
        other->stateDocument = QString::fromLatin1(c.document);
        test::RecordingEditModel otherModel(&log);
        auto fresh = com::makeComObject<TestControl>(&otherModel);
        test::FakeStatusArea freshStatus(&log);
        host::ControlAreas areas;
        areas.status = &freshStatus;
        fresh->AttachAreas(areas);
        bool result = false;
        fresh->Init(com::BStr(u"t"), kCall, other->identity(), &result);
        EXPECT_EQ(fresh->Controller().GetPrivateDialogFlag(), c.privateDialogs) << c.document;
        EXPECT_EQ(freshStatus.connection, c.connection) << c.document;
        EXPECT_TRUE(fresh->Controller().GetUserLevel().isEmpty());
        EXPECT_TRUE(fresh->Controller().IsWritable()) << "an empty level is not an observer";
        fresh->PrepareToRelease(&result);
    }
}

TEST_F(FdtEntryTest, NotificationsReachTheControllerAndFailuresAreAnswered)
{
    ASSERT_TRUE(init(device->identity()));
    log.clear();
    EXPECT_EQ(device->notify(526, com::Variant::int32(3)), com::Status::Ok);
    EXPECT_TRUE(log.contains("editmodel 526 3"));
    EXPECT_TRUE(log.contains("status 526 3"));

    log.clear();
    const auto status = device->notify(526, com::Variant::float64(std::nan("")));
    EXPECT_TRUE(com::failed(status)) << "a value without a text form is a failure, not a crash";
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(this->status.message.contains(QStringLiteral("Notification failed")));
}

TEST_F(FdtEntryTest, FailuresCaughtInHandlersShowOnTheStatusLineUntilRelease)
{
    ASSERT_TRUE(init(device->identity()));
    QObject target;
    ui::postCall(&target, [] { throw std::runtime_error("device gone"); });
    QCoreApplication::processEvents();
    EXPECT_EQ(status.message, QStringLiteral("posted call failed: device gone"));

    bool result = false;
    control->PrepareToRelease(&result);
    ui::reportError(QStringLiteral("after release"));
    EXPECT_EQ(status.message, QStringLiteral("posted call failed: device gone"));
}

TEST_F(FdtEntryTest, ReleaseUnregistersWithTheCallerTagAndDetaches)
{
    ASSERT_TRUE(init(device->identity()));
    bool result = false;
    EXPECT_EQ(control->PrepareToRelease(&result), com::Status::Ok);
    EXPECT_TRUE(result);
    EXPECT_EQ(model.detaches, 1);
    EXPECT_EQ(control->Controller().GetEditModel(), nullptr);
    const auto calls = device->callsOf("UnregisterControl");
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].via, Via::Registry);
    EXPECT_EQ(calls[0].argument, QStringLiteral("frame-7"));
    EXPECT_TRUE(calls[0].value.toBool());
    EXPECT_FALSE(control->HoldsBusinessObject());
    EXPECT_EQ(device->referenceCount(), 2u) << "only the text provider keeps its source, until the control goes";
}

TEST_F(FdtEntryTest, ReleaseWithoutInitDoesNothing)
{
    bool result = false;
    EXPECT_EQ(control->PrepareToRelease(&result), com::Status::Ok);
    EXPECT_TRUE(result);
    EXPECT_TRUE(device->calls.isEmpty());
}

// Two controls in one frame: each one's validators take the texts of its own business object,
// and the other going takes nothing away from it.
TEST_F(FdtEntryTest, EachControlKeepsItsOwnTexts)
{
    ASSERT_TRUE(init(device->identity()));
    test::RecordingEditModel otherModel(&log);
    {
        auto second = com::makeComObject<TestControl>(&otherModel);
        bool result = false;
        second->Init(com::BStr(u"b"), kCall, device->identity(), &result);
        EXPECT_EQ(second->Controller().GetTextResource(), &second->TextProvider());
        EXPECT_EQ(control->Controller().GetTextResource(), &control->TextProvider());
        second->PrepareToRelease(&result);
    }
    EXPECT_EQ(control->Controller().GetTextResource(), &control->TextProvider());
}

// The address control as the module makes it, with its window under a frame's widget.
struct AddressPanel {
    AddressPanel() { control->CreateControlWindow(&parent); }
    ~AddressPanel()
    {
        bool result = false;
        control->PrepareToRelease(&result);
    }
    QComboBox* list() const { return control->ControlWindow()->findChild<QComboBox*>(ui::itemName(350)); }
    QPushButton* button(int item) const
    {
        return control->ControlWindow()->findChild<QPushButton*>(ui::itemName(item));
    }

    QWidget parent;
    com::ComPtr<host::CTAdress> control = com::makeComObject<host::CTAdress>();
};

TEST(AddressEntry, RegistersThroughTheEarlierInterfaceAndReadsTheAddress)
{
    struct Case {
        com::Variant address;
        int selected;
    };
    const Case cases[] = {
        {com::Variant::int32(5), 5},
        {com::Variant::int32(15), 15},
        {com::Variant::int32(16), 0},  // beyond the list: nothing is selected anew
        {device::textVariant("x"), 0},
    };
    for (const auto& c : cases) {
        auto device = com::makeComObject<FakeBusinessObject>();
        device->parameters["1010"] = c.address;
        bool result = false;
        {
            AddressPanel panel;
            panel.control->Init(com::BStr(u"addr"), kCall, device->identity(), &result);
            EXPECT_TRUE(result);
            ASSERT_EQ(device->callsOf("RegisterControl").size(), 1);
            EXPECT_EQ(device->callsOf("RegisterControl")[0].via, Via::Earlier);
            EXPECT_EQ(panel.list()->currentIndex(), c.selected);
        }
        EXPECT_EQ(device->callsOf("UnregisterControl")[0].via, Via::Earlier);
    }
}

TEST(AddressEntry, AnObserverCannotChangeTheAddress)
{
    auto device = com::makeComObject<FakeBusinessObject>();
    device->stateDocument = FakeBusinessObject::stateDocumentOf({{"userLevel", "observer"}});
    AddressPanel panel;
    bool result = false;
    panel.control->Init(com::BStr(u"addr"), kCall, device->identity(), &result);
    EXPECT_FALSE(panel.control->IsWritable());
    EXPECT_FALSE(panel.list()->isEnabled());
    // Behind the disabled widgets, too, nothing reaches the device.
    panel.control->OnSelectionChanged(7);
    EXPECT_FALSE(panel.button(213)->isEnabled());
    panel.control->OnApply();
    EXPECT_EQ(device->writtenTags(), QStringList());
    panel.control->ApplyUserLevel(QStringLiteral("maintenance"));
    EXPECT_TRUE(panel.list()->isEnabled());
    EXPECT_TRUE(panel.button(214)->isEnabled());
}

TEST(AddressEntry, ApplyWritesTheAddressAndTheCommandThatTakesIt)
{
    auto device = com::makeComObject<FakeBusinessObject>();
    device->parameters["1010"] = com::Variant::int32(2);
    AddressPanel panel;
    bool result = false;
    panel.control->Init(com::BStr(u"addr"), kCall, device->identity(), &result);
    QPushButton* apply = panel.button(213);
    panel.control->OnSelectionChanged(5);
    EXPECT_TRUE(apply->isEnabled());
    panel.control->OnSelectionChanged(2);
    EXPECT_FALSE(apply->isEnabled()) << "the current address again";

    panel.list()->setCurrentIndex(5);
    panel.control->OnSelectionChanged(5);
    QStringList reported;
    const auto previous = ui::setErrorReporter([&](const QString& message) { reported.append(message); });
    // The command would take the old address: it is not sent after a failed write.
    for (const char* failing : {"1010", "29"}) {
        device->failingTags = {{QString::fromLatin1(failing), com::Status::Failure}};
        panel.control->OnApply();
        EXPECT_TRUE(apply->isEnabled()) << failing << ": a failed write leaves Apply offered";
        EXPECT_EQ(panel.control->CurrentAddress(), 2) << failing;
    }
    EXPECT_EQ(reported.size(), 2);
    EXPECT_TRUE(reported.value(0).startsWith("The polling address was not changed: writing the polling address"));
    ui::setErrorReporter(previous);
    device->failingTags.clear();
    panel.control->OnApply();
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_EQ(panel.control->CurrentAddress(), 5);
    EXPECT_EQ(device->writtenTags(), (QStringList{"1010", "1010", "29", "1010", "29"}));
    EXPECT_EQ(device->callsOf("SetParameter")[3].value, com::Variant::int32(5));

    panel.control->OnClose();
    ASSERT_EQ(device->callsOf("CloseControl").size(), 1);
    EXPECT_EQ(device->callsOf("CloseControl")[0].argument, QStringLiteral("addr"));
}

}  // namespace
