#include "ESDSetupDlg.h"

#include "frameworkapi/IUIController.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvx::views {

namespace {

constexpr CEsdPage::SettingsItems kSettings{.frictionLow = 209,
                                            .frictionHigh = 215,
                                            .applySettings = 223,
                                            .interval = 206,
                                            .nextPst = 208,
                                            .picker = 267,
                                            .applySchedule = 213,
                                            .hint = 355};

using framework::PageField;
using enum framework::FieldKind;
constexpr PageField kTriggers[] = {
    {.controlId = 23, .kind = Check, .item = 240, .caption = "Trigger by AI"},
    {.controlId = 24, .kind = Check, .item = 241, .caption = "Trigger by buttons"},
    {.controlId = 25, .kind = Check, .item = 242, .caption = "Trigger by HART"},
};

}  // namespace

CESDSetupDlg::CESDSetupDlg() : CEsdPage(225)
{
    SetRequiredMode(framework::ModeSetup);
}

void CESDSetupDlg::InitDialog()
{
    auto* columns = new QHBoxLayout;
    columns->addWidget(BuildSettings(Surface(), kSettings), 1);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildSchedule(Surface(), kSettings));
    auto* triggers = new QGroupBox(QStringLiteral("PST initiation"), Surface());
    Fields().AddRows(new QGridLayout(triggers), triggers, kTriggers);
    right->addWidget(triggers);
    right->addStretch(1);
    columns->addLayout(right, 1);
    BodyLayout()->addLayout(columns);

    AddMethodWindow(m_applySchedule);
    AddMethodWindow(m_applySettings);
    // Apply Mode and the two Apply buttons.
    SetEnableMask(0b111);
}

}  // namespace orvx::views
