#include "ClearFaultsDlg.h"

#include "device/DeviceNames.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <tuple>

namespace orvx::views {

namespace {

constexpr std::int32_t kCurrentList = 10;
constexpr std::int32_t kHistoricalList = 11;
constexpr std::int32_t kCurrentCleared = device::code::resultOf(device::method::ClearCurrentFaults);
constexpr std::int32_t kAllCleared = device::code::resultOf(device::method::ClearAllFaults);

constexpr int kFailHigh = 4;
constexpr int kFailLow = 3;

using framework::FieldOption;
using framework::PageField;
using enum framework::FieldKind;

// Each fault list, under its group's title, with the button that clears it.
constexpr std::tuple<const char*, PageField, PageField> kLists[] = {
    {"Current faults",
     {.controlId = kCurrentList, .kind = List, .item = 245},
     {.controlId = 12, .kind = Button, .item = 213, .caption = "Clear Current Faults"}},
    {"Historical faults",
     {.controlId = kHistoricalList, .kind = List, .item = 246},
     {.controlId = 13, .kind = Button, .item = 214, .caption = "Clear All Faults"}},
};

constexpr FieldOption kPneumatics[] = {
    {342, kFailHigh, "Fail High", "Fail High - Pneumatics fault will fail at the predefined high level."},
    {343, kFailLow, "Fail Low", "Fail Low - Pneumatics fault will fail at the predefined low level(failsafe)."},
};
constexpr FieldOption kElectronics[] = {
    {344, kFailHigh, "Fail High", "Fail High - Electronics fault will fail at the predefined high level."},
    {345, kFailLow, "Fail Low", "Fail Low - Electronics fault will fail at the predefined low level(failsafe)."},
};
constexpr PageField kBehaviours[] = {
    {.controlId = 14, .kind = Radio, .caption = "Pneumatics faults", .options = kPneumatics},
    {.controlId = 15, .kind = Radio, .caption = "Electronics faults", .options = kElectronics},
};

}  // namespace

CClearFaultsDlg::CClearFaultsDlg() : CResourcePage(238) {}

void CClearFaultsDlg::InitDialog()
{
    auto* lists = new QHBoxLayout;
    for (const auto& [title, listField, buttonField] : kLists) {
        auto* group = new QGroupBox(QString::fromLatin1(title), Surface());
        auto* layout = new QVBoxLayout(group);
        QWidget* list = Fields().Make(group, listField).field;
        list->setMinimumHeight(220);
        layout->addWidget(list);
        QWidget* clear = Fields().Make(group, buttonField).field;
        auto* row = new QHBoxLayout;
        row->addStretch(1);
        row->addWidget(clear);
        layout->addLayout(row);
        lists->addWidget(group);
        AddMethodWindow(clear);
    }
    BodyLayout()->addLayout(lists);

    auto* behaviour = new QGroupBox(QStringLiteral("Fault behaviour"), Surface());
    auto* grid = new QGridLayout(behaviour);
    Fields().AddRows(grid, behaviour, kBehaviours);
    grid->setColumnStretch(2, 0);
    grid->setColumnStretch(4, 1);
    BodyLayout()->addWidget(behaviour);

    // Apply Mode and the two clear buttons.
    SetEnableMask(0b111);
}

void CClearFaultsDlg::OnUpdate(std::int32_t code, const QString& text)
{
    // The base re-applies the mode rules on code::ModeChanged already.
    CResourcePage::OnUpdate(code, text);
    if (code == kCurrentCleared || code == kAllCleared || code == device::code::NewValues)
        RefreshControlRange(kCurrentList, kHistoricalList);
    if (code == kCurrentCleared || code == kAllCleared)
        ReevaluateMode();
}

}  // namespace orvx::views
