#pragma once

#include "framework/IActionArea.h"
#include "framework/IInternalUpdateUI.h"
#include "framework/IWindowVisibility.h"

#include <QWidget>

#include <vector>

class QPushButton;

namespace orvx::framework {

class IUIController;

// The strip of 100 by 28 pixel push buttons at the bottom. Left buttons (alignment non-zero)
// sit at 10, 120, 230, ... in the order added; right buttons (alignment 0) keep that order and
// end 10 pixels from the right edge. A click becomes an action event with the button's action
// id and state 2. The area is itself the window: whoever holds it destroys it before its
// parent, or lets the parent do so.
class CActionArea : public QWidget, public IInternalUpdateUI, public IActionArea, public IWindowVisibility {
public:
    // 249 by 28 dialog units of the widget's font; never less than 40 pixels high.
    static constexpr QSize kDialogSize{249, 28};
    static constexpr int kMinimumHeight = 40;

    explicit CActionArea(QWidget* parent = nullptr);
    ~CActionArea() override;

    // Makes the area a visible child of 'parent', sized from the font it has there.
    QWidget* CreateWindow(QWidget* parent);
    // Clicks go to the controller from now on; before one is set they are ignored.
    void SetController(IUIController* controller);
    // The height the area was initialised with.
    int Height() const { return m_height; }
    // The button of an action, or none.
    QPushButton* Button(int actionId) const;

    // IInternalUpdateUI: nothing the business object says changes the buttons.
    void OnUpdate(std::int32_t code, const QString& text) override;

    // IActionArea
    void EnableAction(int actionId, bool enable) override;
    void EnableAllActions(bool enable) override;
    bool AddAction(int actionId, const QString& caption, int alignment) override;
    bool RemoveAction(int actionId) override;

    // IWindowVisibility
    void SetVisible(bool visible) override { m_visible = visible; }
    bool GetVisible() const override { return m_visible; }
    QWidget* GetAreaWindow() const override { return const_cast<CActionArea*>(this); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Record {
        QPushButton* button;
        int actionId;
        int alignment;
    };

    void initialise();
    void layOut();
    void onClicked(int actionId);

    std::vector<Record> m_records;
    IUIController* m_controller = nullptr;
    int m_height = 0;
    bool m_visible = true;
};

}  // namespace orvx::framework
