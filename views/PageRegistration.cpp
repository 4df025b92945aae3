#include "PageRegistration.h"

#include "OfflineDlg.h"
#include "OrvxESDHARTDlg.h"
#include "ResourcePage.h"
#include "TrendDlg.h"
#include "framework/PageTable.h"

namespace orvx::views {

namespace {

template <class Page>
framework::CApplicationViewBase::Maker maker()
{
    return [] { return std::make_unique<Page>(); };
}

}  // namespace

void RegisterPages()
{
    static const bool registered = [] {
        framework::SetPageMaker(0, maker<COrvxESDHARTDlg>());
        framework::SetPageMaker(2, maker<CDeviceSetupDlg>());
        framework::SetPageMaker(10, maker<CCalibrationDlg>());
        framework::SetPageMaker(20, maker<CStatusDiagDlg>());
        framework::SetSinglePageMaker(framework::SinglePage::Offline, maker<COfflineDlg>());
        framework::SetSinglePageMaker(framework::SinglePage::Trend, maker<CTrendDlg>());
        return true;
    }();
    (void)registered;
}

}  // namespace orvx::views
