#pragma once

class QWidget;

namespace orvx::framework {

// The vertical splitter of the main window: the navigation tree in pane 0, the shown page in
// pane 1.
class IMainSplitter {
public:
    virtual ~IMainSplitter() = default;
    virtual QWidget* GetWindow() const = 0;
    // The window in the page pane, or none before the first page is shown.
    virtual QWidget* GetPageWindow() const = 0;
    virtual void SetPageWindow(QWidget* page) = 0;
    // Single-pane mode with the page pane alone, or both panes.
    virtual void SetNavigationHidden(bool hidden) = 0;
    virtual bool IsNavigationHidden() const = 0;
    // The bar's position in pixels from the left; -1 puts it in the middle.
    virtual void SetPosition(int pixels) = 0;
    virtual int GetPosition() const = 0;
    virtual void Relayout() = 0;
};

}  // namespace orvx::framework
