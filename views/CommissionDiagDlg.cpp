#include "CommissionDiagDlg.h"

#include "platform/ui/DialogItems.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace orvx::views {

namespace {

constexpr CEsdPage::TestItems kTests{.performPst = 315,
                                     .performTbt = 316,
                                     .perform = 213,
                                     .loadPst = 214,
                                     .loadEsd = 216,
                                     .fromFile = 217,
                                     .result = 317,
                                     .firstControl = 10};
constexpr int kShowPstGraphItem = 215;  // kept hidden and disabled

}  // namespace

void CCommissionDiagDlg::InitDialog()
{
    QWidget* tests = BuildTests(Surface(), kTests);
    BodyLayout()->addWidget(tests);
    BodyLayout()->addStretch(1);
    auto* showGraph = ui::makeButton(tests, kShowPstGraphItem, QStringLiteral("Show PST Graph"));
    showGraph->setEnabled(false);
    showGraph->hide();

    for (QWidget* button : {m_perform, m_loadPst, m_loadEsd, static_cast<QWidget*>(m_fromFile)})
        AddMethodWindow(button);
    // Apply Mode and the four operation buttons.
    SetEnableMask(0b11111);
}

}  // namespace orvx::views
