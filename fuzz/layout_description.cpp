// The layout description: the navigation tree is rebuilt from its entries. Whatever the
// document holds, every tree item keeps exactly one entry and no entry is nested deeper than
// the parser allows.
#include "FuzzApplication.h"
#include "framework/LayoutDescriptionParser.h"
#include "framework/NavigationArea.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWidget>

using namespace orvx;
using framework::CLayoutDescriptionParser;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::makeApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QWidget window;
    static framework::CNavigationArea* area = [] {
        auto* navigation = new framework::CNavigationArea;
        navigation->CreateWindow(&window);
        return navigation;
    }();
    area->RemoveAll();

    CLayoutDescriptionParser(&window, nullptr, area, nullptr).Load(fuzz::utf8Text(data, size));

    QTreeWidget* tree = area->GetTree();
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const framework::CNavigationEntry* entry = area->GetEntry(*it);
        if (!entry || entry->item != *it)
            std::abort();
        int depth = 1;
        for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent())
            ++depth;
        if (depth > CLayoutDescriptionParser::kMaxDepth)
            std::abort();
    }
    // What the input posted runs now, and what it dropped goes, before the next input.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    return 0;
}
