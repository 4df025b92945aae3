#pragma once

#include "framework/IInternalUpdateUI.h"
#include "framework/IToolbarArea.h"
#include "framework/IWindowVisibility.h"

#include <QObject>
#include <QPointer>

class QAction;
class QPixmap;
class QToolBar;

namespace orvx::framework {

class IUIController;

// The strip of 16-pixel image buttons at the top. A click becomes an action event with the
// button's action id and a state: 2 for a push button; for a toggle, 0 when it is checked after
// the click and 1 when it is not. The area owns its toolbar.
class CToolbarArea : public QObject, public IInternalUpdateUI, public IToolbarArea, public IWindowVisibility {
public:
    CToolbarArea();
    ~CToolbarArea() override;
    CToolbarArea(const CToolbarArea&) = delete;
    CToolbarArea& operator=(const CToolbarArea&) = delete;

    // Creates the toolbar as a visible child of 'parent'; a second call answers the existing one.
    QToolBar* CreateWindow(QWidget* parent);
    // Clicks go to the controller from now on; before one is set they are ignored.
    void SetController(IUIController* controller);
    // The height of the toolbar with its row of buttons, taken when it was created; 0 before.
    int Height() const { return m_height; }

    // IInternalUpdateUI: nothing the business object says changes the toolbar.
    void OnUpdate(std::int32_t code, const QString& text) override;

    // IToolbarArea. Nothing is added before the toolbar exists or when the image does not load;
    // the same action id may be added twice.
    void AddIconAction(int actionId, const QIcon& icon, int style, const QString& toolTip) override;
    void AddBitmapAction(int actionId, int bitmapId, int style, const QString& toolTip) override;
    void AddFileAction(int actionId, const QString& bitmapPath, int style, const QString& toolTip) override;
    void AddSeparator() override;
    bool GetActionTip(int actionId, QString* tip) const override;
    void Clear() override;

    // IWindowVisibility
    void SetVisible(bool visible) override { m_visible = visible; }
    bool GetVisible() const override { return m_visible; }
    QWidget* GetAreaWindow() const override;

private:
    void insertAction(int actionId, const QPixmap& image, int style, const QString& text);
    void onTriggered(int actionId, int state);

    QPointer<QToolBar> m_toolbar;
    IUIController* m_controller = nullptr;
    int m_height = 0;
    bool m_visible = true;
};

}  // namespace orvx::framework
