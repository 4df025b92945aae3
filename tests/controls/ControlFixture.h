#pragma once

#include "controls/IFdtControl.h"
#include "controls/UIEvents.h"
#include "framework/ApplicationViewBase.h"
#include "platform/xml/XmlDocument.h"
#include "support/MockUIController.h"

#include <gtest/gtest.h>

#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << text.toStdString();
}

namespace orvx::test {

// Controls on a page whose controller answers reads through 'reply' (none: not handled) and
// records each write as "tag=value" (the value alone without a tag, the tag alone for a command).
class ControlFixture : public ::testing::Test {
protected:
    ControlFixture()
    {
        ON_CALL(controller, IsWritable()).WillByDefault([this] { return writable; });
        ON_CALL(controller, HandleEvent).WillByDefault([this](controls::CUIEventBase& event) {
            const auto write = written(event);
            if (write)
                sent.append(*write);
            return write || (reply && reply(event));
        });
        page.SetController(&controller);
    }

    // A control the page owns.
    template <class Control>
    Control* add(std::int32_t id)
    {
        page.RegisterControl(std::make_unique<Control>(id, &page, &controller));
        return static_cast<Control*>(page.Control(id));
    }
    // Configures a control from a ViewSetting with 'siblings' before its ControlData element.
    static void configure(controls::IFdtControl& control, const QString& attributes, const QString& children = {},
                          const QString& siblings = {})
    {
        const auto document = xml::XmlDocument::parse(
            QStringLiteral("<ViewSetting>%3<ControlData %1>%2</ControlData></ViewSetting>")
                .arg(attributes, children, siblings));
        control.Configure(document->selectSingleNode(QStringLiteral("//ControlData")));
    }
    // A reply that handles every read by setting one value on it.
    template <class Event, class Value>
    static auto answer(void (Event::*set)(Value), std::type_identity_t<Value> value)
    {
        return [set, value](controls::CUIEventBase& event) {
            (static_cast<Event&>(event).*set)(value);
            return true;
        };
    }

    ::testing::NiceMock<MockUIController> controller;
    framework::CApplicationViewBase page;
    QWidget* form = page.Surface();
    bool writable = true;
    std::function<bool(controls::CUIEventBase&)> reply;
    QStringList sent;

private:
    static std::optional<QString> written(controls::CUIEventBase& event)
    {
        using namespace controls;
        const auto entry = [&event]<class Event, class Value>(Value (Event::*get)() const) {
            const auto& set = static_cast<Event&>(event);
            const QString value = QVariant::fromValue((set.*get)()).toString();
            return set.GetTag().isEmpty() ? value : set.GetTag() + u'=' + value;
        };
        switch (event.GetType()) {
        case EventCheckBoxSet: return entry(&CCheckBoxEvent::GetChecked);
        case EventRadioSet: return entry(&CRadioSetEvent::GetValue);
        case EventTextDataSet: return entry(&CTextDataSetEvent::GetValue);
        case EventComboBoxSet: return entry(&CComboBoxSetEvent::GetIndex);
        case EventCommand: return static_cast<CCommandEvent&>(event).GetTag();
        case EventBitEnumSet:
            return entry(&CBitEnumSetEvent::GetChecked) +
                   (static_cast<CBitEnumSetEvent&>(event).IsValid() ? "" : " invalid");
        default: return std::nullopt;  // a read
        }
    }
};

}  // namespace orvx::test
