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
    virtual void ExpandAll() = 0;
    virtual void CollapseAll() = 0;
    virtual void ShowImages(bool show) = 0;
    virtual void RefreshStateImages(std::uint32_t first, std::uint32_t second) = 0;
    virtual void RemoveAll() = 0;
    virtual bool RemoveEntry(QTreeWidgetItem* item) = 0;
    virtual CNavigationEntry* AddEntry(std::uint32_t viewId, int imageIndex, const QString& label,
                                       QTreeWidgetItem* parent, QTreeWidgetItem* insertAfter) = 0;
    virtual void RemoveChildren(QTreeWidgetItem* item) = 0;
    virtual CNavigationEntry* FindEntryByTag(const QString& tag) = 0;
    virtual CNavigationEntry* GetEntry(QTreeWidgetItem* item) = 0;
    virtual bool SelectView(std::uint32_t viewId) = 0;

    // Outside the tree interface: the tree widget (for focus and start-up) and the selected item.
    virtual QTreeWidget* GetTree() const = 0;
};

}  // namespace orvx::framework
