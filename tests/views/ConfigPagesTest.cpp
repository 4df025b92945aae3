#include "framework/EditModel.h"
#include "framework/PageTable.h"
#include "framework/TextProvider.h"
#include "framework/UIController.h"
#include "host/StringBridge.h"
#include "support/FakeAreas.h"
#include "support/FakeBusinessObject.h"
#include "support/ScriptedDialogService.h"
#include "views/PageRegistration.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

using namespace orvx;

namespace {

class ConfigPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        views::RegisterPages();
        for (const auto& [tag, value] : std::initializer_list<std::pair<const char*, const char*>>{
                 {"1000", "0"}, {"1009", "0"}, {"4003", "6"}, {"7001", "5"}, {"7004", "1"}, {"7005", "3"}})
            device->parameters[QString::fromLatin1(tag)] = host::textVariant(QString::fromLatin1(value));
        device->parameters["15000"] = com::Variant::boolean(true);
        device->parameters["20000"] = com::Variant::boolean(true);
        model.Attach(&controller, &texts, device->identity(), {});
        controller.SetEditModel(&model);
        controller.SetMainSplitter(&splitter);
        controller.SetRegistered(true);
    }

    QWidget* open(std::int32_t view)
    {
        framework::IApplicationView* page = framework::CreatePage(view, &controller, &texts);
        if (!page)
            return nullptr;
        page->Activate();
        page->RefreshControls(-1);
        return page->GetWindow();
    }
    template <class T>
    static T* item(QWidget* page, int number)
    {
        return page->findChild<T*>(QStringLiteral("item_%1").arg(number));
    }
    int writesOf(const QString& tag) const
    {
        int n = 0;
        for (const test::Call& call : device->callsOf(QStringLiteral("SetParameter")))
            n += call.argument == tag;
        return n;
    }

    com::ComPtr<test::FakeBusinessObject> device = com::makeComObject<test::FakeBusinessObject>();
    framework::CEditModel model;
    framework::CTextProvider texts;
    test::FakeSplitter splitter;
    framework::CUIController controller;
    test::ScriptedDialogService dialogs;
};

TEST_F(ConfigPages, HartPageShowsCommunicationSettings)
{
    QWidget* page = open(9);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(item<QLineEdit>(page, 208)->text(), QStringLiteral("5"));
    EXPECT_TRUE(item<QLineEdit>(page, 208)->isReadOnly());
    EXPECT_EQ(item<QComboBox>(page, 213)->currentText(), QStringLiteral("Enter"));
    EXPECT_EQ(item<QComboBox>(page, 214)->currentText(), QStringLiteral("Cmd 3:Read All Variables"));
}

}  // namespace
