#pragma once

class QWidget;

namespace orvx::framework {

// The vertical splitter of the main window: the navigation tree in pane 0, the shown page in
// pane 1.
class IMainSplitter {
public:
    virtual ~IMainSplitter() = default;
    // The splitter's own window: the controller's main window and the parent of the pages.
    virtual QWidget* GetWindow() const = 0;
    // The window in the page pane, or none before the first page is shown.
    virtual QWidget* GetPageWindow() const = 0;
    // Puts the window into the page pane, keeping whether it was hidden; none empties the pane
    // and leaves the window where it is.
    virtual void SetPageWindow(QWidget* page) = 0;
    // Single-pane mode with the page pane alone, or both panes.
    virtual void SetNavigationHidden(bool hidden) = 0;
    // Whether the splitter shows the page pane alone.
    virtual bool IsNavigationHidden() const = 0;
    // The bar's position in pixels from the left; -1 puts it in the middle, a value beyond the
    // usable width is cut to it. Before the first layout the request waits for it.
    virtual void SetPosition(int pixels) = 0;
    // The bar's position in pixels; before the first layout, the position asked for (-1 at first).
    virtual int GetPosition() const = 0;
    // Places the panes and the bar again, after a pane's window or the mode changed.
    virtual void Relayout() = 0;
};

}  // namespace orvx::framework
