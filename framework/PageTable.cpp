#include "PageTable.h"

#include <array>
#include <map>
#include <string_view>

namespace orvx::framework {

namespace {

constexpr std::array<PageInfo, kLastViewId + 1> kViews{{
    {"COrvxESDHARTDlg", 201, 220},    {"CESDPSTDlg", 246, 221},        {"CDeviceSetupDlg", 266, 245},
    {"CSetupWizardDlg", 247, 222},    {"CConfigurationDlg", 248, 223}, {"CConfigGeneralDlg", 249, 224},
    {"CESDSetupDlg", 250, 225},       {"CAlarmSetupDlg", 251, 226},    {"CSwitchesDlg", 252, 227},
    {"CHARTDlg", 253, 228},           {"CCalibrationDlg", 254, 229},   {"CFindStopsDlg", 255, 230},
    {"CAutotuneDlg", 256, 231},       {"CTuningDataDlg", 257, 232},    {"CCommissionDlg", 258, 233},
    {"CCommConfigDlg", 267, 268},     {"CSetpointDlg", 259, 234},      {"CRetransmitDlg", 260, 235},
    {"CCommissionDiagDlg", 261, 236}, {"CSwitchesDlg", 252, 227},      {"CStatusDiagDlg", 262, 237},
    {"CClearFaultsDlg", 263, 238},    {"CSensorDlg", 264, 241},        {"CDeviceInfoDlg", 265, 242},
}};

constexpr PageInfo kOffline{"COfflineDlg", 277, 282};
constexpr PageInfo kTrend{"CTrendDlg", 215, 270};

// Makers by page class, filled at start-up; a function-local static, so that it exists before
// its first use whatever the order of static initialisation.
std::map<std::string_view, CApplicationViewBase::Maker>& makers()
{
    static std::map<std::string_view, CApplicationViewBase::Maker> byClass;
    return byClass;
}

void setMaker(const PageInfo& page, CApplicationViewBase::Maker maker)
{
    if (maker)
        makers()[page.className] = std::move(maker);
    else
        makers().erase(page.className);
}

IApplicationView* create(const PageInfo& page, std::int32_t viewId, IUIController* controller, ITextResource* texts)
{
    const auto it = makers().find(page.className);
    if (it == makers().end())
        return nullptr;
    return CApplicationViewBase::Create(it->second, viewId, controller, texts);
}

}  // namespace

const PageInfo* FindPageInfo(std::int32_t viewId)
{
    if (viewId < kFirstViewId || viewId > kLastViewId)
        return nullptr;
    return &kViews[static_cast<std::size_t>(viewId)];
}

const PageInfo& SinglePageInfo(SinglePage which)
{
    return which == SinglePage::Offline ? kOffline : kTrend;
}

bool SetPageMaker(std::int32_t viewId, CApplicationViewBase::Maker maker)
{
    const PageInfo* page = FindPageInfo(viewId);
    if (!page)
        return false;
    setMaker(*page, std::move(maker));
    return true;
}

void SetSinglePageMaker(SinglePage which, CApplicationViewBase::Maker maker)
{
    setMaker(SinglePageInfo(which), std::move(maker));
}

IApplicationView* CreatePage(std::int32_t viewId, IUIController* controller, ITextResource* texts)
{
    const PageInfo* page = FindPageInfo(viewId);
    return page ? create(*page, viewId, controller, texts) : nullptr;
}

IApplicationView* CreateSinglePage(SinglePage which, IUIController* controller, ITextResource* texts)
{
    return create(SinglePageInfo(which), 0, controller, texts);
}

}  // namespace orvx::framework
