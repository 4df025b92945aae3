#include "DtmControlBase.h"

#include "Conversions.h"
#include "UIEventBase.h"
#include "frameworkapi/IApplicationView.h"
#include "frameworkapi/IStatusArea.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/PostCall.h"
#include "platform/xml/XmlDocument.h"

#include <QWidget>

#include <cstring>

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

bool CDtmControlBase::readInto(const xml::XmlNode& element, const char* name, QString& kept)
{
    const char* value = element.attributeUtf8(name);
    if (!value)
        return false;
    if (kept.isNull() || !QAnyStringView::equal(kept, QUtf8StringView(value)))
        kept = QString::fromUtf8(value);
    return true;
}

void CDtmControlBase::readTag(const xml::XmlNode& element)
{
    readInto(element, "tag", m_tag);
}

void CDtmControlBase::readAvailable(const xml::XmlNode& element)
{
    const char* available = element.attributeUtf8("available");
    m_available = !available || std::strcmp(available, "0") != 0;
}

void CDtmControlBase::readModified(const xml::XmlNode& element)
{
    const char* modified = element.attributeUtf8("modified");
    m_modified = modified && std::strcmp(modified, "1") == 0;
}

void CDtmControlBase::readEnabled(const xml::XmlNode& element)
{
    const char* enabled = element.attributeUtf8("enabled");
    m_enabled = enabled ? CConversions::to_bool(QUtf8StringView(enabled)) : true;
    ApplyEnabled();
}

void CDtmControlBase::readModeUi(const xml::XmlNode& element)
{
    if (const char* modeUi = element.attributeUtf8("modeui"); modeUi && !CConversions::to_bool(QUtf8StringView(modeUi)))
        m_modeUi = false;
}

void CDtmControlBase::readToolTip(const xml::XmlNode& element, QWidget* window)
{
    if (!m_page || !window || !readInto(element, "tooltip", m_toolTip))
        return;
    if (m_toolTip.isEmpty())
        m_page->RemoveToolTip(window);
    else
        m_page->SetToolTip(window, m_toolTip);
}

void CDtmControlBase::readSemanticError(const xml::XmlNode& element, const char* name)
{
    m_semanticError = readInto(element, name, m_semanticErrorText);
    if (!m_semanticError)
        m_semanticErrorText = QString();
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
