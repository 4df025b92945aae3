#pragma once

#include "UIEvents.h"

#include <utility>

namespace orvx::controls {

// The request fields most events share: view id, control id and the parameter tag.
template <class Interface>
class CTaggedEventImpl : public Interface {
public:
    template <class... InterfaceArgs>
    CTaggedEventImpl(std::int32_t viewId, std::int32_t controlId, QString tag, InterfaceArgs... args)
        : Interface(args...), m_viewId(viewId), m_controlId(controlId), m_tag(std::move(tag))
    {
    }
    std::int32_t GetViewId() const override { return m_viewId; }
    std::int32_t GetControlId() const override { return m_controlId; }
    const QString& GetTag() const override { return m_tag; }

private:
    std::int32_t m_viewId;
    std::int32_t m_controlId;
    QString m_tag;  // implicitly shared: the event holds a reference to the sender's text
};

// Reply flags of the Get events. Untouched by the receiver, they leave a widget enabled and writable.
template <class Interface>
class CAccessReplyImpl : public CTaggedEventImpl<Interface> {
public:
    using CTaggedEventImpl<Interface>::CTaggedEventImpl;
    void SetEnabled(bool enabled) override { m_enabled = enabled; }
    bool IsEnabled() const override { return m_enabled; }
    void SetReadOnly(bool readOnly) override { m_readOnly = readOnly; }
    bool IsReadOnly() const override { return m_readOnly; }

private:
    bool m_enabled = true;
    bool m_readOnly = false;
};

class CTextDataGetEventImpl : public CAccessReplyImpl<CTextDataGetEvent> {
public:
    using CAccessReplyImpl::CAccessReplyImpl;
    QString GetValue() const override { return m_value; }
    void SetValue(const QString& value) override { m_value = value; }
    QString GetSecondText() const override { return m_secondText; }
    void SetSecondText(const QString& text) override { m_secondText = text; }
    void SetFlag(bool flag) override { m_flag = flag; }
    bool IsFlagSet() const override { return m_flag; }

private:
    QString m_value;
    QString m_secondText;
    bool m_flag = false;
};

class CTextDataSetEventImpl : public CTaggedEventImpl<CTextDataSetEvent> {
public:
    CTextDataSetEventImpl(std::int32_t viewId, std::int32_t controlId, QString tag, QString value, bool valid)
        : CTaggedEventImpl(viewId, controlId, std::move(tag)), m_value(std::move(value)), m_valid(valid)
    {
    }
    QString GetValue() const override { return m_value; }
    bool IsValid() const override { return m_valid; }

private:
    QString m_value;
    bool m_valid;
};

class CCommandEventImpl : public CTaggedEventImpl<CCommandEvent> {
public:
    using CTaggedEventImpl::CTaggedEventImpl;
    void SetProceed(bool proceed) override { m_proceed = proceed; }
    bool IsProceed() const override { return m_proceed; }

private:
    bool m_proceed = true;
};

class CActionEventImpl : public CActionEvent {
public:
    CActionEventImpl(std::int32_t actionId, std::int32_t state) : m_actionId(actionId), m_state(state) {}
    std::int32_t GetViewId() const override { return m_actionId; }
    std::int32_t GetControlId() const override { return m_state; }
    void SetState(std::int32_t state) override { m_state = state; }

private:
    std::int32_t m_actionId;
    std::int32_t m_state;
};

// The two view events carry only a view id.
template <class Interface>
class CViewEventImpl : public Interface {
public:
    explicit CViewEventImpl(std::int32_t viewId) : m_viewId(viewId) {}
    std::int32_t GetViewId() const override { return m_viewId; }
    std::int32_t GetControlId() const override { return 0; }

private:
    std::int32_t m_viewId;
};
using CViewRequestEventImpl = CViewEventImpl<CViewRequestEvent>;
using CViewActivatedEventImpl = CViewEventImpl<CViewActivatedEvent>;

class CComboBoxGetEventImpl : public CAccessReplyImpl<CComboBoxGetEvent> {
public:
    using CAccessReplyImpl::CAccessReplyImpl;
    CChoiceList GetChoices() const override { return m_choices; }
    void SetChoices(const CChoiceList& choices) override
    {
        m_choices = choices;
        m_choicesGiven = true;
    }
    bool AreChoicesGiven() const { return m_choicesGiven; }
    // The current index of the list carried, as the receiver leaves it.
    void SetCurrentIndex(std::int32_t index) { m_choices.current = index; }
    QString GetCaption() const override { return m_caption; }
    void SetCaption(const QString& caption) override { m_caption = caption; }
    void SetDeviceIndexFlag(bool flag) override { m_deviceIndex = flag; }
    bool HasDeviceIndex() const override { return m_deviceIndex; }

private:
    CChoiceList m_choices;
    bool m_choicesGiven = false;
    QString m_caption;
    bool m_deviceIndex = false;
};

class CComboBoxSetEventImpl : public CTaggedEventImpl<CComboBoxSetEvent> {
public:
    CComboBoxSetEventImpl(std::int32_t viewId, std::int32_t controlId, QString tag, std::int32_t index, CChoice choice)
        : CTaggedEventImpl(viewId, controlId, std::move(tag)), m_index(index), m_choice(std::move(choice))
    {
    }
    CChoice GetChoice() const override { return m_choice; }
    std::int32_t GetIndex() const override { return m_index; }

private:
    std::int32_t m_index;
    CChoice m_choice;
};

class CBitEnumGetEventImpl : public CAccessReplyImpl<CBitEnumGetEvent> {
public:
    using CAccessReplyImpl::CAccessReplyImpl;
    std::uint32_t GetValue() const override { return m_value; }
    void SetValue(std::uint32_t value) override { m_value = value; }
    void SetFlag(bool flag) override { m_flag = flag; }
    bool IsFlagSet() const override { return m_flag; }

private:
    std::uint32_t m_value = 0;
    bool m_flag = false;
};

class CBitEnumSetEventImpl : public CTaggedEventImpl<CBitEnumSetEvent> {
public:
    CBitEnumSetEventImpl(std::int32_t viewId, std::int32_t controlId, QString tag, std::uint32_t checked, bool valid)
        : CTaggedEventImpl(viewId, controlId, std::move(tag)), m_checked(checked), m_valid(valid)
    {
    }
    std::uint32_t GetChecked() const override { return m_checked; }
    bool IsValid() const override { return m_valid; }

private:
    std::uint32_t m_checked;
    bool m_valid;
};

class CCheckBoxEventImpl : public CTaggedEventImpl<CCheckBoxEvent> {
public:
    // 'type' is EventCheckBoxSet for a click, EventCheckBoxGet for a refresh.
    CCheckBoxEventImpl(std::int32_t type, std::int32_t viewId, std::int32_t controlId, QString tag,
                       std::int32_t checked)
        : CTaggedEventImpl(viewId, controlId, std::move(tag), type), m_checked(checked)
    {
    }
    void SetChecked(std::int32_t checked) override { m_checked = checked; }
    std::int32_t GetChecked() const override { return m_checked; }

private:
    std::int32_t m_checked;
};

class CStaticTextEventImpl : public CTaggedEventImpl<CStaticTextEvent> {
public:
    using CTaggedEventImpl::CTaggedEventImpl;
    void SetStaticText(const QString& text) override { m_text = text; }
    QString GetStaticText() const override { return m_text; }

private:
    QString m_text;
};

class CRadioGetEventImpl : public CTaggedEventImpl<CRadioGetEvent> {
public:
    using CTaggedEventImpl::CTaggedEventImpl;
    std::uint32_t GetValue() const override { return m_value; }
    void SetValue(std::uint32_t value) override { m_value = value; }

private:
    std::uint32_t m_value = 0;
};

class CRadioSetEventImpl : public CTaggedEventImpl<CRadioSetEvent> {
public:
    CRadioSetEventImpl(std::int32_t viewId, std::int32_t controlId, QString tag, std::int32_t value)
        : CTaggedEventImpl(viewId, controlId, std::move(tag)), m_value(value)
    {
    }
    std::int32_t GetValue() const override { return m_value; }

private:
    std::int32_t m_value;
};

class CGenericGetEventImpl : public CTaggedEventImpl<CGenericGetEvent> {
public:
    using CTaggedEventImpl::CTaggedEventImpl;
    const com::Variant& GetValue() const override { return m_value; }
    void SetValue(com::Variant value) override { m_value = std::move(value); }

private:
    com::Variant m_value;
};

}  // namespace orvx::controls
