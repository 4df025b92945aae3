#include "IdentificationArea.h"

#include "platform/ui/DialogItems.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/PostCall.h"
#include "platform/ui/Resources.h"

#include <QLabel>
#include <QPalette>
#include <QPixmap>

#include <algorithm>

namespace orvx::framework {

namespace {

constexpr int kDeviceNameItem = 108;
constexpr int kInfoTextItem = 109;
constexpr int kMakerTextItem = 110;
constexpr int kTextHeightUnits = 8;
constexpr int kMargin = 10;
constexpr int kPictureRoom = 20;  // the pictures' margins above and below

QLabel* textItem(QWidget* parent, int item)
{
    auto* label = new QLabel(parent);
    label->setObjectName(ui::itemName(item));
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(true);
    return label;
}

QLabel* picture(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setScaledContents(false);
    label->resize(0, 0);
    return label;
}

}  // namespace

CIdentificationArea::CIdentificationArea(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("identificationArea"));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);
    setAutoFillBackground(true);

    m_left = picture(this, "leftPicture");
    m_right = picture(this, "rightPicture");
    m_deviceName = textItem(this, kDeviceNameItem);
    m_makerText = textItem(this, kMakerTextItem);
    m_infoText = textItem(this, kInfoTextItem);
    initialise();
}

CIdentificationArea::~CIdentificationArea() = default;

QWidget* CIdentificationArea::CreateWindow(QWidget* parent)
{
    setParent(parent);
    initialise();
    show();
    return this;
}

void CIdentificationArea::initialise()
{
    QFont bold = font();
    bold.setWeight(QFont::Bold);
    for (QLabel* text : {m_deviceName, m_makerText, m_infoText})
        text->setFont(bold);
    resize(ui::dialogUnits(font(), kDialogSize));
    m_height = height();
    m_textHeight = ui::dialogUnits(m_deviceName->font(), {0, kTextHeightUnits}).height();
    layOut();
}

void CIdentificationArea::OnUpdate(std::int32_t, const QString&) {}

void CIdentificationArea::SetDeviceName(const QString& text)
{
    m_deviceName->setText(text);
}

void CIdentificationArea::SetMakerText(const QString& text)
{
    m_makerText->setText(text);
}

void CIdentificationArea::SetInfoText(const QString& text)
{
    m_infoText->setText(text);
}

void CIdentificationArea::SetLeftPicture(int bitmapId)
{
    showPicture(m_left, ui::bitmapResource(bitmapId));
}

void CIdentificationArea::SetLeftPictureFile(const QString& path)
{
    showPicture(m_left, QPixmap(path));
}

void CIdentificationArea::SetRightPicture(int bitmapId)
{
    showPicture(m_right, ui::bitmapResource(bitmapId));
}

void CIdentificationArea::SetRightPictureFile(const QString& path)
{
    showPicture(m_right, QPixmap(path));
}

void CIdentificationArea::showPicture(QLabel* picture, const QPixmap& natural)
{
    QPixmap shown = natural;
    const int largest = m_height - kPictureRoom;
    if (!natural.isNull() && largest > 0 && natural.height() > largest) {
        const double f = double(natural.height()) / largest;
        const QSize size(int(natural.width() / f), int(natural.height() / f));
        shown = size.isEmpty() ? QPixmap() : natural.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    picture->setPixmap(shown);
    picture->resize(shown.isNull() ? QSize(0, 0) : shown.size());
    layOut();
}

void CIdentificationArea::resizeEvent(QResizeEvent* event)
{
    ui::runGuarded("identification area resize", [&] {
        QWidget::resizeEvent(event);
        layOut();
    });
}

void CIdentificationArea::layOut()
{
    const int w = width();
    const int leftWidth = m_left->width();
    const int rightWidth = m_right->width();
    m_right->move(w - rightWidth - kMargin, kMargin);
    m_left->move(kMargin, kMargin);
    // A window too narrow for both pictures leaves the texts no room rather than a negative width.
    const int textX = leftWidth + 2 * kMargin;
    const int textWidth = std::max(0, w - 4 * kMargin - leftWidth - rightWidth);
    const int h = m_textHeight;
    m_deviceName->setGeometry(textX, kMargin, textWidth, h);
    m_makerText->setGeometry(textX, h + 14, textWidth, h);
    m_infoText->setGeometry(textX, 2 * h + 18, textWidth, h);
}

}  // namespace orvx::framework
