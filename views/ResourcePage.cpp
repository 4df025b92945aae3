#include "ResourcePage.h"

#include "framework/ViewSettings.h"
#include "platform/xml/XmlDocument.h"

namespace orvx::views {

void CResourcePage::LoadViewSetting()
{
    CApplicationViewBase::LoadViewSetting();
    m_fields.Bind();
    CreateControls();
    if (const xml::XmlDocument* setting = framework::viewSettingResource(m_viewSettingResource))
        ApplyViewSettingDocument(*setting);
}

}  // namespace orvx::views
