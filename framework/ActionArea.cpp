#include "ActionArea.h"

#include "controls/UIEventsImpl.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/PostCall.h"

#include <QPushButton>

#include <algorithm>

namespace orvx::framework {

namespace {

constexpr QSize kButtonSize(100, 28);
constexpr int kPitch = 110;
constexpr int kMargin = 10;
constexpr int kClickState = 2;

}  // namespace

CActionArea::CActionArea(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("actionArea"));
    initialise();
}

CActionArea::~CActionArea() = default;

QWidget* CActionArea::CreateWindow(QWidget* parent)
{
    setParent(parent);
    initialise();
    show();
    return this;
}

void CActionArea::initialise()
{
    const QSize size = ui::dialogUnits(font(), kDialogSize);
    resize(size.width(), std::max(size.height(), kMinimumHeight));
    m_height = height();
    layOut();
}

void CActionArea::SetController(IUIController* controller)
{
    m_controller = controller;
}

QPushButton* CActionArea::Button(int actionId) const
{
    const auto it = std::find_if(m_records.begin(), m_records.end(),
                                 [actionId](const Record& record) { return record.actionId == actionId; });
    return it == m_records.end() ? nullptr : it->button;
}

void CActionArea::OnUpdate(std::int32_t, const QString&) {}

void CActionArea::EnableAction(int actionId, bool enable)
{
    if (QPushButton* button = Button(actionId))
        button->setEnabled(enable);
}

void CActionArea::EnableAllActions(bool enable)
{
    for (const Record& record : m_records)
        record.button->setEnabled(enable);
}

bool CActionArea::AddAction(int actionId, const QString& caption, int alignment)
{
    if (Button(actionId))
        return false;
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QStringLiteral("action_%1").arg(actionId));
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoDefault(false);
    button->resize(kButtonSize);
    connect(button, &QPushButton::clicked, this,
            [this, actionId] { ui::runGuarded("action click", [&] { onClicked(actionId); }); });
    m_records.push_back({button, actionId, alignment});
    button->show();
    layOut();
    return true;
}

bool CActionArea::RemoveAction(int actionId)
{
    const auto it = std::find_if(m_records.begin(), m_records.end(),
                                 [actionId](const Record& record) { return record.actionId == actionId; });
    if (it == m_records.end())
        return false;
    QPushButton* button = it->button;
    m_records.erase(it);
    // Later, as the button's own click may be what removes it.
    button->disconnect(this);
    button->hide();
    button->deleteLater();
    layOut();
    return true;
}

void CActionArea::onClicked(int actionId)
{
    if (!m_controller)
        return;
    controls::CActionEventImpl event(actionId, kClickState);
    m_controller->HandleEvent(event);
}

void CActionArea::resizeEvent(QResizeEvent* event)
{
    ui::runGuarded("action area resize", [&] {
        QWidget::resizeEvent(event);
        layOut();
    });
}

void CActionArea::layOut()
{
    if (m_records.empty() || height() <= 0)
        return;
    const int y = height() / 2 - kButtonSize.height() / 2;
    // Only the buttons placed on the right count towards the right group's width; counting any
    // other alignment there would leave a gap at the right end.
    int rightOffset = kPitch * int(std::count_if(m_records.begin(), m_records.end(),
                                                 [](const Record& record) { return record.alignment == 0; }));
    int left = kMargin;
    for (const Record& record : m_records) {
        if (record.alignment != 0) {
            record.button->setGeometry(QRect(QPoint(left, y), kButtonSize));
            left += kPitch;
        } else {
            record.button->setGeometry(QRect(QPoint(width() - rightOffset, y), kButtonSize));
            rightOffset -= kPitch;
        }
    }
}

}  // namespace orvx::framework
