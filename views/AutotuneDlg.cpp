#include "AutotuneDlg.h"

#include "controls/DtmTextControl.h"
#include "device/DeviceNames.h"
#include "framework/FailureText.h"
#include "frameworkapi/IUIController.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace orvx::views {

namespace {

using framework::PageField;
using enum framework::FieldKind;

constexpr std::int32_t kAggressiveness = 10;

enum Item {
    StartItem = 213,
    StatusItem = 276,
    GroupItem = 322,
};

constexpr PageField kFields[] = {
    {.controlId = kAggressiveness, .kind = Text, .item = 287, .caption = "Aggressiveness (-9 to +9, 0:Natural)"},
};

const QString kOutOfRange = QStringLiteral("Aggressiveness value must be within -9 and 9.");

}  // namespace

CAutotuneDlg::CAutotuneDlg()
    : CArmedRunPage(231, device::method::Autotune, QStringLiteral("Autotune"),
                    {.armed = QStringLiteral("Press Continue to run Autotune operation,\nelse press Cancel."),
                     .running = QStringLiteral("Perform Autotune, please wait..."),
                     .cancelling = QStringLiteral("Autotune Canceling..."),
                     .completed = QStringLiteral("Autotune completed."),
                     .cancelledByDevice = QStringLiteral("Autotune canceled by device!")})
{
}

void CAutotuneDlg::InitDialog()
{
    QVBoxLayout* layout = MakeGroup(GroupItem, QStringLiteral("Autotune"),
                                    QStringLiteral("The positioner strokes the valve, measures the assembly and sets "
                                                   "its positioning parameters. The valve moves while it tunes."));
    QWidget* group = layout->parentWidget();
    auto* grid = new QGridLayout;
    Fields().AddRows(grid, group, kFields);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);
    AddRunControls(group, layout, StartItem, StatusItem);
    ApplyButtons(ApplyModeBit | StartBit, true);
}

bool CAutotuneDlg::ReadyToRun()
{
    auto* aggressiveness = Fields().Get<controls::CDtmTextControl>(kAggressiveness);
    if (!aggressiveness)
        return false;
    if (!aggressiveness->Validate()) {
        // The run's own status line says it too, where the user follows the run.
        m_status.Show(kOutOfRange);
        Refuse(kOutOfRange);
        return false;
    }
    // An entry not yet committed (Continue pressed from the keyboard) goes to the device first,
    // so that the run tunes with what the user sees.
    if (MayOperate())
        aggressiveness->Commit();
    return true;
}

void CAutotuneDlg::OnFailure(std::int32_t code, const QString& text)
{
    const bool own = IsOwnMethod(text);
    if (code == device::code::FailedInDevice) {
        if (own)
            CArmedRunPage::OnFailure(code, text);
        return;
    }
    // The common reaction has brought the armed buttons back.
    if (own)
        m_status.RunEnded();
    m_status.Show(framework::failureText(code));  // busy, or nothing
}

}  // namespace orvx::views
