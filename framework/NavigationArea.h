#pragma once

#include "framework/IInternalUpdateUI.h"
#include "framework/INavigationArea.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace orvx::framework {

class IUIController;

// The navigation tree of the main view. Every tree item has exactly one entry, owned here and
// also stored as the item's user data; selecting an item, by the user or the program, asks the
// controller to show the entry's view. The area owns its tree window.
class CNavigationArea : public QObject, public IInternalUpdateUI, public INavigationArea {
public:
    CNavigationArea();
    ~CNavigationArea() override;
    CNavigationArea(const CNavigationArea&) = delete;
    CNavigationArea& operator=(const CNavigationArea&) = delete;

    // Creates the tree as a child of 'parent' and loads the image list; a second call answers
    // the existing tree. Images are attached by a request posted to the area, so that a
    // ShowImages made right after creation takes effect.
    QTreeWidget* CreateWindow(QWidget* parent);
    // Selections are reported to the controller from now on; none stops reporting.
    void SetController(IUIController* controller);

    // The image list: the loaded program icons in icon-index order.
    const QList<QIcon>& images() const { return m_images; }
    // The program icons of the image list, by resource number; the position is the icon index.
    static const QList<int>& imageResourceIds();
    // Loads icons at tree size. An icon that does not load is skipped, so the ones after it
    // move down one index.
    static QList<QIcon> loadImages(const QList<int>& resourceIds);

    // IInternalUpdateUI: state changes do not alter the tree.
    void OnUpdate(std::int32_t code, const QString& text) override;

    // INavigationArea
    void ExpandAll() override;
    void CollapseAll() override;
    void ShowImages(bool show) override;
    void RefreshStateImages(std::uint32_t first, std::uint32_t second) override;
    void RemoveAll() override;
    bool RemoveEntry(QTreeWidgetItem* item) override;
    CNavigationEntry* AddEntry(std::uint32_t viewId, int imageIndex, const QString& label, QTreeWidgetItem* parent,
                               QTreeWidgetItem* insertAfter) override;
    void RemoveChildren(QTreeWidgetItem* item) override;
    CNavigationEntry* FindEntryByTag(const QString& tag) override;
    CNavigationEntry* GetEntry(QTreeWidgetItem* item) override;
    bool SelectView(std::uint32_t viewId) override;
    QTreeWidget* GetTree() const override;

protected:
    // Right clicks on the tree's viewport.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onCurrentItemChanged(QTreeWidgetItem* current);
    void applyImage(QTreeWidgetItem* item) const;
    void applyImages() const;
    // The first entry in tree order (top to bottom, parents before children) that matches.
    CNavigationEntry* findFirst(const std::function<bool(const CNavigationEntry&)>& matches) const;

    QPointer<QTreeWidget> m_tree;
    IUIController* m_controller = nullptr;
    // Keys are only ever items of m_tree that are still alive; unknown item pointers are looked
    // up here before they are touched.
    std::map<QTreeWidgetItem*, std::unique_ptr<CNavigationEntry>> m_entries;
    QList<QIcon> m_images;
    bool m_showImages = false;
};

}  // namespace orvx::framework
