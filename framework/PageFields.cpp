#include "PageFields.h"

#include "IFieldPage.h"
#include "controls/DtmButtonControl.h"
#include "controls/DtmCheckBox.h"
#include "controls/DtmComboBoxControl.h"
#include "controls/DtmListControl.h"
#include "controls/DtmProgressBarControl.h"
#include "controls/DtmRadioControl.h"
#include "controls/DtmStaticTextControl.h"
#include "controls/DtmTextControl.h"
#include "frameworkapi/IApplicationView.h"
#include "platform/ui/DialogItems.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace orvx::framework {

namespace {

QString text(const char* latin1)
{
    return latin1 ? QString::fromLatin1(latin1) : QString();
}

// A label with an item number, an unnumbered one, or none for item 0.
QLabel* label(QWidget* parent, int item)
{
    if (item == 0)
        return nullptr;
    auto* made = new QLabel(parent);
    if (item != kUnnumbered)
        made->setObjectName(ui::itemName(item));
    return made;
}

QWidget* fieldWidget(QWidget* parent, const PageField& field)
{
    switch (field.kind) {
    case FieldKind::Text: return ui::makeItem<QLineEdit>(parent, field.item);
    case FieldKind::Choice: return ui::makeItem<QComboBox>(parent, field.item);
    case FieldKind::Label: return ui::makeItem<QLabel>(parent, field.item);
    case FieldKind::Check: {
        auto* box = ui::makeItem<QCheckBox>(parent, field.item);
        box->setText(text(field.caption));
        return box;
    }
    case FieldKind::List: {
        auto* list = ui::makeItem<QTreeWidget>(parent, field.item);
        list->setHeaderHidden(true);
        return list;
    }
    case FieldKind::Button: {
        auto* button = ui::makeItem<QPushButton>(parent, field.item);
        button->setText(text(field.caption));
        return button;
    }
    case FieldKind::Bar: return ui::makeItem<QProgressBar>(parent, field.item);
    case FieldKind::Radio: return nullptr;
    }
    return nullptr;
}

// Whether the caption is a label of its own rather than text on the widget.
bool captionBeside(FieldKind kind)
{
    return kind != FieldKind::Check && kind != FieldKind::Button;
}

std::unique_ptr<controls::IFdtControl> makeControl(const PageField& field, const FieldWidgets& w, IFieldPage& fieldPage)
{
    IUIController* controller = fieldPage.Controller();
    IApplicationView& page = fieldPage.View();
    const std::int32_t id = field.controlId;
    switch (field.kind) {
    case FieldKind::Text: {
        auto control = std::make_unique<controls::CDtmTextControl>(id, &page, controller);
        control->Attach(w.icon, w.as<QLineEdit>(), w.unit);
        return control;
    }
    case FieldKind::Choice: {
        auto control = std::make_unique<controls::CDtmComboBoxControl>(id, &page, controller);
        // Only a numbered caption is the control's to write; a plain one stays as declared.
        control->Attach(field.captionItem ? w.caption : nullptr, w.icon, w.as<QComboBox>(), w.value);
        return control;
    }
    case FieldKind::Label: {
        auto control = std::make_unique<controls::CDtmStaticTextControl>(id, &page, controller);
        control->Attach(w.as<QLabel>());
        return control;
    }
    case FieldKind::Check: {
        auto control = std::make_unique<controls::CDtmCheckBox>(id, &page, controller);
        control->Attach(w.as<QCheckBox>());
        return control;
    }
    case FieldKind::Radio: {
        auto control = std::make_unique<controls::CDtmRadioControl>(id, &page, controller);
        QList<std::pair<QRadioButton*, int>> buttons;
        for (std::size_t i = 0; i < field.options.size(); ++i)
            buttons.append({w.options.value(static_cast<qsizetype>(i)), field.options[i].value});
        control->Attach(buttons);
        return control;
    }
    case FieldKind::List: {
        auto control = std::make_unique<controls::CDtmListControl>(id, &page, controller);
        control->Attach(w.as<QTreeWidget>());
        return control;
    }
    case FieldKind::Button: {
        auto control = std::make_unique<controls::CDtmButtonControl>(id, &page, controller);
        control->Attach(w.as<QPushButton>());
        return control;
    }
    case FieldKind::Bar: {
        auto control = std::make_unique<controls::CDtmProgressBarControl>(id, &page, controller);
        control->Attach(w.high, w.low, w.value, w.as<QProgressBar>());
        return control;
    }
    }
    return nullptr;
}

}  // namespace

