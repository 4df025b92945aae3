#include "MainLayout.h"

#include "IWindowVisibility.h"

#include <QWidget>

#include <algorithm>

namespace orvx::framework {

namespace {

int shownHeight(const CMainLayout::Area& area, int left)
{
    if (area.visibility && !area.visibility->GetVisible())
        return 0;
    return std::clamp(area.height, 0, left);
}

void place(QWidget* window, const QRect& rect)
{
    if (window)
        window->setGeometry(rect);
}

}  // namespace

CMainLayout::Placement CMainLayout::Compute(QSize client) const
{
    const int w = std::max(0, client.width());
    const int h = std::max(0, client.height());
    const int s = std::clamp(m_areas.status.height, 0, h);
    int r = h - s;
    const int t = shownHeight(m_areas.toolbar, r);
    r -= t;
    const int a = shownHeight(m_areas.action, r);
    r -= a;
    const int i = std::clamp(m_areas.identification.height, 0, r);
    return {QRect(0, 0, w, i), QRect(0, i, w, t), QRect(0, i + t, w, r - i), QRect(0, i + t + (r - i), w, a),
            QRect(0, h - s, w, s)};
}

void CMainLayout::Apply(QSize client) const
{
    const Placement where = Compute(client);
    place(m_areas.status.window, where.status);
    place(m_areas.toolbar.window, where.toolbar);
    place(m_areas.action.window, where.action);
    place(m_areas.identification.window, where.identification);
    place(m_areas.splitter, where.splitter);
    // A repaint, not a hide and show: hiding the splitter would take the focus from the page.
    if (m_areas.action.window)
        m_areas.action.window->update();
    if (m_areas.splitter)
        m_areas.splitter->update();
}

}  // namespace orvx::framework
