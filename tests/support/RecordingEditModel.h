#pragma once

#include "FakeAreas.h"
#include "controls/UIEvents.h"
#include "framework/EditModelBase.h"
#include "frameworkapi/IUIController.h"

#include <functional>

namespace orvx::test {

// An edit model that logs the notifications it sees and creates pages with a function the
// test gives, for tests of the controller and the FDT entry that need no page classes.
class RecordingEditModel : public framework::CEditModelBase {
public:
    explicit RecordingEditModel(DeliveryLog* log) : m_log(log) {}

    // Makes the page of a requested view; none leaves the view without a page.
    std::function<framework::IApplicationView*(std::int32_t viewId)> makePage;
    QList<std::int32_t> activatedViews;
    int initAreas = 0;
    int detaches = 0;

    void OnUpdate(std::int32_t code, const QString& text) override
    {
        m_log->append(QStringLiteral("editmodel %1 %2").arg(code).arg(text).trimmed());
    }
    void InitAreas() override { ++initAreas; }
    void Detach() override
    {
        ++detaches;
        CEditModelBase::Detach();
    }
    bool HandleEvent(controls::CUIEventBase& event) override
    {
        if (event.GetType() == controls::EventViewRequest) {
            if (makePage && controller())
                if (framework::IApplicationView* page = makePage(event.GetViewId()))
                    if (!controller()->RegisterView(event.GetViewId(), page))
                        delete page;
            return true;
        }
        if (event.GetType() == controls::EventViewActivated) {
            activatedViews.append(event.GetViewId());
            return true;
        }
        return handleCommonEvent(event);
    }

private:
    DeliveryLog* m_log;
};

}  // namespace orvx::test
