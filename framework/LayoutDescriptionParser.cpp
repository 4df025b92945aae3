#include "LayoutDescriptionParser.h"

#include "framework/INavigationArea.h"
#include "frameworkapi/IUIController.h"
#include "platform/xml/XmlDocument.h"

#include <QTreeWidget>

#include <cstdint>
#include <limits>
#include <optional>

namespace orvx::framework {

namespace {

// The value of the text's leading decimal digits; 0 when it has none, 'limit' when they exceed
// it. "12ab" gives 12, "-3" and " 3" give 0.
std::uint64_t leadingNumber(const QString& text, std::uint64_t limit)
{
    std::uint64_t value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c.unicode() - u'0');
        if (value > limit)
            return limit;
    }
    return value;
}

QString attribute(const xml::XmlNode& node, const char* xpath, const QString& fallback)
{
    return node.textAt(QLatin1String(xpath)).value_or(fallback);
}

}  // namespace

CLayoutDescriptionParser::CLayoutDescriptionParser(QWidget* viewParent, IUIController* controller,
                                                   INavigationArea* navigation, ITextResource* texts)
    : m_viewParent(viewParent), m_controller(controller), m_navigation(navigation), m_texts(texts)
{
}

CLayoutDescriptionParser::~CLayoutDescriptionParser() = default;

void CLayoutDescriptionParser::Load(const QString& layout)
{
    const std::optional<xml::XmlDocument> document = xml::XmlDocument::parse(layout);
    if (!document)
        return;

    QTreeWidget* tree = m_navigation ? m_navigation->GetTree() : nullptr;
    std::optional<std::uint32_t> shownView;
    if (tree) {
        if (const CNavigationEntry* entry = m_navigation->GetEntry(tree->currentItem()))
            shownView = entry->viewId;
    }

    if (!ParseNavigation(*document) || !tree)
        return;

    // Selecting raises the selection notification, so the view that was shown stays shown.
    if (!shownView || !m_navigation->SelectView(*shownView)) {
        QTreeWidgetItem* first = tree->topLevelItem(0);
        if (!first)
            return;
        tree->setCurrentItem(first);
    }
    tree->setFocus();
}

bool CLayoutDescriptionParser::ParseNavigation(const xml::XmlDocument& document)
{
    bool rebuilt = false;
    const QList<xml::XmlNode> entries = document.selectNodes(QStringLiteral("//NavigationArea/Entry"));
    if (!entries.isEmpty() && m_navigation) {
        m_navigation->RemoveAll();
        for (const xml::XmlNode& node : entries)
            ParseEntry(node, nullptr, 0);
        rebuilt = true;
    }

    const QString hide = document.textAt(QStringLiteral("//NavigationArea/@hide")).value_or(QStringLiteral("0"));
    if (hide == QLatin1String("1") && m_controller)
        m_controller->SetNavigationHidden(true);
    return rebuilt;
}

void CLayoutDescriptionParser::ParseEntry(const xml::XmlNode& node, QTreeWidgetItem* parent, int depth)
{
    const QString label = attribute(node, "./@label", QString());
    const QString viewId = attribute(node, "./@assignedApplicationViewId", QStringLiteral("0"));
    const QString tag = attribute(node, "./@tag", QString());
    const QString iconIndex = attribute(node, "./@iconIndex", QStringLiteral("0"));

    CNavigationEntry* entry = m_navigation->AddEntry(
        static_cast<std::uint32_t>(leadingNumber(viewId, std::numeric_limits<std::uint32_t>::max())),
        static_cast<int>(leadingNumber(iconIndex, std::numeric_limits<int>::max())), label, parent, nullptr);
    if (!entry)
        return;
    entry->tag = tag;

    if (depth + 1 >= kMaxDepth)
        return;
    for (const xml::XmlNode& child : node.selectNodes(QStringLiteral("./Entry")))
        ParseEntry(child, entry->item, depth + 1);
}

}  // namespace orvx::framework
