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
    // Appends a button with the icon, a ToolbarStyle and the tool tip; nothing before the toolbar
    // exists or for a null icon. An action id may be added twice.
    virtual void AddIconAction(int actionId, const QIcon& icon, int style, const QString& toolTip) = 0;
    // As AddIconAction, with a program bitmap at 16 by 15 pixels; nothing when it does not load.
    virtual void AddBitmapAction(int actionId, int bitmapId, int style, const QString& toolTip) = 0;
    // As AddIconAction, with an image file at 16 by 15 pixels; nothing when it does not load.
    virtual void AddFileAction(int actionId, const QString& bitmapPath, int style, const QString& toolTip) = 0;
    // Appends a separator; nothing before the toolbar exists.
    virtual void AddSeparator() = 0;
    // The button's tool tip text, or false when there is no such button or text.
    virtual bool GetActionTip(int actionId, QString* tip) const = 0;
    // Removes every button and separator.
    virtual void Clear() = 0;
};

}  // namespace orvx::framework
