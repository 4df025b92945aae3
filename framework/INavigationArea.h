#pragma once

#include <QString>

#include <cstdint>

class QTreeWidget;
class QTreeWidgetItem;

namespace orvx::framework {

// One entry of the navigation tree: the view it shows and the name it can be found by.
struct CNavigationEntry {
    std::uint32_t viewId = 0;
    QTreeWidgetItem* item = nullptr;
    QString tag;
};

// The navigation tree. Tree items are those of the area's tree widget; a null parent or
// insert-after item means the top level and the last position.
class INavigationArea {
public:
    virtual ~INavigationArea() = default;
    // Expands every item and scrolls the selected one into view; nothing before the tree exists.
    virtual void ExpandAll() = 0;
    // Collapses every item; nothing before the tree exists.
    virtual void CollapseAll() = 0;
    // Shows or hides the items' images; an image index outside the loaded icons shows none.
    virtual void ShowImages(bool show) = 0;
    // Without effect: no images stand for the pages' state levels yet. Both values are unused.
    virtual void RefreshStateImages(std::uint32_t first, std::uint32_t second) = 0;
    // Removes every entry and item; no view is shown on the way.
    virtual void RemoveAll() = 0;
    // False, removing nothing, for an item with children or one not of this tree; otherwise
    // deletes the item and its entry.
    virtual bool RemoveEntry(QTreeWidgetItem* item) = 0;
    // The new entry, with an empty tag; none, adding nothing, before the tree exists or when the
    // parent is not an item of this tree.
    virtual CNavigationEntry* AddEntry(std::uint32_t viewId, int imageIndex, const QString& label,
                                       QTreeWidgetItem* parent, QTreeWidgetItem* insertAfter) = 0;
    // Removes the item's descendants, keeping the item; an item not of this tree is ignored.
    virtual void RemoveChildren(QTreeWidgetItem* item) = 0;
    // The first entry, top to bottom, whose tag equals the tag exactly, or none.
    virtual CNavigationEntry* FindEntryByTag(const QString& tag) = 0;
    // The entry of an item of this tree, or none for any other item.
    virtual CNavigationEntry* GetEntry(QTreeWidgetItem* item) = 0;
    // False when no entry names the view; otherwise selects the first that does, top to bottom,
    // and a changed selection has the controller show the view.
    virtual bool SelectView(std::uint32_t viewId) = 0;

    // Outside the tree interface: the tree widget, for focus and start-up; none before it exists.
    virtual QTreeWidget* GetTree() const = 0;
};

}  // namespace orvx::framework
