#include "ResourcePage.h"

#include "platform/ui/Resources.h"

namespace orvx::views {

void CResourcePage::LoadViewSetting()
{
    CApplicationViewBase::LoadViewSetting();
    m_fields.Bind();
    CreateControls();
    ApplyViewSetting(ui::xmlResource(m_viewSettingResource));
}

}  // namespace orvx::views
