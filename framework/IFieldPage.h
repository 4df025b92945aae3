#pragma once

#include <cstdint>
#include <memory>

namespace orvx::controls {
class IFdtControl;
}

namespace orvx::framework {

class IApplicationView;
class IUIController;

// What CPageFields needs of the page its fields sit on.
class IFieldPage {
public:
    virtual ~IFieldPage() = default;
    // The page as the bound controls see it: they report to it and it holds their tool tips.
    virtual IApplicationView& View() = 0;
    // The controller the bound controls send their events to; none before the page has one.
    virtual IUIController* Controller() const = 0;
    // Adds a bound control under its control id; a control whose id is taken already is not
    // added (and is destroyed). Answers whether it was added.
    virtual bool RegisterControl(std::unique_ptr<controls::IFdtControl> control) = 0;
};

}  // namespace orvx::framework
