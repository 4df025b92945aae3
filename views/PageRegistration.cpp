#include "PageRegistration.h"

#include "AlarmSetupDlg.h"
#include "AutotuneDlg.h"
#include "ClearFaultsDlg.h"
#include "CommConfigDlg.h"
#include "CommissionDiagDlg.h"
#include "CommissionDlg.h"
#include "ConfigGeneralDlg.h"
#include "ConfigurationDlg.h"
#include "DeviceInfoDlg.h"
#include "ESDPSTDlg.h"
#include "ESDSetupDlg.h"
#include "FindStopsDlg.h"
#include "HARTDlg.h"
#include "OfflineDlg.h"
#include "OrvxESDHARTDlg.h"
#include "ResourcePage.h"
#include "RetransmitDlg.h"
#include "SensorDlg.h"
#include "SetpointDlg.h"
#include "SetupWizardDlg.h"
#include "SwitchesDlg.h"
#include "TrendDlg.h"
#include "TuningDataDlg.h"
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
        framework::SetPageMaker(1, maker<CESDPSTDlg>());
        framework::SetPageMaker(2, maker<CDeviceSetupDlg>());
        framework::SetPageMaker(3, maker<CSetupWizardDlg>());
        framework::SetPageMaker(4, maker<CConfigurationDlg>());
        framework::SetPageMaker(5, maker<CConfigGeneralDlg>());
        framework::SetPageMaker(6, maker<CESDSetupDlg>());
        framework::SetPageMaker(7, maker<CAlarmSetupDlg>());
        framework::SetPageMaker(8, maker<CSwitchesDlg>());
        framework::SetPageMaker(9, maker<CHARTDlg>());
        framework::SetPageMaker(10, maker<CCalibrationDlg>());
        framework::SetPageMaker(11, maker<CFindStopsDlg>());
        framework::SetPageMaker(12, maker<CAutotuneDlg>());
        framework::SetPageMaker(13, maker<CTuningDataDlg>());
        framework::SetPageMaker(14, maker<CCommissionDlg>());
        framework::SetPageMaker(15, maker<CCommConfigDlg>());
        framework::SetPageMaker(16, maker<CSetpointDlg>());
        framework::SetPageMaker(17, maker<CRetransmitDlg>());
        framework::SetPageMaker(18, maker<CCommissionDiagDlg>());
        framework::SetPageMaker(19, maker<CSwitchesDlg>());
        framework::SetPageMaker(20, maker<CStatusDiagDlg>());
        framework::SetPageMaker(21, maker<CClearFaultsDlg>());
        framework::SetPageMaker(22, maker<CSensorDlg>());
        framework::SetPageMaker(23, maker<CDeviceInfoDlg>());
        framework::SetSinglePageMaker(framework::SinglePage::Offline, maker<COfflineDlg>());
        framework::SetSinglePageMaker(framework::SinglePage::Trend, maker<CTrendDlg>());
        return true;
    }();
    (void)registered;
}

}  // namespace orvx::views
