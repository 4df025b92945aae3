#include "ClearFaultsDlg.h"

#include "controls/DtmButtonControl.h"
#include "controls/DtmListControl.h"
#include "controls/DtmRadioControl.h"
#include "platform/ui/DialogItems.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace orvx::views {

namespace {

constexpr std::int32_t kCurrentList = 10;
constexpr std::int32_t kHistoricalList = 11;
constexpr int kCurrentListItem = 245;
constexpr int kHistoricalListItem = 246;
constexpr int kClearCurrentItem = 213;
constexpr int kClearAllItem = 214;
constexpr std::int32_t kCurrentCleared = 520;
constexpr std::int32_t kAllCleared = 521;
constexpr std::int32_t kNewValues = 524;

constexpr std::uint32_t kFailHigh = 4;
constexpr std::uint32_t kFailLow = 3;

// One fault behaviour: control id, group caption, and per choice its item, caption and tool tip.
struct Choice {
    int item;
    const char* caption;
    const char* tip;
    std::uint32_t value;
};
struct Behaviour {
    std::int32_t controlId;
    const char* caption;
    Choice high, low;
};
const Behaviour kBehaviours[] = {
    {14, "Pneumatics faults",
     {342, "Fail High", "Fail High - Pneumatics fault will fail at the predefined high level.", kFailHigh},
     {343, "Fail Low", "Fail Low - Pneumatics fault will fail at the predefined low level(failsafe).", kFailLow}},
    {15, "Electronics faults",
     {344, "Fail High", "Fail High - Electronics fault will fail at the predefined high level.", kFailHigh},
     {345, "Fail Low", "Fail Low - Electronics fault will fail at the predefined low level(failsafe).", kFailLow}},
};

// A fault list with its clear button below it.
QGroupBox* faultList(QWidget* parent, const QString& title, int listItem, int buttonItem, const QString& button)
{
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    auto* list = new QTreeWidget(group);
    list->setObjectName(ui::itemName(listItem));
    list->setHeaderHidden(true);
    list->setMinimumHeight(220);
    layout->addWidget(list);
    auto* clear = new QPushButton(button, group);
    clear->setObjectName(ui::itemName(buttonItem));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(clear);
    layout->addLayout(row);
    return group;
}

}  // namespace

CClearFaultsDlg::CClearFaultsDlg() : CResourcePage(238) {}

void CClearFaultsDlg::InitDialog()
{
    auto* lists = new QHBoxLayout;
    lists->addWidget(faultList(Surface(), QStringLiteral("Current faults"), kCurrentListItem, kClearCurrentItem,
                               QStringLiteral("Clear Current Faults")));
    lists->addWidget(faultList(Surface(), QStringLiteral("Historical faults"), kHistoricalListItem, kClearAllItem,
                               QStringLiteral("Clear All Faults")));
    BodyLayout()->addLayout(lists);

    auto* behaviour = new QGroupBox(QStringLiteral("Fault behaviour"), Surface());
    auto* grid = new QGridLayout(behaviour);
    int row = 0;
    for (const Behaviour& b : kBehaviours) {
        grid->addWidget(new QLabel(QString::fromLatin1(b.caption), behaviour), row, 0);
        // Each behaviour is exclusive on its own, not across the shared parent.
        auto* exclusive = new QButtonGroup(behaviour);
        int column = 1;
        for (const Choice& c : {b.high, b.low}) {
            auto* radio = new QRadioButton(QString::fromLatin1(c.caption), behaviour);
            radio->setObjectName(ui::itemName(c.item));
            exclusive->addButton(radio);
            SetToolTip(radio, QString::fromLatin1(c.tip));
            grid->addWidget(radio, row, column++);
        }
        ++row;
    }
    grid->setColumnStretch(3, 1);
    BodyLayout()->addWidget(behaviour);

    AddMethodWindow(ui::dialogItem<QPushButton>(Surface(), kClearCurrentItem));
    AddMethodWindow(ui::dialogItem<QPushButton>(Surface(), kClearAllItem));
    // Apply Mode and the two clear buttons.
    SetEnableMask(0b111);
}

void CClearFaultsDlg::CreateControls()
{
    for (const auto& [controlId, item] : {std::pair{kCurrentList, kCurrentListItem}, std::pair{kHistoricalList, kHistoricalListItem}}) {
        auto list = std::make_unique<controls::CDtmListControl>(controlId, this, Controller());
        list->Attach(ui::dialogItem<QTreeWidget>(Surface(), item));
        RegisterControl(std::move(list));
    }
    for (const auto& [controlId, item] : {std::pair{12, kClearCurrentItem}, std::pair{13, kClearAllItem}}) {
        auto button = std::make_unique<controls::CDtmButtonControl>(controlId, this, Controller());
        button->Attach(ui::dialogItem<QPushButton>(Surface(), item));
        RegisterControl(std::move(button));
    }
    for (const Behaviour& b : kBehaviours) {
        auto radio = std::make_unique<controls::CDtmRadioControl>(b.controlId, this, Controller());
        radio->Attach({{ui::dialogItem<QRadioButton>(Surface(), b.high.item), static_cast<int>(b.high.value)},
                       {ui::dialogItem<QRadioButton>(Surface(), b.low.item), static_cast<int>(b.low.value)}});
        RegisterControl(std::move(radio));
    }
}

void CClearFaultsDlg::OnUpdate(std::int32_t code, const QString& text)
{
    // The base re-applies the mode rules on 500 already.
    CResourcePage::OnUpdate(code, text);
    if (code == kCurrentCleared || code == kAllCleared || code == kNewValues)
        RefreshControlRange(kCurrentList, kHistoricalList);
    if (code == kCurrentCleared || code == kAllCleared)
        ReevaluateMode();
}

}  // namespace orvx::views
