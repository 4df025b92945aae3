#include "CommissionDiagDlg.h"

#include "PstResultText.h"
#include "controls/DtmButtonControl.h"
#include "device/DeviceNames.h"
#include "diagnostics/GraphLoading.h"
#include "diagnostics/PSTSummary.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/PostCall.h"

#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace orvx::views {

namespace {

using device::code::resultOf;
namespace method = device::method;

constexpr std::int32_t kPerformControl = 10;
constexpr std::int32_t kLoadPstControl = 11;
constexpr std::int32_t kLoadEsdControl = 12;

enum Item {
    PerformPstRadio = 315,
    PerformTbtRadio = 316,
    TestResultEdit = 317,
    LoadFromFileButton = 217,
    ShowPstGraphButton = 215,  // kept hidden and disabled
};

using framework::PageField;
using enum framework::FieldKind;
constexpr PageField kPerform{.controlId = kPerformControl,
                             .kind = Button,
                             .item = 213,
                             .caption = "Perform Diagnostics"};
constexpr PageField kLoads[] = {
    {.controlId = kLoadPstControl, .kind = Button, .item = 214, .caption = "Load Current PST"},
    {.controlId = kLoadEsdControl, .kind = Button, .item = 216, .caption = "Load ESD Data"},
};

}  // namespace

CCommissionDiagDlg::CCommissionDiagDlg() : CResourcePage(236) {}

void CCommissionDiagDlg::InitDialog()
{
    auto* test = new QGroupBox(QStringLiteral("Test"), Surface());
    auto* testLayout = new QGridLayout(test);
    m_performPst = ui::makeItem<QRadioButton>(test, PerformPstRadio);
    m_performPst->setText(QStringLiteral("Perform &PST"));
    m_performPst->setChecked(true);
    m_performTbt = ui::makeItem<QRadioButton>(test, PerformTbtRadio);
    m_performTbt->setText(QStringLiteral("Perform &TBT"));
    QWidget* perform = Fields().Make(test, kPerform).field;
    testLayout->addWidget(m_performPst, 0, 0);
    testLayout->addWidget(m_performTbt, 1, 0);
    testLayout->addWidget(perform, 0, 1, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
    testLayout->setColumnStretch(1, 1);

    auto* curves = new QGroupBox(QStringLiteral("Diagnostic data"), Surface());
    auto* curveButtons = new QHBoxLayout(curves);
    QList<QWidget*> buttons{perform};
    for (const PageField& load : kLoads)
        curveButtons->addWidget(buttons.emplace_back(Fields().Make(curves, load).field));
    auto* fromFile = ui::makeItem<QPushButton>(curves, LoadFromFileButton);
    fromFile->setText(QStringLiteral("Load From File"));
    connect(fromFile, &QPushButton::clicked, this,
            [this] { ui::runGuarded("Load From File", [this] { diagnostics::showRecordFromFile(this); }); });
    curveButtons->addWidget(buttons.emplace_back(fromFile));
    curveButtons->addStretch(1);
    auto* showGraph = ui::makeItem<QPushButton>(curves, ShowPstGraphButton);
    showGraph->setText(QStringLiteral("Show PST Graph"));
    showGraph->setEnabled(false);
    showGraph->hide();

    auto* result = new QGroupBox(QStringLiteral("Test Result"), Surface());
    auto* resultLayout = new QVBoxLayout(result);
    m_result = ui::makeItem<QPlainTextEdit>(result, TestResultEdit);
    m_result->setReadOnly(true);
    m_result->setMinimumHeight(150);
    resultLayout->addWidget(m_result);

    BodyLayout()->addWidget(test);
    BodyLayout()->addWidget(curves);
    BodyLayout()->addWidget(result);
    BodyLayout()->addStretch(1);

    for (QWidget* button : buttons)
        AddMethodWindow(button);
    // Apply Mode and the four operation buttons.
    SetEnableMask(0b11111);
}

void CCommissionDiagDlg::CreateControls()
{
    Fields().Get<controls::CDtmButtonControl>(kPerformControl)->SetClickFilter([this] { return PerformDiagnostics(); });
    for (const auto& [controlId, operation] :
         {std::pair{kLoadPstControl, method::LoadPstData}, std::pair{kLoadEsdControl, method::LoadEsdEvents}})
        Fields().Get<controls::CDtmButtonControl>(controlId)->SetClickFilter([this, id = controlId, m = operation] {
            StartOperation(id, m);
            return false;  // sent by the page
        });
}

bool CCommissionDiagDlg::PerformDiagnostics()
{
    const bool pst = m_performPst->isChecked();
    if (StartOperation(kPerformControl, pst ? method::PartialStrokeTest : method::TerminalBoardTest))
        ShowResult(pst ? QStringLiteral("Perform PST, please waiting...")
                       : QStringLiteral("Perform TBT, please waiting..."));
    return false;  // sent by the page
}

void CCommissionDiagDlg::ShowResult(const QString& text)
{
    QString shown = text;
    m_result->setPlainText(shown.replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

void CCommissionDiagDlg::ShowTestResult(bool withPerformedTime)
{
    framework::IUIController* controller = Controller();
    if (!controller)
        return;
    try {
        QString text = pstResultText(*controller);
        if (withPerformedTime)
            text.prepend(performedTimeLine(*controller, QDateTime::currentDateTime()));
        ShowResult(text);
    } catch (const std::exception& error) {
        ShowFailure(QStringLiteral("The test result could not be read: %1").arg(QString::fromUtf8(error.what())));
    }
}

void CCommissionDiagDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    const auto restoreButtons = [this] { ApplyButtons(EnableMask(), true); };
    const auto later = [this](auto call) {
        ui::postCall(this, [this, call] {
            if (framework::IUIController* controller = Controller())
                call(*controller);
        });
    };
    switch (code) {
    case resultOf(method::TerminalBoardTest):
        restoreButtons();
        ShowResult(QStringLiteral("TBT Completed."));
        return;
    case resultOf(method::PartialStrokeTest):
        restoreButtons();
        ShowTestResult(false);
        later([this](framework::IUIController& controller) { diagnostics::showPstSummary(controller, this); });
        return;
    case resultOf(method::LoadPstData):
        restoreButtons();
        ShowTestResult(true);
        later([this](framework::IUIController& controller) {
            diagnostics::showDeviceCurves(controller, diagnostics::DiagKind::Pst, this);
        });
        return;
    case resultOf(method::LoadEsdEvents):
        restoreButtons();
        later([this](framework::IUIController& controller) {
            diagnostics::showDeviceCurves(controller, diagnostics::DiagKind::Esd, this);
        });
        return;
    default: break;
    }
    if (!device::code::isFailure(code))
        return;
    if (text.trimmed() == QString::number(method::TerminalBoardTest))
        ShowResult(QStringLiteral("TBT Canceled."));
    else if (text.trimmed() == QString::number(method::PartialStrokeTest))
        ShowResult(QStringLiteral("PST Canceled."));
}

}  // namespace orvx::views
