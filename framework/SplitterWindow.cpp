#include "SplitterWindow.h"

#include "platform/ui/PostCall.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace orvx::framework {

namespace {

constexpr int kFallbackBarWidth = 6;

int shareOf(int position, int usable)
{
    return (position * CSplitterWindow::kShareScale + usable / 2) / usable;
}

int positionOf(int share, int usable)
{
    return (share * usable + CSplitterWindow::kShareScale / 2) / CSplitterWindow::kShareScale;
}

}  // namespace

CSplitterWindow::CSplitterWindow(QWidget* parent) : QFrame(parent), m_bar(new QWidget(this))
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_bar->setObjectName(QStringLiteral("splitterBar"));
    m_bar->setCursor(Qt::SizeHorCursor);
    m_bar->installEventFilter(this);
}

CSplitterWindow::~CSplitterWindow() = default;

int CSplitterWindow::edgeWidth() const
{
    return std::max(0, style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this));
}

int CSplitterWindow::BarWidth() const
{
    const int sizing = style()->pixelMetric(QStyle::PM_SplitterWidth, nullptr, this);
    return sizing > 0 ? sizing + 2 * edgeWidth() : kFallbackBarWidth;
}

int CSplitterWindow::UsableWidth() const
{
    return std::max(0, contentsRect().width() - BarWidth());
}

int CSplitterWindow::clamped(int pixels, int usable) const
{
    if (pixels == -1)
        return usable / 2;
    if (pixels < 2 * edgeWidth())
        return 0;
    return std::min(pixels, usable);
}

QWidget* CSplitterWindow::PaneWindow(int pane) const
{
    return pane == 0 || pane == 1 ? m_panes[pane].data() : nullptr;
}

void CSplitterWindow::SetPaneWindow(int pane, QWidget* window)
{
    if (pane != 0 && pane != 1)
        return;
    if (window && window->parentWidget() != this) {
        // A window hidden on purpose stays hidden; any other shows with the splitter.
        const bool hidden = window->isHidden() && window->testAttribute(Qt::WA_WState_ExplicitShowHide);
        window->setParent(this);
        window->setVisible(!hidden);
    }
    if (window && pane == 0 && m_navigationHidden)
        window->hide();
    m_panes[pane] = window;
    layoutPanes();
}

void CSplitterWindow::SetNavigationHidden(bool hidden)
{
    if (hidden) {
        if (m_panes[1] && m_panes[1]->isHidden())
            m_panes[1]->show();
        if (m_panes[0])
            m_panes[0]->hide();
    } else if (m_panes[0] && m_panes[0]->isHidden()) {
        m_panes[0]->show();
    }
    m_navigationHidden = hidden;
    layoutPanes();
    update();
}

void CSplitterWindow::SetPosition(int pixels)
{
    if (m_share < 0) {
        // Not laid out yet: the first layout resolves the request against the real width.
        m_position = pixels;
        layoutPanes();
        return;
    }
    const int usable = UsableWidth();
    const int position = clamped(pixels, usable);
    if (position == m_position && usable == m_usableAtPosition)
        return;
    m_position = position;
    m_usableAtPosition = usable;
    if (usable > 0)
        m_share = shareOf(position, usable);
    layoutPanes();
    update();
}

void CSplitterWindow::Relayout()
{
    layoutPanes();
}

QRect CSplitterWindow::BarRect() const
{
    if (m_navigationHidden)
        return {};
    const QRect area = contentsRect();
    const int left = std::clamp(m_position, 0, UsableWidth());
    return {area.left() + left, area.top(), std::min(BarWidth(), area.width() - left), area.height()};
}

void CSplitterWindow::layoutPanes()
{
    const int usable = UsableWidth();
    if (m_share < 0) {
        if (usable > 0) {  // the first layout: the share is kept from now on
            m_position = clamped(m_position, usable);
            m_share = shareOf(m_position, usable);
            m_usableAtPosition = usable;
        }
    } else if (usable != m_usableAtPosition) {
        m_position = clamped(positionOf(m_share, usable), usable);
        m_usableAtPosition = usable;
    }

    const QRect area = contentsRect();
    if (m_navigationHidden) {
        m_bar->hide();
        if (m_panes[1])
            m_panes[1]->setGeometry(area);
        return;
    }
    const QRect bar = BarRect();
    m_bar->setGeometry(bar);
    m_bar->show();
    if (m_panes[0])
        m_panes[0]->setGeometry(area.left(), area.top(), bar.left() - area.left(), area.height());
    if (m_panes[1]) {
        const int left = bar.left() + bar.width();
        m_panes[1]->setGeometry(left, area.top(), std::max(0, area.left() + area.width() - left), area.height());
    }
}

void CSplitterWindow::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    ui::runGuarded("splitter resize", [this] { layoutPanes(); });
}

void CSplitterWindow::paintEvent(QPaintEvent* event)
{
    ui::runGuarded("splitter paint", [&] {
        QFrame::paintEvent(event);
        const QRect bar = BarRect();
        if (bar.isEmpty())
            return;
        QPainter painter(this);
        QStyleOption option;
        option.initFrom(this);
        option.rect = bar;
        option.state |= QStyle::State_Horizontal;
        style()->drawControl(QStyle::CE_Splitter, &option, &painter, this);
    });
}

bool CSplitterWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_bar)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // The bar takes its mouse events: none goes on to the splitter's parents.
        ui::runGuarded("splitter bar", [&] { onBarMouse(static_cast<QMouseEvent*>(event)); });
        return true;
    default: return false;
    }
}

void CSplitterWindow::onBarMouse(QMouseEvent* mouse)
{
    const int x = mapFromGlobal(mouse->globalPosition().toPoint()).x();
    switch (mouse->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton)
            m_dragOffset = x - BarRect().left();
        break;
    case QEvent::MouseMove:
        // The panes follow while dragging. Never -1 here: that would mean the middle.
        if (m_dragOffset >= 0 && (mouse->buttons() & Qt::LeftButton))
            SetPosition(std::max(0, x - m_dragOffset - contentsRect().left()));
        break;
    case QEvent::MouseButtonDblClick:
        if (mouse->button() == Qt::LeftButton)
            SetPosition(-1);
        m_dragOffset = -1;
        break;
    default: m_dragOffset = -1; break;
    }
}

}  // namespace orvx::framework
