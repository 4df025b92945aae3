#pragma once

#include "device/IDtmActiveXControl.h"
#include "device/IUpdateUI.h"
#include "platform/com/ComPtr.h"

#include <QString>

class QWidget;

namespace orvx::device {
class IDtmUiEarlier;
}  // namespace orvx::device

namespace orvx::host {

// The light FDT entry of the address control: no areas, no controller, no edit model. It
// registers, reads the user level and the polling address, and enables the control's own
// items by the user's rights.
class CSimpleActiveXImpl : public device::IDtmActiveXControl, public device::IUpdateUI {
public:
    static constexpr int kAddressList = 350;
    static constexpr int kApplyButton = 213;
    static constexpr int kCloseButton = 214;

    ~CSimpleActiveXImpl();

    com::Status Init(const com::BStr& callerTag, const com::BStr& functionCall, com::IUnknown* businessObject,
                     bool* result) override;
    com::Status PrepareToRelease(bool* result) override;
    // The address control ignores notifications.
    com::Status Notify(std::int32_t, const com::Variant&) override { return com::Status::Ok; }

    bool IsRegistered() const { return m_registered; }
    // Writable when the user is not an observer and the business object accepted the control.
    bool IsWritable() const;
    // Enables or disables the list, Apply and Close when writability changes.
    void ApplyUserLevel(const QString& level);
    const QString& UserLevel() const { return m_userLevel; }
    // The address last read or written; the list starts at 0.
    std::int32_t CurrentAddress() const { return m_address; }

protected:
    CSimpleActiveXImpl() = default;
    explicit CSimpleActiveXImpl(QString progId);
    // Set by the concrete control when it is constructed.
    void SetProgId(const QString& progId) { m_progId = progId; }

    virtual com::IUnknown* GetControlUnknown() = 0;
    virtual QWidget* GetControlWindow() = 0;
    virtual void PlaceControlWindow() = 0;

    device::IDtmUiEarlier* Earlier() const { return m_earlier.get(); }
    const QString& CallerTag() const { return m_callerTag; }
    void SetCurrentAddress(std::int32_t address) { m_address = address; }

private:
    com::Status init(const com::BStr& callerTag, const com::BStr& functionCall, com::IUnknown* businessObject,
                     bool* result);
    void enableItems(bool enable);

    com::ComPtr<com::IUnknown> m_businessObject;
    com::ComPtr<device::IDtmUiEarlier> m_earlier;
    bool m_registered = false;
    QString m_callerTag;
    QString m_progId;
    QString m_userLevel;
    std::int32_t m_address = 0;
};

}  // namespace orvx::host
