#pragma once

#include <QString>

namespace orvx::framework {

// The strip of push buttons at the bottom, filled at run time. Alignment 1 is the left group,
// 0 the right group.
class IActionArea {
public:
    virtual ~IActionArea() = default;
    virtual void EnableAction(int actionId, bool enable) = 0;
    virtual void EnableAllActions(bool enable) = 0;
    virtual bool AddAction(int actionId, const QString& caption, int alignment) = 0;
    virtual bool RemoveAction(int actionId) = 0;
};

}  // namespace orvx::framework
