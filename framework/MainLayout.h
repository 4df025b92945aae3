#pragma once

#include <QRect>

class QWidget;

namespace orvx::framework {

class IWindowVisibility;

// The vertical order of a control's window: identification area, toolbar, splitter, action
// area, status bar, each across the full width. The status bar comes first, then the toolbar
// and the action area while they are visible, then the identification area; each gets at most
// the height left, and the splitter takes the rest, possibly none.
class CMainLayout {
public:
    struct Area {
        QWidget* window = nullptr;
        int height = 0;
        // Whether the area takes part; none means always.
        IWindowVisibility* visibility = nullptr;
    };
    struct Areas {
        Area identification;  // at its initial height
        Area toolbar;         // at its creation height
        QWidget* splitter = nullptr;
        Area action;  // at its initial height
        Area status;  // at its window height when the composition was made
    };
    struct Placement {
        QRect identification, toolbar, splitter, action, status;
    };

    CMainLayout() = default;
    explicit CMainLayout(const Areas& areas) : m_areas(areas) {}

    void SetAreas(const Areas& areas) { m_areas = areas; }
    const Areas& GetAreas() const { return m_areas; }

    // Where each area goes in a client area of the given size.
    Placement Compute(QSize client) const;
    // Places the windows there and repaints the splitter and the action area.
    void Apply(QSize client) const;

private:
    Areas m_areas;
};

}  // namespace orvx::framework
