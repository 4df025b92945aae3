// A ViewSetting applied to a real page: the first byte picks the view (0 to 23), the rest is
// the document. The page is made fresh for every input, as the controller makes it, so that
// one input's settings do not carry into the next.
#include "FuzzApplication.h"
#include "framework/ApplicationViewBase.h"
#include "framework/PageTable.h"
#include "framework/TextProvider.h"
#include "framework/UIController.h"
#include "frameworkapi/IApplicationView.h"
#include "views/PageRegistration.h"

using namespace orvx;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::makeApplication();
    views::RegisterPages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    static framework::CTextProvider texts;
    const std::int32_t viewId = data[0] % (framework::kLastViewId + 1);

    framework::CUIController controller;
    framework::IApplicationView* page = framework::CreatePage(viewId, &controller, &texts);
    if (!page)
        std::abort();  // every view of the main view has its page
    page->ApplyViewSetting(fuzz::utf8Text(data + 1, size - 1));
    page->Activate();
    page->UpdateAccess(true);
    controller.DestroyViews();
    // What the input posted runs now, and what it dropped goes, before the next input.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    return 0;
}