struct CPageFields::Entry {
    PageField field;
    FieldWidgets widgets;
    controls::IFdtControl* control = nullptr;
    bool bound = false;
};

CPageFields::CPageFields(IFieldPage& page) : m_page(page) {}

CPageFields::~CPageFields() = default;

const FieldWidgets& CPageFields::Make(QWidget* parent, const PageField& field)
{
    static const FieldWidgets none;
    if (Widgets(field.controlId))
        return none;
    auto entry = std::make_unique<Entry>();
    entry->field = field;
    FieldWidgets& w = entry->widgets;
    w.field = fieldWidget(parent, field);
    if (field.caption && captionBeside(field.kind)) {
        w.caption = new QLabel(text(field.caption), parent);
        if (field.captionItem)
            w.caption->setObjectName(ui::itemName(field.captionItem));
        w.caption->setBuddy(w.field);
    }
    w.icon = label(parent, field.icon);
    w.unit = label(parent, field.unit);
    w.value = label(parent, field.value);
    w.low = label(parent, field.low);
    w.high = label(parent, field.high);
    if (auto* bar = w.as<QProgressBar>())
        bar->setTextVisible(false);
    // Each group is exclusive on its own, not across a parent it shares with other groups.
    auto* group = field.options.empty() ? nullptr : new QButtonGroup(parent);
    for (const FieldOption& option : field.options) {
        auto* button = ui::makeItem<QRadioButton>(parent, option.item);
        group->addButton(button);
        button->setText(text(option.caption));
        if (option.toolTip)
            m_page.View().SetToolTip(button, text(option.toolTip));
        w.options.append(button);
    }
    m_entries.push_back(std::move(entry));
    return m_entries.back()->widgets;
}

void CPageFields::AddRows(QGridLayout* grid, QWidget* parent, std::span<const PageField> fields)
{
    for (const PageField& field : fields) {
        const FieldWidgets& w = Make(parent, field);
        const int row = grid->rowCount();
        if (w.icon)
            grid->addWidget(w.icon, row, 0);
        if (w.caption)
            grid->addWidget(w.caption, row, 1);
        if (w.field)
            grid->addWidget(w.field, row, w.caption ? 2 : 1, 1, w.caption ? 1 : 2);
        for (int i = 0; i < w.options.size(); ++i)
            grid->addWidget(w.options[i], row, 2 + i);
        if (w.unit) {
            w.unit->setMinimumWidth(30);
            grid->addWidget(w.unit, row, 3);
        }
    }
    grid->setColumnMinimumWidth(0, 16);
    grid->setColumnStretch(2, 1);
}

void CPageFields::Bind()
{
    for (const auto& entry : m_entries) {
        if (entry->bound)
            continue;
        entry->bound = true;
        std::unique_ptr<controls::IFdtControl> made = makeControl(entry->field, entry->widgets, m_page);
        controls::IFdtControl* control = made.get();
        // A control id the page has already keeps that control; this one goes.
        if (m_page.RegisterControl(std::move(made)))
            entry->control = control;
    }
}

const FieldWidgets* CPageFields::Widgets(std::int32_t controlId) const
{
    for (const auto& entry : m_entries)
        if (entry->field.controlId == controlId)
            return &entry->widgets;
    return nullptr;
}

controls::IFdtControl* CPageFields::control(std::int32_t controlId) const
{
    for (const auto& entry : m_entries)
        if (entry->field.controlId == controlId)
            return entry->control;
    return nullptr;
}

}  // namespace orvx::framework
