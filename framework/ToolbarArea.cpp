#include "ToolbarArea.h"

#include "controls/UIEventsImpl.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/PostCall.h"
#include "platform/ui/Resources.h"

#include <QAction>
#include <QPixmap>
#include <QToolBar>

namespace orvx::framework {

namespace {

constexpr QSize kIconSize(16, 16);
constexpr QSize kBitmapSize(16, 15);
constexpr int kMaxTextLength = 255;
constexpr int kPushState = 2;
constexpr char kActionIdProperty[] = "orvxActionId";

QPixmap bitmapAt(const QPixmap& natural)
{
    return natural.isNull() ? QPixmap() : natural.scaled(kBitmapSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

CToolbarArea::CToolbarArea() = default;

CToolbarArea::~CToolbarArea()
{
    delete m_toolbar.data();
}

QToolBar* CToolbarArea::CreateWindow(QWidget* parent)
{
    if (m_toolbar)
        return m_toolbar;
    auto* toolbar = new QToolBar(parent);
    toolbar->setObjectName(QStringLiteral("toolbarArea"));
    toolbar->setIconSize(kIconSize);
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar = toolbar;
    // The height of a row of buttons, though none may be added yet: measured with a stand-in.
    QPixmap blank(kIconSize);
    blank.fill(Qt::transparent);
    QAction standIn{QIcon(blank), QString()};
    toolbar->addAction(&standIn);
    m_height = toolbar->sizeHint().height();
    toolbar->removeAction(&standIn);
    toolbar->show();
    return toolbar;
}

void CToolbarArea::SetController(IUIController* controller)
{
    m_controller = controller;
}

void CToolbarArea::OnUpdate(std::int32_t, const QString&) {}

void CToolbarArea::AddIconAction(int actionId, const QIcon& icon, int style, const QString& toolTip)
{
    if (!icon.isNull())
        insertAction(actionId, icon.pixmap(kIconSize), style, toolTip);
}

void CToolbarArea::AddBitmapAction(int actionId, int bitmapId, int style, const QString& toolTip)
{
    insertAction(actionId, bitmapAt(ui::bitmapResource(bitmapId)), style, toolTip);
}

void CToolbarArea::AddFileAction(int actionId, const QString& bitmapPath, int style, const QString& toolTip)
{
    insertAction(actionId, bitmapAt(QPixmap(bitmapPath)), style, toolTip);
}

void CToolbarArea::AddSeparator()
{
    if (m_toolbar)
        m_toolbar->addSeparator();
}

void CToolbarArea::insertAction(int actionId, const QPixmap& image, int style, const QString& text)
{
    if (!m_toolbar || image.isNull())
        return;
    auto* action = new QAction(QIcon(image), text.left(kMaxTextLength), m_toolbar);
    action->setProperty(kActionIdProperty, actionId);
    action->setToolTip(action->text());
    const bool toggle = style == ToolbarToggleChecked || style == ToolbarToggle;
    action->setCheckable(toggle);
    action->setChecked(style == ToolbarToggleChecked);
    action->setEnabled(toggle || style == ToolbarPush);
    connect(action, &QAction::triggered, this, [this, actionId, toggle](bool checked) {
        ui::runGuarded("toolbar click", [&] { onTriggered(actionId, toggle ? (checked ? 0 : 1) : kPushState); });
    });
    m_toolbar->addAction(action);
}

void CToolbarArea::onTriggered(int actionId, int state)
{
    if (!m_controller)
        return;
    controls::CActionEventImpl event(actionId, state);
    m_controller->HandleEvent(event);
}

bool CToolbarArea::GetActionTip(int actionId, QString* tip) const
{
    if (!m_toolbar || !tip)
        return false;
    for (const QAction* action : m_toolbar->actions()) {
        const QVariant id = action->property(kActionIdProperty);
        if (id.isValid() && id.toInt() == actionId) {
            if (action->text().isEmpty())
                return false;
            *tip = action->text();
            return true;
        }
    }
    return false;
}

void CToolbarArea::Clear()
{
    if (!m_toolbar)
        return;
    const QList<QAction*> actions = m_toolbar->actions();
    m_toolbar->clear();
    // Later, as a click's own handler may be what clears the toolbar.
    for (QAction* action : actions)
        action->deleteLater();
}

QWidget* CToolbarArea::GetAreaWindow() const
{
    return m_toolbar;
}

}  // namespace orvx::framework
