#pragma once

#include <QString>

class QTreeWidgetItem;
class QWidget;

namespace orvx::xml {
class XmlDocument;
class XmlNode;
}  // namespace orvx::xml

namespace orvx::framework {

class INavigationArea;
class ITextResource;
class IUIController;

// Fills the navigation tree from a UILayoutDescription document and applies the document's
// request to hide the navigation pane. Made for one document and dropped after it; the parent
// window of the views and the texts are held for the parse, not used by it.
class CLayoutDescriptionParser {
public:
    // Entries nested deeper than this many levels are left out, so that a hostile document
    // cannot exhaust the stack. The main view's tree is four levels deep.
    static constexpr int kMaxDepth = 64;

    CLayoutDescriptionParser(QWidget* viewParent, IUIController* controller, INavigationArea* navigation,
                             ITextResource* texts);
    virtual ~CLayoutDescriptionParser();
    CLayoutDescriptionParser(const CLayoutDescriptionParser&) = delete;
    CLayoutDescriptionParser& operator=(const CLayoutDescriptionParser&) = delete;

    // Rebuilds the tree when the document has entries and selects the view that was shown, or
    // the first top-level item when the new tree lacks it; a document without entries keeps the
    // tree and its selection. Text that is not well-formed XML changes nothing.
    void Load(const QString& layout);

private:
    // Answers whether the tree was rebuilt.
    bool ParseNavigation(const xml::XmlDocument& document);
    void ParseEntry(const xml::XmlNode& node, QTreeWidgetItem* parent, int depth);

    QWidget* m_viewParent;
    IUIController* m_controller;
    INavigationArea* m_navigation;
    ITextResource* m_texts;
};

}  // namespace orvx::framework
