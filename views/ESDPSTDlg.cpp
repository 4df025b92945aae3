#include "ESDPSTDlg.h"

#include "frameworkapi/IUIController.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvx::views {

namespace {

constexpr CEsdPage::SettingsItems kSettings{.frictionLow = 216,
                                            .frictionHigh = 217,
                                            .applySettings = 311,
                                            .interval = 210,
                                            .nextPst = 211,
                                            .picker = 255,
                                            .applySchedule = 310,
                                            .hint = 356};
constexpr CEsdPage::TestItems kTests{.performPst = 208,
                                     .performTbt = 209,
                                     .perform = 213,
                                     .loadPst = 215,
                                     .loadEsd = 225,
                                     .fromFile = 226,
                                     .result = 206,
                                     .firstControl = 23};

}  // namespace

void CESDPSTDlg::InitDialog()
{
    auto* columns = new QHBoxLayout;
    columns->addWidget(BuildSettings(Surface(), kSettings), 1);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildSchedule(Surface(), kSettings));
    right->addWidget(BuildTests(Surface(), kTests), 1);
    columns->addLayout(right, 1);
    BodyLayout()->addLayout(columns);

    for (QWidget* button : {m_perform, static_cast<QWidget*>(m_applySchedule), m_loadPst,
                            static_cast<QWidget*>(m_applySettings), m_loadEsd, static_cast<QWidget*>(m_fromFile)})
        AddMethodWindow(button);
    // Apply Mode and the six operation buttons.
    SetEnableMask(0b1111111);
}

void CESDPSTDlg::UpdateAccess(bool force)
{
    CEsdPage::UpdateAccess(force);
    framework::IUIController* controller = Controller();
    const bool connected = controller && controller->IsDeviceConnected();
    // Not while an operation runs: the buttons refuse to come back until its result.
    if (connected)
        ApplyButtons(EnableMask(), true);
}

}  // namespace orvx::views
