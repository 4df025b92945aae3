#pragma once

#include <QList>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QGridLayout;
class QLabel;
class QRadioButton;

namespace orvx::controls {
class IFdtControl;
}

namespace orvx::framework {

class IFieldPage;

// The data-bound control kind of a field and the widget it is shown in.
enum class FieldKind {
    Text,    // CDtmTextControl on a QLineEdit
    Choice,  // CDtmComboBoxControl on a QComboBox
    Label,   // CDtmStaticTextControl on a QLabel
    Check,   // CDtmCheckBox on a QCheckBox
    Radio,   // CDtmRadioControl on a group of QRadioButtons
    List,    // CDtmListControl on a QTreeWidget
    Button,  // CDtmButtonControl on a QPushButton
    Bar,     // CDtmProgressBarControl on a QProgressBar
};

// An item number for a label that the page needs but no one finds by number.
constexpr int kUnnumbered = -1;

// One button of a radio group: its item, the value it stands for, its text and tool tip.
struct FieldOption {
    int item = 0;
    int value = 0;
    const char* caption = nullptr;
    const char* toolTip = nullptr;
};

// One field of a page, declared once: the control id, the kind, and the numbered widgets it is
// shown in. An item of 0 means the field has no such widget.
struct PageField {
    std::int32_t controlId = 0;
    FieldKind kind = FieldKind::Text;
    int item = 0;                               // the field's own widget; unused for a radio group
    const char* caption = nullptr;              // the label beside it; the text on a check box or button
    int icon = 0;                               // the indicator icon label
    int unit = 0;                               // the unit label (kUnnumbered: a label without a number)
    int captionItem = 0;                        // a number for the caption label; 0 leaves it unnumbered
    int value = 0, low = 0, high = 0;           // a bar's value label and the labels of its range ends
    std::span<const FieldOption> options = {};  // a radio group's buttons
};

// The widgets made for one field; the members the field's kind does not use stay null.
struct FieldWidgets {
    QWidget* field = nullptr;
    QLabel* caption = nullptr;
    QLabel* icon = nullptr;
    QLabel* unit = nullptr;
    QLabel* value = nullptr;
    QLabel* low = nullptr;
    QLabel* high = nullptr;
    QList<QRadioButton*> options;

    // The field's widget as the class its kind makes (QLineEdit for Text, ...); null otherwise.
    template <class T>
    T* as() const;
};

// Makes the widgets of a page's fields, named "item_<number>", and later the data-bound control
// of each field, attached to exactly those widgets and registered on the page. The pages keep
// the typed pointers it hands back and never look a widget up by its number.
//
// Widgets come first (from the page's InitDialog, or the header's construction), controls second
// (once the page has its controller), so a page can hook a widget before its control does.
class CPageFields {
public:
    explicit CPageFields(IFieldPage& page);
    ~CPageFields();
    CPageFields(const CPageFields&) = delete;
    CPageFields& operator=(const CPageFields&) = delete;

    // Makes the field's widgets under 'parent'; the page lays them out. A second field with a
    // control id already made is ignored and answers empty widgets.
    const FieldWidgets& Make(QWidget* parent, const PageField& field);
    // Makes each field's widgets and lays them out as rows of the grid from its next free row:
    // icon, caption, field, unit (a check box or radio group spans caption and field).
    void AddRows(QGridLayout* grid, QWidget* parent, std::span<const PageField> fields);

    // Creates, attaches and registers the control of every field made and not bound yet.
    void Bind();

    // The widgets made for a control id; null for an id no field has.
    const FieldWidgets* Widgets(std::int32_t controlId) const;
    // The control bound for a control id, as its kind's class; null before Bind or for another
    // class.
    template <class Control>
    Control* Get(std::int32_t controlId) const
    {
        return dynamic_cast<Control*>(control(controlId));
    }

private:
    struct Entry;
    controls::IFdtControl* control(std::int32_t controlId) const;

    IFieldPage& m_page;
    std::vector<std::unique_ptr<Entry>> m_entries;
};

template <class T>
T* FieldWidgets::as() const
{
    return qobject_cast<T*>(field);
}

}  // namespace orvx::framework
