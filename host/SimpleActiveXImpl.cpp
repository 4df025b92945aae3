#include "SimpleActiveXImpl.h"

#include "device/DeviceNames.h"
#include "device/IDtmUiEarlier.h"
#include "device/IDtmUiRegistry.h"
#include "device/StringBridge.h"
#include "frameworkapi/DeviceState.h"
#include "platform/com/ComError.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/PostCall.h"
#include "platform/xml/XmlDocument.h"

#include <QComboBox>

namespace orvx::host {

namespace {

const QString kSchema = QStringLiteral("x-schema:DTMFunctionCallSchema.xml");
constexpr std::uint32_t kLastAddress = 15;

}  // namespace

CSimpleActiveXImpl::CSimpleActiveXImpl(QString progId) : m_progId(std::move(progId)) {}

CSimpleActiveXImpl::~CSimpleActiveXImpl() = default;

bool CSimpleActiveXImpl::IsWritable() const
{
    return framework::userMayWrite(m_userLevel, m_registered);
}

void CSimpleActiveXImpl::enableItems(bool enable)
{
    for (int item : {kAddressList, kApplyButton, kCloseButton})
        if (QWidget* widget = ui::dialogItem(GetControlWindow(), item))
            widget->setEnabled(enable);
}

void CSimpleActiveXImpl::ApplyUserLevel(const QString& level)
{
    const bool before = IsWritable();
    m_userLevel = level;
    const bool after = IsWritable();
    if (!after)
        enableItems(false);
    else if (!before)
        enableItems(true);
}

com::Status CSimpleActiveXImpl::Init(const com::BStr& callerTag, const com::BStr& functionCall,
                                     com::IUnknown* businessObject, bool* result)
{
    try {
        return init(callerTag, functionCall, businessObject, result);
    } catch (const std::exception& error) {
        ui::reportError(QStringLiteral("Init failed: %1").arg(QString::fromLocal8Bit(error.what())));
        const auto* com = dynamic_cast<const com::ComError*>(&error);
        return com ? com->status() : com::Status::Failure;
    } catch (...) {
        ui::reportError(QStringLiteral("Init failed: an unknown exception"));
        return com::Status::Failure;
    }
}

com::Status CSimpleActiveXImpl::init(const com::BStr& callerTag, const com::BStr& functionCall,
                                     com::IUnknown* businessObject, bool* result)
{
    if (result)
        *result = false;
    if (!businessObject || !device::toQString(functionCall).contains(kSchema))
        return com::Status::Ok;
    m_callerTag = device::toQString(callerTag);
    m_businessObject = com::queryInterface<com::IUnknown>(businessObject);
    if (!m_businessObject)
        return com::Status::Ok;

    const auto self = com::queryInterface<device::IDtmActiveXControl>(GetControlUnknown());
    m_earlier = com::queryInterface<device::IDtmUiEarlier>(m_businessObject);
    bool accepted = false;
    if (m_earlier && self) {
        m_earlier->RegisterControl(device::toBStr(m_progId), device::toBStr(m_callerTag), self.get(), true, &accepted);
        m_registered = accepted;
        if (result)
            *result = true;
    } else if (const auto registry = com::queryInterface<device::IDtmUiRegistry>(m_businessObject); registry && self) {
        registry->RegisterControl(device::toBStr(m_progId), device::toBStr(m_callerTag), self.get(), true, &accepted);
        m_registered = accepted;
        if (result)
            *result = true;
    }

    if (m_earlier) {
        com::BStr text;
        m_earlier->GetStateDocument(&text);
        const auto document = xml::XmlDocument::parse(device::toQString(text));
        ApplyUserLevel(document ? document->textAt(QStringLiteral("//@userLevel")).value_or(QString()) : QString());

        com::Variant address;
        if (com::succeeded(m_earlier->GetParameter(device::toBStr(device::tag::PollingAddress), &address))) {
            try {
                const std::uint32_t index = address.toUInt32();
                if (index <= kLastAddress) {
                    if (auto* list = ui::dialogItem<QComboBox>(GetControlWindow(), kAddressList))
                        list->setCurrentIndex(static_cast<int>(index));
                    m_address = static_cast<std::int32_t>(index);
                }
            } catch (const com::ComError&) {
                // not an address: nothing is selected
            }
        }
    }
    return com::Status::Ok;
}

com::Status CSimpleActiveXImpl::PrepareToRelease(bool* result)
{
    if (result)
        *result = true;
    if (!m_businessObject)
        return com::Status::Ok;
    com::Status status = com::Status::Ok;
    try {
        bool answer = false;
        const com::BStr tag = device::toBStr(m_callerTag);
        if (m_earlier)
            m_earlier->UnregisterControl(tag, m_registered, &answer);
        else if (const auto registry = com::queryInterface<device::IDtmUiRegistry>(m_businessObject))
            registry->UnregisterControl(tag, m_registered, &answer);
    } catch (const std::exception& error) {
        ui::reportError(QStringLiteral("PrepareToRelease failed: %1").arg(QString::fromLocal8Bit(error.what())));
        const auto* com = dynamic_cast<const com::ComError*>(&error);
        status = com ? com->status() : com::Status::Failure;
    } catch (...) {
        ui::reportError(QStringLiteral("PrepareToRelease failed: an unknown exception"));
        status = com::Status::Failure;
    }
    m_earlier.reset();
    m_businessObject.reset();
    return status;
}

}  // namespace orvx::host
