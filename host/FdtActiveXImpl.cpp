#include "FdtActiveXImpl.h"

#include "device/IDtmUiCurrent.h"
#include "device/IDtmUiEarlier.h"
#include "device/IDtmUiRegistry.h"
#include "device/StringBridge.h"
#include "framework/IIdentificationArea.h"
#include "framework/IMainSplitter.h"
#include "framework/INavigationArea.h"
#include "framework/IUIEditModel.h"
#include "framework/TooltipRelay.h"
#include "frameworkapi/IStatusArea.h"
#include "platform/com/ComError.h"
#include "platform/ui/PostCall.h"
#include "platform/xml/XmlDocument.h"

#include <QTreeWidget>

namespace orvx::host {

namespace {

const QString kSchema = QStringLiteral("x-schema:DTMFunctionCallSchema.xml");

// What an entry point reports when something threw that is no std::exception.
const com::ComError kForeignException(com::Status::Failure, "an unknown exception");

// Registers a control on whichever registration interface the business object answered.
template <class Registry>
bool registerWith(Registry& registry, const QString& progId, const QString& callerTag,
                  device::IDtmActiveXControl* control)
{
    bool accepted = false;
    registry.RegisterControl(device::toBStr(progId), device::toBStr(callerTag), control, true, &accepted);
    return accepted;
}

}  // namespace

CFdtActiveXImpl::CFdtActiveXImpl(QString progId, framework::IUIEditModel* editModel)
    : m_progId(std::move(progId)), m_editModel(editModel)
{
}

CFdtActiveXImpl::~CFdtActiveXImpl()
{
    if (m_relayHeld)
        framework::CTooltipRelay::instance().release();
}

com::Status CFdtActiveXImpl::failed(const char* where, const std::exception& error)
{
    const QString message =
        QStringLiteral("%1 failed: %2").arg(QLatin1String(where), QString::fromLocal8Bit(error.what()));
    if (m_areas.status)
        m_areas.status->SetMessage(message);
    ui::reportError(message);
    if (const auto* com = dynamic_cast<const com::ComError*>(&error))
        return com->status();
    return com::Status::Failure;
}

void CFdtActiveXImpl::AttachAreas(const ControlAreas& areas)
{
    m_areas = areas;
    m_controller.SetKeyboardNavigation(areas.keyboard);
    m_controller.SetMainSplitter(areas.splitter);
    m_controller.SetActionArea(areas.action, areas.actionUpdates, areas.actionVisibility);
    m_controller.SetIdentificationArea(areas.identification, areas.identificationUpdates);
    m_controller.SetStatusArea(areas.status, areas.statusUpdates);
    m_controller.SetToolbarArea(areas.toolbar, areas.toolbarUpdates, areas.toolbarVisibility);
    m_controller.SetNavigationArea(areas.navigation);
    m_windowsCreated = true;
}

void CFdtActiveXImpl::DetachAreas()
{
    m_reportScope.reset();
    AttachAreas(ControlAreas{});
    m_windowsCreated = false;
}

com::Status CFdtActiveXImpl::Init(const com::BStr& callerTag, const com::BStr& functionCall,
                                  com::IUnknown* businessObject, bool* result)
{
    try {
        return init(callerTag, functionCall, businessObject, result);
    } catch (const std::exception& error) {
        return failed("Init", error);
    } catch (...) {
        return failed("Init", kForeignException);
    }
}

com::Status CFdtActiveXImpl::init(const com::BStr& callerTag, const com::BStr& functionCall,
                                  com::IUnknown* businessObject, bool* result)
{
    if (result)
        *result = false;
    bool accepted = false;
    if (!businessObject)
        return com::Status::Ok;
    const QString call = device::toQString(functionCall);
    if (!call.contains(kSchema))
        return com::Status::Ok;

    m_callerTag = device::toQString(callerTag);
    m_businessObject = com::queryInterface<com::IUnknown>(businessObject);
    m_functionCall = call;

    if (m_businessObject) {
        const auto self = com::queryInterface<device::IDtmActiveXControl>(GetControlUnknown());
        if (const auto registry = com::queryInterface<device::IDtmUiRegistry>(m_businessObject)) {
            m_texts.SetCurrentTextSource(com::queryInterface<device::IDtmUiCurrent>(registry).get());
            if (self) {
                m_registered = registerWith(*registry, m_progId, m_callerTag, self.get());
                m_controller.SetRegistered(m_registered);
                accepted = true;
            }
        } else if (const auto earlier = com::queryInterface<device::IDtmUiEarlier>(m_businessObject)) {
            m_texts.SetEarlierTextSource(earlier.get());
            if (self) {
                m_registered = registerWith(*earlier, m_progId, m_callerTag, self.get());
                m_controller.SetRegistered(m_registered);
                accepted = true;
            }
        }
    }

    m_controller.SetTextProvider(&m_texts);
    if (result)
        *result = accepted;
    StartUi();
    return com::Status::Ok;
}

void CFdtActiveXImpl::StartUi()
{
    if (!m_relayHeld) {
        framework::CTooltipRelay::instance().acquire();
        m_relayHeld = true;
    }
    m_reportScope = std::make_unique<ui::CErrorReportScope>(m_controller.GetMainWindow(),
                                                            [this](const QString& message) {
                                                                if (m_areas.status)
                                                                    m_areas.status->SetMessage(message);
                                                            });
    if (m_editModel) {
        m_editModel->Attach(&m_controller, &m_texts, m_businessObject.get(), m_callerTag);
        m_editModel->SetFunctionCall(m_functionCall);
    }
    m_controller.SetEditModel(m_editModel);
    if (m_editModel)
        m_editModel->InitAreas();
    if (m_areas.splitter) {
        m_areas.splitter->Relayout();
        m_areas.splitter->SetPosition(m_controller.GetSplitterPosition());
    }
    RefreshState();
    if (m_areas.navigation) {
        if (QTreeWidget* tree = m_areas.navigation->GetTree()) {
            if (tree->topLevelItemCount() > 0)
                tree->setCurrentItem(tree->topLevelItem(0));
            tree->setFocus();
        }
    }
}

void CFdtActiveXImpl::RefreshState()
{
    com::BStr text;
    if (const auto current = com::queryInterface<device::IDtmUiCurrent>(m_businessObject))
        current->GetStateDocument(&text);
    else if (const auto earlier = com::queryInterface<device::IDtmUiEarlier>(m_businessObject))
        earlier->GetStateDocument(&text);
    const auto document = xml::XmlDocument::parse(device::toQString(text));
    auto read = [&](const char* xpath, const QString& fallback) {
        return document ? document->textAt(QLatin1String(xpath)).value_or(fallback) : fallback;
    };

    if (m_areas.identification)
        m_areas.identification->SetDeviceName(m_texts.TranslateName(read("//@name", QString())));
    if (m_areas.status) {
        m_areas.status->SetConnectionState(framework::connectionStateOf(read("//@state", QString())));
        m_areas.status->SetDataSetState(framework::dataSetStateOf(read("//@dataSetState", QString())));
    }
    const QString level = read("//@userLevel", QString());
    m_controller.SetUserLevel(level);
    if (m_editModel)
        m_editModel->SetUserLevel(level);
    m_controller.SetPrivateDialogEnabled(read("//@isPrivateDialogEnabled", QStringLiteral("0")) == QLatin1String("1"));
}

com::Status CFdtActiveXImpl::Notify(std::int32_t code, const com::Variant& value)
{
    try {
        const com::Variant copy = value;
        m_controller.OnDtmUpdate(code, device::toQString(copy.toText()));
        return com::Status::Ok;
    } catch (const std::exception& error) {
        return failed("Notification", error);
    } catch (...) {
        return failed("Notification", kForeignException);
    }
}

com::Status CFdtActiveXImpl::PrepareToRelease(bool* result)
{
    if (result)
        *result = true;
    m_reportScope.reset();
    if (!m_businessObject)
        return com::Status::Ok;
    try {
        // The pages' last word goes to the device before the link is let go of.
        m_controller.PrepareToClose();
        const bool wasRegistered = m_registered;
        if (m_editModel) {
            m_editModel->Detach();
            m_controller.SetEditModel(nullptr);
            m_editModel = nullptr;
        }
        // A control that never received a caller tag passes an absent one.
        const com::BStr tag = device::toBStr(m_callerTag);
        bool answer = false;
        if (const auto registry = com::queryInterface<device::IDtmUiRegistry>(m_businessObject))
            registry->UnregisterControl(tag, wasRegistered, &answer);
        else if (const auto earlier = com::queryInterface<device::IDtmUiEarlier>(m_businessObject))
            earlier->UnregisterControl(tag, wasRegistered, &answer);
    } catch (const std::exception& error) {
        m_businessObject.reset();
        return failed("PrepareToRelease", error);
    } catch (...) {
        m_businessObject.reset();
        return failed("PrepareToRelease", kForeignException);
    }
    m_businessObject.reset();
    return com::Status::Ok;
}

}  // namespace orvx::host
