#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <memory>
#include <vector>

class QWidget;

namespace orvx::bench {

// A picture of a widget tree that bare Qt can build again: every widget as the nearest Qt class
// it derives from, with its texts, sizes and layouts, and in the same parent-child order. The
// children a Qt class makes for itself (scroll bars, viewports, tab bars, header views) are left
// out: building the class makes them again.
class WidgetTree {
public:
    // Reads the tree under 'root', root included.
    static WidgetTree Read(QWidget* root);

    // Builds the same tree from Qt classes alone under 'parent'; answers its root.
    QWidget* Build(QWidget* parent) const;

    // Widgets by Qt class, the internal children of Qt's classes left out as above.
    static QMap<QByteArray, int> Count(QWidget* root);
    int Size() const { return static_cast<int>(m_nodes.size()); }

    struct Node;
    struct LayoutNode;

private:
    std::vector<std::shared_ptr<Node>> m_nodes;
};

}  // namespace orvx::bench
