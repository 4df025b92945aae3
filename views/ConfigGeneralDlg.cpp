#include "ConfigGeneralDlg.h"

#include "controls/DtmCheckBox.h"
#include "controls/DtmComboBoxControl.h"
#include "controls/DtmRadioControl.h"
#include "controls/DtmTextControl.h"
#include "framework/IUIController.h"
#include "host/StringBridge.h"
#include "platform/ui/DialogItems.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace orvx::views {

namespace {

constexpr int kDateItem = 285;
constexpr int kLatchItem = 216;

struct Radio {
    int item;
    int value;
    const char* caption;
};
constexpr Radio kButtonLock[] = {{242, 0, "Allow Local Buttons"},
                                 {243, 1, "Lock Out Local Cal/Config"},
                                 {244, 2, "Lock out Manual/Setup Mode"},
                                 {245, 3, "Lock Out All Buttons"}};

struct Field {
    std::int32_t controlId;
    const char* caption;
    int item;
    int icon;  // 0: none
};
constexpr Field kTexts[] = {{11, "Tag", 206, 256},
                            {12, "Descriptor", 208, 257},
                            {13, "Message", 209, 258},
                            {15, "Final assembly number", 211, 260}};
constexpr Field kCombos[] = {{16, "LCD language", 282, 0},
                             {17, "Pressure unit", 283, 0},
                             {18, "Actuator type", 284, 0},
                             {19, "Air action", 239, 0}};

// The device keeps its date as "years since 1900-month-day"; read as "%d-%d-%d" would: leading
// blanks allowed, anything after the day ignored. Invalid for a text that is no such date.
QDate deviceDate(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([+-]?\\d+)-\\s*([+-]?\\d+)-\\s*([+-]?\\d+)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return {};
    bool okYear = false, okMonth = false, okDay = false;
    const int year = match.captured(1).toInt(&okYear) + 1900;
    const int month = match.captured(2).toInt(&okMonth);
    const int day = match.captured(3).toInt(&okDay);
    if (!okYear || !okMonth || !okDay)
        return {};
    return QDate(year, month, day);
}

}  // namespace

void CConfigGeneralDlg::InitDialog()
{
    auto* identity = new QGroupBox(QStringLiteral("Identification"), Surface());
    auto* grid = new QGridLayout(identity);
    int row = 0;
    for (const Field& f : kTexts) {
        grid->addWidget(ui::makeItem<QLabel>(identity, f.icon), row, 0);
        grid->addWidget(new QLabel(QString::fromLatin1(f.caption), identity), row, 1);
        grid->addWidget(ui::makeItem<QLineEdit>(identity, f.item), row, 2);
        ++row;
    }
    grid->setColumnMinimumWidth(0, 16);
    grid->setColumnStretch(2, 1);
    BodyLayout()->addWidget(identity);

    auto* settings = new QGroupBox(QStringLiteral("Device settings"), Surface());
    auto* form = new QGridLayout(settings);
    row = 0;
    for (const Field& f : kCombos) {
        form->addWidget(new QLabel(QString::fromLatin1(f.caption), settings), row, 0);
        form->addWidget(ui::makeItem<QComboBox>(settings, f.item), row, 1);
        ++row;
    }
    form->addWidget(new QLabel(QStringLiteral("Device date"), settings), row, 0);
    m_date = ui::makeItem<QDateEdit>(settings, kDateItem);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    form->addWidget(m_date, row++, 1);
    auto* latch = ui::makeItem<QCheckBox>(settings, kLatchItem);
    latch->setText(QStringLiteral("Latch trips"));
    form->addWidget(latch, row, 0, 1, 2);
    form->setColumnStretch(1, 1);

    auto* lock = new QGroupBox(QStringLiteral("Local buttons"), Surface());
    auto* lockColumn = new QVBoxLayout(lock);
    for (const Radio& r : kButtonLock) {
        auto* button = ui::makeItem<QRadioButton>(lock, r.item);
        button->setText(QString::fromLatin1(r.caption));
        lockColumn->addWidget(button);
    }
    lockColumn->addStretch(1);

    auto* lower = new QHBoxLayout;
    lower->addWidget(settings, 1);
    lower->addWidget(lock);
    BodyLayout()->addLayout(lower);
}

void CConfigGeneralDlg::CreateControls()
{
    auto lock = std::make_unique<controls::CDtmRadioControl>(10, this, Controller());
    QList<std::pair<QRadioButton*, int>> buttons;
    for (const Radio& r : kButtonLock)
        buttons.append({ui::dialogItem<QRadioButton>(Surface(), r.item), r.value});
    lock->Attach(buttons);
    RegisterControl(std::move(lock));

    for (const Field& f : kTexts) {
        auto text = std::make_unique<controls::CDtmTextControl>(f.controlId, this, Controller());
        text->Attach(ui::dialogItem<QLabel>(Surface(), f.icon), ui::dialogItem<QLineEdit>(Surface(), f.item), nullptr);
        RegisterControl(std::move(text));
    }
    for (const Field& f : kCombos) {
        auto combo = std::make_unique<controls::CDtmComboBoxControl>(f.controlId, this, Controller());
        combo->Attach(nullptr, nullptr, ui::dialogItem<QComboBox>(Surface(), f.item), nullptr);
        RegisterControl(std::move(combo));
    }
    auto latch = std::make_unique<controls::CDtmCheckBox>(20, this, Controller());
    latch->Attach(ui::dialogItem<QCheckBox>(Surface(), kLatchItem));
    RegisterControl(std::move(latch));
}

void CConfigGeneralDlg::Activate()
{
    CResourcePage::Activate();
    applyDateAccess();
}

void CConfigGeneralDlg::RefreshControls(std::int32_t controlId)
{
    CResourcePage::RefreshControls(controlId);
    if (controlId == -1)
        showDeviceDate();
}

void CConfigGeneralDlg::RefreshWriteAccess()
{
    CResourcePage::RefreshWriteAccess();
    applyDateAccess();
}

void CConfigGeneralDlg::GateForMode(bool allowed)
{
    CResourcePage::GateForMode(allowed);
    m_modeAllowed = allowed;
    applyDateAccess();
}

void CConfigGeneralDlg::applyDateAccess()
{
    // The picker is no bound control, so the base's gating does not reach it: it takes both the
    // user's write right and the device mode the page asks for.
    if (m_date)
        m_date->setEnabled(m_modeAllowed && Controller() && Controller()->IsWritable());
}

void CConfigGeneralDlg::showDeviceDate()
{
    if (!m_date || !Controller())
        return;
    try {
        const QDate date = deviceDate(host::variantText(Controller()->GetParameterValue(QStringLiteral("4000"))));
        if (date.isValid())
            m_date->setDate(date);
    } catch (const std::exception&) {
        // A date that cannot be read leaves the picker as it was.
    }
}

}  // namespace orvx::views
