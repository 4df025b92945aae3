#pragma once

#include "Choice.h"
#include "UIEventBase.h"
#include "platform/com/Variant.h"

namespace orvx::controls {

// The event interfaces, one per type; the receiver picks the interface by GetType().

class CTextDataGetEvent : public CUIEventBase {
public:
    virtual const QString& GetTag() const = 0;
    virtual QString GetValue() const = 0;
    virtual void SetValue(const QString& value) = 0;
    virtual QString GetSecondText() const = 0;
    virtual void SetSecondText(const QString& text) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual bool IsReadOnly() const = 0;
    virtual void SetFlag(bool flag) = 0;
    virtual bool IsFlagSet() const = 0;

protected:
    CTextDataGetEvent() : CUIEventBase(EventTextDataGet) {}
};

class CTextDataSetEvent : public CUIEventBase {
public:
    virtual const QString& GetTag() const = 0;
    virtual QString GetValue() const = 0;
    virtual bool IsValid() const = 0;

protected:
    CTextDataSetEvent() : CUIEventBase(EventTextDataSet) {}
};

class CCommandEvent : public CUIEventBase {
public:
    virtual const QString& GetTag() const = 0;
    virtual void SetProceed(bool proceed) = 0;
    virtual bool IsProceed() const = 0;

protected:
    CCommandEvent() : CUIEventBase(EventCommand) {}
};

// Its view id is the action id and its control id the state field: 2 for a push button, 0 or
// 1 for a toggle button.
class CActionEvent : public CUIEventBase {
public:
    virtual void SetState(std::int32_t state) = 0;

protected:
    CActionEvent() : CUIEventBase(EventAction) {}
};

class CViewRequestEvent : public CUIEventBase {
protected:
    CViewRequestEvent() : CUIEventBase(EventViewRequest) {}
};

class CViewActivatedEvent : public CUIEventBase {
protected:
    CViewActivatedEvent() : CUIEventBase(EventViewActivated) {}
};

class CComboBoxGetEvent : public CUIEventBase {
public:
    virtual const QString& GetTag() const = 0;
    virtual CChoiceList GetChoices() const = 0;
    // Also marks the list as given.
    virtual void SetChoices(const CChoiceList& choices) = 0;
    virtual QString GetCaption() const = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual bool IsReadOnly() const = 0;
    virtual void SetDeviceIndexFlag(bool flag) = 0;
    virtual bool HasDeviceIndex() const = 0;

protected:
    CComboBoxGetEvent() : CUIEventBase(EventComboBoxGet) {}
};

class CComboBoxSetEvent : public CUIEventBase {
public:
    virtual const QString& GetTag() const = 0;
    virtual CChoice GetChoice() const = 0;
    virtual std::int32_t GetIndex() const = 0;

protected:
    CComboBoxSetEvent() : CUIEventBase(EventComboBoxSet) {}
};

class CBitEnumGetEvent : public CUIEventBase {
public:
    virtual const QString& GetTag() const = 0;
    virtual std::uint32_t GetValue() const = 0;
    virtual void SetValue(std::uint32_t value) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual bool IsReadOnly() const = 0;
    virtual void SetFlag(bool flag) = 0;
    virtual bool IsFlagSet() const = 0;

protected:
    CBitEnumGetEvent() : CUIEventBase(EventBitEnumGet) {}
};

class CBitEnumSetEvent : public CUIEventBase {
public:
    virtual const QString& GetTag() const = 0;
    // The clicked entry's new state (1 or 0), written when IsValid says it is valid.
    virtual std::uint32_t GetChecked() const = 0;
    virtual bool IsValid() const = 0;

protected:
    CBitEnumSetEvent() : CUIEventBase(EventBitEnumSet) {}
};

// One class for both directions: EventCheckBoxSet writes, EventCheckBoxGet reads.
class CCheckBoxEvent : public CUIEventBase {
public:
    virtual const QString& GetTag() const = 0;
    virtual void SetChecked(std::int32_t checked) = 0;
    virtual std::int32_t GetChecked() const = 0;

protected:
    explicit CCheckBoxEvent(std::int32_t type) : CUIEventBase(type) {}
};

class CStaticTextEvent : public CUIEventBase {
public:
    virtual const QString& GetTag() const = 0;
    virtual void SetStaticText(const QString& text) = 0;
    virtual QString GetStaticText() const = 0;

protected:
    CStaticTextEvent() : CUIEventBase(EventStaticText) {}
};

class CRadioGetEvent : public CUIEventBase {
public:
    virtual const QString& GetTag() const = 0;
    virtual std::uint32_t GetValue() const = 0;
    virtual void SetValue(std::uint32_t value) = 0;

protected:
    CRadioGetEvent() : CUIEventBase(EventRadioGet) {}
};

class CRadioSetEvent : public CUIEventBase {
public:
    virtual const QString& GetTag() const = 0;
    virtual std::int32_t GetValue() const = 0;

protected:
    CRadioSetEvent() : CUIEventBase(EventRadioSet) {}
};

// Read by list views and progress bars: the value itself (not its text) goes into the event.
class CGenericGetEvent : public CUIEventBase {
public:
    virtual const QString& GetTag() const = 0;
    virtual const com::Variant& GetValue() const = 0;
    virtual void SetValue(com::Variant value) = 0;

protected:
    CGenericGetEvent() : CUIEventBase(EventGenericGet) {}
};

}  // namespace orvx::controls
