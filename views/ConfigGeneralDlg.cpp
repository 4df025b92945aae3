#include "ConfigGeneralDlg.h"

#include "device/DeviceNames.h"
#include "device/StringBridge.h"
#include "frameworkapi/IUIController.h"
#include "frameworkapi/ParameterRead.h"
#include "platform/ui/DialogItems.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace orvx::views {

namespace {

constexpr int kDateItem = 285;

using framework::FieldOption;
using framework::PageField;
using enum framework::FieldKind;

constexpr FieldOption kButtonLock[] = {{242, 0, "Allow Local Buttons"},
                                       {243, 1, "Lock Out Local Cal/Config"},
                                       {244, 2, "Lock out Manual/Setup Mode"},
                                       {245, 3, "Lock Out All Buttons"}};
constexpr PageField kLock = {.controlId = 10, .kind = Radio, .options = kButtonLock};
constexpr PageField kTexts[] = {
    {.controlId = 11, .kind = Text, .item = 206, .caption = "Tag", .icon = 256},
    {.controlId = 12, .kind = Text, .item = 208, .caption = "Descriptor", .icon = 257},
    {.controlId = 13, .kind = Text, .item = 209, .caption = "Message", .icon = 258},
    {.controlId = 15, .kind = Text, .item = 211, .caption = "Final assembly number", .icon = 260},
};
constexpr PageField kSettings[] = {
    {.controlId = 16, .kind = Choice, .item = 282, .caption = "LCD language"},
    {.controlId = 17, .kind = Choice, .item = 283, .caption = "Pressure unit"},
    {.controlId = 18, .kind = Choice, .item = 284, .caption = "Actuator type"},
    {.controlId = 19, .kind = Choice, .item = 239, .caption = "Air action"},
};
constexpr PageField kLatch = {.controlId = 20, .kind = Check, .item = 216, .caption = "Latch trips"};

// The device keeps its date as "years since 1900-month-day"; read as "%d-%d-%d" would: leading
// blanks allowed, anything after the day ignored. Invalid for a text that is no such date.
QDate deviceDate(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*([+-]?\\d+)-\\s*([+-]?\\d+)-\\s*([+-]?\\d+)"));
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
    Fields().AddRows(new QGridLayout(identity), identity, kTexts);
    BodyLayout()->addWidget(identity);

    auto* settings = new QGroupBox(QStringLiteral("Device settings"), Surface());
    auto* form = new QGridLayout(settings);
    Fields().AddRows(form, settings, kSettings);
    int row = form->rowCount();
    form->addWidget(new QLabel(QStringLiteral("Device date"), settings), row, 1);
    m_date = ui::makeItem<QDateEdit>(settings, kDateItem);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    form->addWidget(m_date, row++, 2);
    form->addWidget(Fields().Make(settings, kLatch).field, row, 1, 1, 2);

    auto* lock = new QGroupBox(QStringLiteral("Local buttons"), Surface());
    auto* lockColumn = new QVBoxLayout(lock);
    for (QRadioButton* button : Fields().Make(lock, kLock).options)
        lockColumn->addWidget(button);
    lockColumn->addStretch(1);

    auto* lower = new QHBoxLayout;
    lower->addWidget(settings, 1);
    lower->addWidget(lock);
    BodyLayout()->addLayout(lower);
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

void CConfigGeneralDlg::ModeGated(bool allowed)
{
    m_modeAllowed = allowed;
    applyDateAccess();
}

void CConfigGeneralDlg::applyDateAccess()
{
    // The picker is no bound control, so the base's gating does not reach it: it takes both the
    // user's write right and the device mode the page asks for.
    m_date->setEnabled(m_modeAllowed && Controller()->IsWritable());
}

void CConfigGeneralDlg::showDeviceDate()
{
    // A date that cannot be read leaves the picker as it was; the status line says so.
    const auto date = framework::readParameter(Controller(), device::tag::DeviceDate, [](const com::Variant& value) {
        return deviceDate(device::variantText(value));
    });
    if (date && date->isValid())
        m_date->setDate(*date);
}

}  // namespace orvx::views
