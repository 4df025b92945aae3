#include "HARTDlg.h"

#include "controls/DtmComboBoxControl.h"
#include "controls/DtmTextControl.h"
#include "platform/ui/DialogItems.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace orvx::views {

namespace {

// Control id, caption and dialog item of each field, in the order they are laid out.
struct Field {
    std::int32_t controlId;
    const char* caption;
    int item;
};
constexpr Field kTexts[] = {{10, "Number of preambles", 208}, {12, "Physical signalling code", 209},
                            {11, "Device flags", 210}};
constexpr Field kCombos[] = {{13, "Burst mode", 213}, {14, "Burst command", 214}};

}  // namespace

void CHARTDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("HART communication"), Surface());
    auto* form = new QFormLayout(group);
    for (const Field& f : kTexts)
        form->addRow(QString::fromLatin1(f.caption), ui::makeItem<QLineEdit>(group, f.item));
    for (const Field& f : kCombos)
        form->addRow(QString::fromLatin1(f.caption), ui::makeItem<QComboBox>(group, f.item));
    BodyLayout()->addWidget(group);
}

void CHARTDlg::CreateControls()
{
    for (const Field& f : kTexts) {
        auto text = std::make_unique<controls::CDtmTextControl>(f.controlId, this, Controller());
        text->Attach(nullptr, ui::dialogItem<QLineEdit>(Surface(), f.item), nullptr);
        RegisterControl(std::move(text));
    }
    for (const Field& f : kCombos) {
        auto combo = std::make_unique<controls::CDtmComboBoxControl>(f.controlId, this, Controller());
        combo->Attach(nullptr, nullptr, ui::dialogItem<QComboBox>(Surface(), f.item), nullptr);
        RegisterControl(std::move(combo));
    }
}

}  // namespace orvx::views
