#include "framework/PageTable.h"
#include "framework/SinglePageEditModel.h"
#include "framework/TextProvider.h"
#include "framework/UIController.h"
#include "host/StringBridge.h"
#include "support/FakeAreas.h"
#include "support/FakeBusinessObject.h"
#include "controls/DtmTextControl.h"
#include "controls/ValidatorFactory.h"
#include "views/OfflineDlg.h"
#include "views/PageRegistration.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

using namespace orvx;

namespace {

// The single page of a control made as its edit model makes it, over a fake data set.
template <class Model>
class SinglePage : public ::testing::Test {
protected:
    void SetUp() override
    {
        views::RegisterPages();
        device->parameters = {{"15000", com::Variant::boolean(true)}, {"20000", com::Variant::boolean(false)},
                              {"1000", host::textVariant("1")},         {"4003", host::textVariant("6")},
                              {"5005", host::textVariant("40.0")},      {"5006", host::textVariant("100.0")}};
        model.Attach(&controller, &texts, device->identity(), {});
        controller.SetEditModel(&model);
        controller.SetMainSplitter(&splitter);
        controller.SetRegistered(true);
        controls::CValidatorFactory::SetTextProvider(&texts);
    }

    void set(const char* tag, const char* value) { device->parameters[QString::fromLatin1(tag)] = host::textVariant(value); }
    template <class T = QLineEdit>
    T* item(QWidget* page, int number) { return page->findChild<T*>(QStringLiteral("item_%1").arg(number)); }

    com::ComPtr<test::FakeBusinessObject> device = com::makeComObject<test::FakeBusinessObject>();
    Model model;
    framework::CTextProvider texts;
    test::FakeSplitter splitter;
    framework::CUIController controller;
};

using Offline = SinglePage<framework::CEditModelOffline>;

TEST_F(Offline, SupplyLimitsTakeTheDataSetsPressureUnitWithoutScalingTwice)
{
    auto* page = dynamic_cast<views::COfflineDlg*>(
        framework::CreateSinglePage(framework::SinglePage::Offline, &controller, &texts));
    ASSERT_NE(page, nullptr);
    page->Activate();
    page->RefreshControls(-1);
    QLineEdit* low = item(page, 1024);
    QLineEdit* high = item(page, 1025);
    EXPECT_EQ(low->text(), QStringLiteral("40.0"));
    EXPECT_EQ(item<QLabel>(page, 1224)->text(), QStringLiteral("psi"));

    // The data set turns to bar and keeps its limits in bar from then on.
    set("4003", "7");
    set("5005", "2.758");
    set("5006", "6.895");
    page->OnUpdate(501, QString());
    EXPECT_EQ(page->ShownPressureUnit(), 7u);
    EXPECT_EQ(low->text(), QStringLiteral("2.758"));
    EXPECT_EQ(high->text(), QStringLiteral("6.895"));
    for (int unitLabel : {1224, 1225})
        EXPECT_EQ(item<QLabel>(page, unitLabel)->text(), QStringLiteral("bar"));
    auto* lowField = dynamic_cast<controls::CDtmTextControl*>(page->Control(24));
    EXPECT_TRUE(lowField->Validate());
    low->setText(QStringLiteral("40"));
    EXPECT_FALSE(lowField->Validate()) << "40 is out of the bar range 2.069 to 7.584";

    // An unchanged unit leaves the fields as the refresh shows them.
    set("5005", "3.000");
    page->OnUpdate(502, QString());
    EXPECT_EQ(low->text(), QStringLiteral("3.000"));
}

TEST_F(Offline, ADataSetInBarIsShownInBarFromTheStart)
{
    set("4003", "7");
    set("5005", "2.758");
    auto* page = dynamic_cast<views::COfflineDlg*>(
        framework::CreateSinglePage(framework::SinglePage::Offline, &controller, &texts));
    ASSERT_NE(page, nullptr);
    page->RefreshControls(-1);
    page->Activate();
    EXPECT_EQ(item(page, 1024)->text(), QStringLiteral("2.758"));
    EXPECT_EQ(item<QLabel>(page, 1224)->text(), QStringLiteral("bar"));
}

}  // namespace
