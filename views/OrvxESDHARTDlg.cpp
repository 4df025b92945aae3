#include "OrvxESDHARTDlg.h"

#include "device/DeviceNames.h"
#include "device/StringBridge.h"
#include "frameworkapi/IUIController.h"
#include "frameworkapi/ParameterRead.h"
#include "platform/ui/Colours.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/Resources.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace orvx::views {

namespace {

constexpr int kTrippedItem = 286;
constexpr int kTrippedImage = 300;
constexpr int kNotTrippedImage = 301;

using enum framework::FieldKind;
constexpr framework::PageField kBars[] = {
    {.controlId = 10, .kind = Bar, .item = 208, .caption = "Input signal", .value = 233, .low = 234, .high = 235},
    {.controlId = 11, .kind = Bar, .item = 209, .caption = "Valve position", .value = 236, .low = 237, .high = 238},
    {.controlId = 12, .kind = Bar, .item = 210, .caption = "Pressure", .value = 239, .low = 240, .high = 241},
    {.controlId = 13, .kind = Bar, .item = 211, .caption = "Supply pressure", .value = 242, .low = 243, .high = 244},
};

}  // namespace

COrvxESDHARTDlg::COrvxESDHARTDlg() : CLiveValuesPage(220) {}

void COrvxESDHARTDlg::InitDialog()
{
    AddBars(QStringLiteral("Live values"), kBars);
    auto* esd = new QHBoxLayout;
    m_tripped = ui::makeItem<QLabel>(Surface(), kTrippedItem);
    esd->addWidget(m_tripped);
    m_trippedWords = new QLabel(QStringLiteral("ESD Tripped"), Surface());
    m_trippedWords->setObjectName(QStringLiteral("esdTrippedWords"));
    esd->addWidget(m_trippedWords);
    esd->addStretch(1);
    BodyLayout()->addLayout(esd);
}

std::optional<bool> COrvxESDHARTDlg::ShownTripped() const
{
    if (!m_trippedValue)
        return std::nullopt;
    return *m_trippedValue != QLatin1String("0");
}

void COrvxESDHARTDlg::FollowDevice()
{
    // A device that cannot tell its unit or its ESD state leaves the page as it was.
    if (!FollowPressureUnit())
        return;
    // A state that cannot be read leaves the image as it was; the status line says so.
    // Most notifications bring the answer the last one did: it keeps its words.
    const auto words = [this](const com::Variant& value) {
        if (m_trippedValue && value == m_trippedRead)
            return *m_trippedValue;
        QString text = device::variantText(value);
        m_trippedRead = value;
        return text;
    };
    const auto tripped = framework::readParameter(Controller(), device::tagText<device::tag::EsdTripped>(), words);
    if (tripped && *tripped != m_trippedValue) {
        m_trippedValue = *tripped;
        showTripped(*ShownTripped());
    }
}

// The image alone reads either way at a glance: the words beside it say the state, a trip in
// bold and in the warning colour.
void COrvxESDHARTDlg::showTripped(bool tripped)
{
    m_tripped->setPixmap(ui::bitmapResource(tripped ? kTrippedImage : kNotTrippedImage));
    m_trippedWords->setText(tripped ? QStringLiteral("ESD Tripped: YES") : QStringLiteral("ESD Tripped: no"));
    QFont font = m_trippedWords->font();
    font.setBold(tripped);
    m_trippedWords->setFont(font);
    QPalette palette;  // nothing set: the words follow the window's palette
    if (tripped) {
        palette = m_trippedWords->palette();
        palette.setColor(QPalette::WindowText, ui::kWarningColour);
    }
    m_trippedWords->setPalette(palette);
}

}  // namespace orvx::views
