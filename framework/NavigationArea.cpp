#include "NavigationArea.h"

#include "frameworkapi/IUIController.h"
#include "platform/ui/PostCall.h"
#include "platform/ui/Resources.h"

#include <QMouseEvent>
#include <QPalette>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace orvx::framework {

namespace {

constexpr int kEntryRole = Qt::UserRole;
constexpr int kImageIndexRole = Qt::UserRole + 1;
constexpr QSize kImageSize(16, 16);

}  // namespace

CNavigationArea::CNavigationArea() = default;

CNavigationArea::~CNavigationArea()
{
    if (m_tree) {
        // The tree goes with the area; nothing it raises while it is torn down may reach back
        // into the area.
        m_tree->viewport()->removeEventFilter(this);
        m_tree->disconnect(this);
        delete m_tree.data();
    }
}

const QList<int>& CNavigationArea::imageResourceIds()
{
    static const QList<int> ids = {202, 243, 205, 203, 204, 206, 209, 207, 208};
    return ids;
}

QList<QIcon> CNavigationArea::loadImages(const QList<int>& resourceIds)
{
    QList<QIcon> images;
    for (int id : resourceIds) {
        const QPixmap pixmap = ui::iconPixmap(id, kImageSize);
        if (!pixmap.isNull())
            images.append(QIcon(pixmap));
    }
    return images;
}

QTreeWidget* CNavigationArea::CreateWindow(QWidget* parent)
{
    if (m_tree)
        return m_tree;

    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(QStringLiteral("navigationTree"));
    tree->setColumnCount(1);
    tree->setHeaderHidden(true);
    tree->setRootIsDecorated(true);
    tree->setItemsExpandable(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setIconSize(kImageSize);
    // Every row has one line of text and an image of one size: measured once, not row by row
    // at every change of the selection.
    tree->setUniformRowHeights(true);
    // The focus usually sits on the page the selection shows; keep the selection visible then.
    QPalette palette = tree->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    tree->setPalette(palette);
    m_tree = tree;

    connect(tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        ui::runGuarded("navigation selection", [&] { onCurrentItemChanged(current); });
    });
    // Should the parent take the tree down first, its items are gone and so are the entries.
    connect(tree, &QObject::destroyed, this,
            [this] { ui::runGuarded("navigation tree destroyed", [this] { m_entries.clear(); }); });
    tree->viewport()->installEventFilter(this);

    m_images = loadImages(imageResourceIds());
    ui::postCall(this, [this] {
        if (m_tree && m_showImages)
            applyImages();
    });
    return tree;
}

void CNavigationArea::SetController(IUIController* controller)
{
    m_controller = controller;
}

void CNavigationArea::OnUpdate(std::int32_t, const QString&) {}

void CNavigationArea::ExpandAll()
{
    if (!m_tree)
        return;
    m_tree->expandAll();
    if (QTreeWidgetItem* current = m_tree->currentItem())
        m_tree->scrollToItem(current);
}

void CNavigationArea::CollapseAll()
{
    if (m_tree)
        m_tree->collapseAll();
}

void CNavigationArea::ShowImages(bool show)
{
    if (show == m_showImages)
        return;
    m_showImages = show;
    applyImages();
}

void CNavigationArea::RefreshStateImages(std::uint32_t, std::uint32_t)
{
    // Without effect: no state images exist for the five view levels, and nothing asks for
    // them. Items keep the image their entry was added with.
}

void CNavigationArea::RemoveAll()
{
    // Entries leave the map first, so that a selection change raised while the items go finds
    // no entry to activate.
    const auto entries = std::move(m_entries);
    m_entries.clear();
    if (m_tree)
        m_tree->clear();
}

bool CNavigationArea::RemoveEntry(QTreeWidgetItem* item)
{
    const auto it = m_entries.find(item);
    if (it == m_entries.end() || item->childCount() > 0)
        return false;
    const std::unique_ptr<CNavigationEntry> entry = std::move(it->second);
    m_entries.erase(it);
    delete item;
    return true;
}

