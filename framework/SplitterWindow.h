#pragma once

#include "framework/IMainSplitter.h"

#include <QFrame>
#include <QPointer>

#include <array>

class QMouseEvent;

namespace orvx::framework {

// The main window's vertical splitter: pane 0 (the navigation tree) on the left, pane 1 (the
// shown page) on the right, a bar between that the user drags and double-clicks back to the
// middle. The position is in pixels from the left of the usable width (the width inside the
// frame less the bar); -1 until the first layout. After the first layout the left pane's share
// is kept in ten-thousandths, so that a resize keeps the proportion. A pane may shrink to zero.
class CSplitterWindow : public QFrame, public IMainSplitter {
public:
    static constexpr int kShareScale = 10000;

    explicit CSplitterWindow(QWidget* parent = nullptr);
    ~CSplitterWindow() override;

    // IMainSplitter
    QWidget* GetWindow() const override { return const_cast<CSplitterWindow*>(this); }
    QWidget* GetPageWindow() const override { return PaneWindow(1); }
    // Reparents the page into the splitter keeping whether it was hidden; none empties the pane
    // and leaves the window where it is.
    void SetPageWindow(QWidget* page) override { SetPaneWindow(1, page); }
    // Hiding shows the page pane alone across the whole width; showing restores both panes.
    void SetNavigationHidden(bool hidden) override;
    bool IsNavigationHidden() const override { return m_navigationHidden; }
    // -1 puts the bar in the middle; below twice the edge width gives 0, beyond the usable
    // width gives the usable width. Before the first layout the request waits for it.
    void SetPosition(int pixels) override;
    int GetPosition() const override { return m_position; }
    void Relayout() override;

    // Pane 0 or 1; other panes are ignored.
    void SetPaneWindow(int pane, QWidget* window);
    QWidget* PaneWindow(int pane) const;
    int BarWidth() const;
    int UsableWidth() const;
    // The bar's rectangle; empty in single-pane mode.
    QRect BarRect() const;
    // Ten-thousandths of the usable width left of the bar; -1 before the first layout.
    int Share() const { return m_share; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int edgeWidth() const;
    int clamped(int pixels, int usable) const;
    void layoutPanes();
    void onBarMouse(QMouseEvent* mouse);

    std::array<QPointer<QWidget>, 2> m_panes;
    QWidget* m_bar;  // transparent handle over the bar: takes the mouse and shows the cursor
    int m_position = -1;
    int m_share = -1;
    int m_usableAtPosition = -1;  // the usable width the position belongs to
    bool m_navigationHidden = false;
    int m_dragOffset = -1;  // where in the bar the drag started; -1 when not dragging
};

}  // namespace orvx::framework
