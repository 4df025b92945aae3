#pragma once

#include "ApplicationViewBase.h"

#include <cstdint>

namespace orvx::framework {

class IApplicationView;
class ITextResource;
class IUIController;

// The pages of the offline and the trend view, each the single page (view 0) of its control.
enum class SinglePage { Offline, Trend };

// What makes a page: its class, its dialog form and its ViewSetting resource.
struct PageInfo {
    const char* className;
    int dialogResource;
    int viewSettingResource;
};

constexpr std::int32_t kFirstViewId = 0;
constexpr std::int32_t kLastViewId = 23;

// The page of a view of the main view's navigation tree; none outside 0..23.
const PageInfo* FindPageInfo(std::int32_t viewId);
const PageInfo& SinglePageInfo(SinglePage which);

// Plugs in the maker of the page class that shows a view; it serves every view of that class
// (views 8 and 19 share one class and get a page each). A null maker takes the class out again.
// Page classes call this from an explicit start-up registration, never from a static
// initialiser. Answers false for a view id outside 0..23.
bool SetPageMaker(std::int32_t viewId, CApplicationViewBase::Maker maker);
void SetSinglePageMaker(SinglePage which, CApplicationViewBase::Maker maker);

// Makes and registers the page of a view (see CApplicationViewBase::Create). None for an id
// outside 0..23, for a class without a maker, or when the page cannot be made.
IApplicationView* CreatePage(std::int32_t viewId, IUIController* controller, ITextResource* texts);
// The same for the single page of the offline or the trend view, registered as view 0.
IApplicationView* CreateSinglePage(SinglePage which, IUIController* controller, ITextResource* texts);

}  // namespace orvx::framework
