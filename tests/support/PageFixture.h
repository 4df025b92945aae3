#pragma once

#include "device/StringBridge.h"
#include "framework/ApplicationViewBase.h"
#include "framework/EditModel.h"
#include "framework/TextProvider.h"
#include "framework/UIController.h"
#include "support/FakeAreas.h"
#include "support/FakeBusinessObject.h"
#include "support/ScriptedDialogService.h"
#include "views/PageRegistration.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QList>
#include <QMap>
#include <QString>
#include <QWidget>

#include <initializer_list>
#include <utility>

namespace orvx::test {

using DeviceParameters = QMap<QString, com::Variant>;

// The pages of a control made as its edit model makes them, over a fake device: the page
// classes registered, the model attached to the device, and the hub holding the model, a
// splitter and the registration. A suite plays its own device by overriding Parameters().
// The status area is there for the suites that attach it; every dialog is scripted.
template <class Model = framework::CEditModel>
class PageFixture : public ::testing::Test {
public:
    // A connected device with the given parameters as texts; message boxes are allowed only
    // when asked for.
    static DeviceParameters ConnectedDevice(std::initializer_list<std::pair<const char*, const char*>> texts,
                                            bool messageBoxes = false)
    {
        DeviceParameters parameters{{QStringLiteral("15000"), com::Variant::boolean(true)},
                                    {QStringLiteral("20000"), com::Variant::boolean(messageBoxes)}};
        for (const auto& [tag, value] : texts)
            parameters[QString::fromLatin1(tag)] = device::textVariant(QString::fromLatin1(value));
        return parameters;
    }

protected:
    // The device's parameters when each test starts.
    virtual DeviceParameters Parameters() const { return ConnectedDevice({}); }

    void SetUp() override
    {
        views::RegisterPages();
        device->parameters = Parameters();
        model.Attach(&controller, &texts, device->identity(), {});
        controller.SetEditModel(&model);
        controller.SetMainSplitter(&splitter);
        controller.SetRegistered(true);
    }

    // The widget a page's form numbers 'number'.
    template <class T = QWidget>
    static T* item(const QWidget* page, int number)
    {
        return page->findChild<T*>(QStringLiteral("item_%1").arg(number));
    }
    // Shows a view through the hub, as the navigation tree does; its page, or null.
    framework::CApplicationViewBase* showPage(std::int32_t view)
    {
        controller.ActivateView(view);
        return dynamic_cast<framework::CApplicationViewBase*>(controller.GetView(view));
    }
    // Types a text into a field and leaves it.
    static void enter(const QWidget* page, int number, const QString& text)
    {
        auto* edit = item<QLineEdit>(page, number);
        edit->setText(text);
        edit->setModified(true);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &out);
    }
    // Bit i: the page's operation button i is enabled.
    static std::uint8_t enabledButtons(const framework::CApplicationViewBase& page)
    {
        std::uint8_t mask = 0;
        for (int i = 0; i < page.MethodWindows().size(); ++i)
            mask |= std::uint8_t(page.MethodWindows()[i]->isEnabled() << i);
        return mask;
    }
    // The device answers through the hub, which clears the running operation as it would; then
    // what the page posted runs.
    void deliver(std::int32_t code, const char* value = "")
    {
        controller.OnDtmUpdate(code, QString::fromLatin1(value));
        QCoreApplication::processEvents();
    }
    // The values written to the invalid-entry counter, in order.
    QList<int> counted() const
    {
        QList<int> values;
        for (const Call& call : device->callsOf(QStringLiteral("SetParameter")))
            if (call.argument == QLatin1String("15001"))
                values.append(call.value.toInt32());
        return values;
    }

    // In the order they must outlive each other: the hub goes first, the dialog service last.
    ScriptedDialogService dialogs;
    com::ComPtr<FakeBusinessObject> device = com::makeComObject<FakeBusinessObject>();
    DeliveryLog log;
    FakeStatusArea status{&log};
    Model model;
    framework::CTextProvider texts;
    FakeSplitter splitter;
    framework::CUIController controller;
};

// The main control's hub over a fake device in Manual mode, as the frame has it after Init:
// the status area attached, a user who may write, the window shown.
class MainViewFixture : public PageFixture<> {
protected:
    DeviceParameters Parameters() const override
    {
        return ConnectedDevice({{"1000", "1"}, {"1009", "0"}, {"1005", "1"}, {"4003", "6"}, {"4007", "6"}});
    }
    void SetUp() override
    {
        PageFixture::SetUp();
        controller.SetStatusArea(&status, nullptr);
        controller.SetUserLevel(QStringLiteral("maintenance"));
        splitter.parent.show();
    }
};

}  // namespace orvx::test
