#pragma once

#include <QIcon>
#include <QString>

namespace orvx::framework {

// Toolbar button styles: 0 checked toggle, 1 unchecked toggle, 2 push button, other disabled push.
enum ToolbarStyle { ToolbarToggleChecked = 0, ToolbarToggle = 1, ToolbarPush = 2 };

// The strip of small image buttons at the top. Each click becomes an action event.
class IToolbarArea {
public:
    virtual ~IToolbarArea() = default;
    virtual void AddIconAction(int actionId, const QIcon& icon, int style, const QString& toolTip) = 0;
    virtual void AddBitmapAction(int actionId, int bitmapId, int style, const QString& toolTip) = 0;
    virtual void AddFileAction(int actionId, const QString& bitmapPath, int style, const QString& toolTip) = 0;
    virtual void AddSeparator() = 0;
    // The button's tool tip text, or false when there is no such button or text.
    virtual bool GetActionTip(int actionId, QString* tip) const = 0;
    // Removes every button.
    virtual void Clear() = 0;
};

}  // namespace orvx::framework
