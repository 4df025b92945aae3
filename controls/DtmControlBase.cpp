#include "DtmControlBase.h"

#include "Conversions.h"
#include "UIEventBase.h"
#include "frameworkapi/IApplicationView.h"
#include "frameworkapi/IStatusArea.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/PostCall.h"
#include "platform/xml/XmlDocument.h"

#include <QWidget>

namespace orvx::controls {

CDtmControlBase::CDtmControlBase(std::int32_t controlId, framework::IApplicationView* page,
                                 framework::IUIController* controller)
    : m_page(page), m_controller(controller), m_controlId(controlId)
{
}

CDtmControlBase::~CDtmControlBase() = default;

bool CDtmControlBase::HasWidget() const
{
    const QList<QWidget*> windows = boundWindows();
    return !windows.isEmpty() && !windows.contains(nullptr);
}

QList<QWidget*> CDtmControlBase::boundWindows() const
{
    QList<QWidget*> windows = modeWindows();
    if (windows.isEmpty())
        windows.append(GetEditWindow());
    return windows;
}

std::optional<QString> CDtmControlBase::attribute(const xml::XmlNode& element, const char* name)
{
    return element.attribute(name);
}

void CDtmControlBase::readTag(const xml::XmlNode& element)
{
    if (const auto tag = attribute(element, "tag"))
        m_tag = *tag;
}

void CDtmControlBase::readAvailable(const xml::XmlNode& element)
{
    m_available = attribute(element, "available").value_or(QString()) != QLatin1String("0");
}

void CDtmControlBase::readModified(const xml::XmlNode& element)
{
    m_modified = attribute(element, "modified").value_or(QString()) == QLatin1String("1");
}

void CDtmControlBase::readEnabled(const xml::XmlNode& element)
{
    const auto enabled = attribute(element, "enabled");
    m_enabled = enabled ? CConversions::to_bool(*enabled) : true;
    ApplyEnabled();
}

void CDtmControlBase::readModeUi(const xml::XmlNode& element)
{
    if (const auto modeUi = attribute(element, "modeui"); modeUi && !CConversions::to_bool(*modeUi))
        m_modeUi = false;
}

void CDtmControlBase::readToolTip(const xml::XmlNode& element, QWidget* window)
{
    const auto tip = attribute(element, "tooltip");
    if (!tip || !m_page || !window)
        return;
    if (tip->isEmpty())
        m_page->RemoveToolTip(window);
    else
        m_page->SetToolTip(window, *tip);
}

void CDtmControlBase::readSemanticError(const xml::XmlNode& element, const char* name)
{
    const auto error = attribute(element, name);
    m_semanticError = error.has_value();
    m_semanticErrorText = error.value_or(QString());
}

void CDtmControlBase::setSemanticError(const QString& text)
{
    m_semanticError = true;
    m_semanticErrorText = text;
}

bool CDtmControlBase::dispatch(CUIEventBase& event)
{
    if (!m_controller)
        return false;
    try {
        return m_controller->HandleEvent(event);
    } catch (const std::exception& error) {
        const QString text = QString::fromLocal8Bit(error.what());
        setSemanticError(text);
        if (ChangesDevice(event.GetType()))
            showFailure(text);
        return false;
    }
}

void CDtmControlBase::takeEventError(const CUIEventBase& event)
{
    if (event.IsError())
        setSemanticError(event.GetErrorText());
}

void CDtmControlBase::showFailure(const QString& text)
{
    framework::IStatusArea* status = m_controller ? m_controller->GetStatusArea() : nullptr;
    if (status)
        status->SetMessage(text);
    else
        ui::reportError(text);
}

bool CDtmControlBase::mayEdit() const
{
    return m_enabled && m_controller && m_controller->IsWritable();
}

void CDtmControlBase::EnableForMode(bool enable)
{
    if (!m_modeUi)
        return;
    for (QWidget* window : modeWindows())
        if (window)
            window->setEnabled(enable);
}

}  // namespace orvx::controls