CNavigationEntry* CNavigationArea::AddEntry(std::uint32_t viewId, int imageIndex, const QString& label,
                                            QTreeWidgetItem* parent, QTreeWidgetItem* insertAfter)
{
    if (!m_tree || (parent && !m_entries.contains(parent)))
        return nullptr;
    // An insert-after item that is not one of ours under this parent means the last position.
    const bool after = insertAfter && m_entries.contains(insertAfter) && insertAfter->parent() == parent;

    auto entry = std::make_unique<CNavigationEntry>();
    auto* item = new QTreeWidgetItem(QStringList{label});
    entry->viewId = viewId;
    entry->item = item;
    item->setData(0, kEntryRole, QVariant::fromValue(static_cast<void*>(entry.get())));
    item->setData(0, kImageIndexRole, imageIndex);
    applyImage(item);
    CNavigationEntry* added = entry.get();
    m_entries.emplace(item, std::move(entry));

    if (parent) {
        const int position = after ? parent->indexOfChild(insertAfter) + 1 : parent->childCount();
        parent->insertChild(position, item);
    } else {
        const int position = after ? m_tree->indexOfTopLevelItem(insertAfter) + 1 : m_tree->topLevelItemCount();
        m_tree->insertTopLevelItem(position, item);
    }
    return added;
}

void CNavigationArea::RemoveChildren(QTreeWidgetItem* item)
{
    if (!m_entries.contains(item))
        return;
    while (item->childCount() > 0) {
        QTreeWidgetItem* child = item->child(0);
        RemoveChildren(child);
        if (!RemoveEntry(child))
            break;  // not an item of ours; leave it rather than loop
    }
}

CNavigationEntry* CNavigationArea::FindEntryByTag(const QString& tag)
{
    return findFirst([&](const CNavigationEntry& entry) { return entry.tag == tag; });
}

CNavigationEntry* CNavigationArea::GetEntry(QTreeWidgetItem* item)
{
    const auto it = m_entries.find(item);
    return it == m_entries.end() ? nullptr : it->second.get();
}

bool CNavigationArea::SelectView(std::uint32_t viewId)
{
    CNavigationEntry* entry = findFirst([&](const CNavigationEntry& e) { return e.viewId == viewId; });
    if (!entry)
        return false;
    m_tree->setCurrentItem(entry->item);
    return true;
}

QTreeWidget* CNavigationArea::GetTree() const
{
    return m_tree;
}

bool CNavigationArea::eventFilter(QObject* watched, QEvent* event)
{
    // Only the viewport is watched. Look at the event before anything else: the viewport also
    // reports its own destruction, when the tree around it is half gone.
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const auto* viewport = qobject_cast<QWidget*>(watched);
    auto* tree = viewport ? qobject_cast<QTreeWidget*>(viewport->parentWidget()) : nullptr;
    if (mouse->button() != Qt::RightButton || !tree)
        return false;
    if (type == QEvent::MouseButtonPress) {
        const QPoint position = mouse->position().toPoint();
        ui::runGuarded("navigation right click", [&] {
            if (QTreeWidgetItem* item = tree->itemAt(position))
                tree->setCurrentItem(item);
        });
    }
    // The right button only selects the item under the pointer; the tree's own handling would
    // clear the selection on a click beside the items.
    return true;
}

void CNavigationArea::onCurrentItemChanged(QTreeWidgetItem* current)
{
    if (!m_controller || !m_tree)
        return;
    m_tree->setFocus();
    if (const CNavigationEntry* entry = GetEntry(current))
        m_controller->ActivateView(static_cast<std::int32_t>(entry->viewId));
}

void CNavigationArea::applyImage(QTreeWidgetItem* item) const
{
    // An index outside the list shows no image, as does a hidden list.
    const int index = item->data(0, kImageIndexRole).toInt();
    const QIcon image = m_showImages ? m_images.value(index) : QIcon();
    // Setting an icon measures the row again, even the same icon: the tree keeps what it has.
    if (item->icon(0).cacheKey() != image.cacheKey())
        item->setIcon(0, image);
}

void CNavigationArea::applyImages() const
{
    if (!m_tree)
        return;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        applyImage(*it);
}

CNavigationEntry* CNavigationArea::findFirst(const std::function<bool(const CNavigationEntry&)>& matches) const
{
    if (!m_tree)
        return nullptr;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        const auto found = m_entries.find(*it);
        if (found != m_entries.end() && matches(*found->second))
            return found->second.get();
    }
    return nullptr;
}

}  // namespace orvx::framework
