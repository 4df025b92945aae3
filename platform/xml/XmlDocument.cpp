#include "XmlDocument.h"

#include <pugixml.hpp>

#include <cstring>
#include <memory>
#include <unordered_map>

namespace orvx::xml {

namespace {

QString fromUtf8(const char* text)
{
    return QString::fromUtf8(text);
}

// The compiled query of an expression, or null when it is no valid XPath returning nodes.
// Compiling costs more than running most of the short queries the pages ask again and again, so
// each thread keeps the ones it compiled; a program that makes up many expressions starts the
// cache afresh now and then.
const pugi::xpath_query* compiled(const QString& xpath)
{
    constexpr std::size_t kMostKept = 256;
    thread_local std::unordered_map<QString, std::unique_ptr<pugi::xpath_query>> kept;
    if (const auto found = kept.find(xpath); found != kept.end())
        return found->second.get();
    if (kept.size() >= kMostKept)
        kept.clear();
    std::unique_ptr<pugi::xpath_query> query;
    try {
        const QByteArray expression = xpath.toUtf8();
        query = std::make_unique<pugi::xpath_query>(expression.constData());
        if (!*query || query->return_type() != pugi::xpath_type_node_set)
            query.reset();
    } catch (const pugi::xpath_exception&) {
        query.reset();
    }
    return kept.emplace(xpath, std::move(query)).first->second.get();
}

// Runs an XPath query without letting pugixml's exception for a malformed expression out.
pugi::xpath_node_set evaluate(const pugi::xpath_node& from, const QString& xpath)
{
    if (!from)
        return {};
    try {
        const pugi::xpath_query* query = compiled(xpath);
        if (!query)
            return {};
        return query->evaluate_node_set(from);
    } catch (const pugi::xpath_exception&) {
        return {};
    } catch (const std::bad_alloc&) {
        return {};
    }
}

// The first element, in document order, more than XmlDocument::kMaxDepth elements deep; none
// when the document is shallower. Walks without recursion.
pugi::xml_node tooDeep(const pugi::xml_document& document)
{
    int depth = 0;
    pugi::xml_node node = document.first_child();
    while (node) {
        if (depth >= XmlDocument::kMaxDepth && node.type() == pugi::node_element)
            return node;
        if (node.first_child()) {
            node = node.first_child();
            ++depth;
            continue;
        }
        while (node && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        if (node)
            node = node.next_sibling();
    }
    return {};
}

// Calls visit with each element named `name` below `top`, in document order, until it returns
// false. Walks without recursion.
template <typename Visit>
void forEachNamed(const pugi::xml_node& top, const char* name, Visit visit)
{
    pugi::xml_node node = top.first_child();
    while (node) {
        if (node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0 && !visit(node))
            return;
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != top && !node.next_sibling())
            node = node.parent();
        node = node == top ? pugi::xml_node() : node.next_sibling();
    }
}

// The element or document a step starts from; null for an attribute, a text or nothing.
pugi::xml_node container(const pugi::xpath_node& from)
{
    if (from.attribute())
        return {};
    const pugi::xml_node node = from.node();
    return node.type() == pugi::node_element || node.type() == pugi::node_document ? node : pugi::xml_node();
}

}  // namespace

XmlNode::XmlNode(const pugi::xpath_node& node)
    : m_node(node.attribute() ? node.parent().internal_object() : node.node().internal_object()),
      m_attribute(node.attribute().internal_object())
{
}

pugi::xpath_node XmlNode::ref() const
{
    if (m_attribute)
        return pugi::xpath_node(pugi::xml_attribute(m_attribute), pugi::xml_node(m_node));
    return pugi::xpath_node(pugi::xml_node(m_node));
}

bool XmlNode::isNull() const
{
    return !m_node && !m_attribute;
}

QString XmlNode::text() const
{
    const pugi::xpath_node n = ref();
    if (n.attribute())
        return fromUtf8(n.attribute().value());
    if (!n.node())
        return {};
    switch (n.node().type()) {
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_comment:
    case pugi::node_pi: return fromUtf8(n.node().value());
    default: {
        // Iterative walk: a deeply nested document must not exhaust the stack.
        struct Collector : pugi::xml_tree_walker {
            QString text;
            bool for_each(pugi::xml_node& node) override
            {
                if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
                    text += fromUtf8(node.value());
                return true;
            }
        } collector;
        n.node().traverse(collector);
        return collector.text;
    }
    }
}

QString XmlNode::name() const
{
    const pugi::xpath_node n = ref();
    return fromUtf8(n.attribute() ? n.attribute().name() : n.node().name());
}

XmlNode XmlNode::selectSingleNode(const QString& xpath) const
{
    const auto nodes = evaluate(ref(), xpath);
    if (nodes.empty())
        return {};
    return XmlNode(pugi::xpath_node(nodes.first()));
}

QList<XmlNode> XmlNode::selectNodes(const QString& xpath) const
{
    auto nodes = evaluate(ref(), xpath);
    nodes.sort();
    QList<XmlNode> list;
    list.reserve(static_cast<qsizetype>(nodes.size()));
    for (const auto& node : nodes)
        list.append(XmlNode(pugi::xpath_node(node)));
    return list;
}

std::optional<QString> XmlNode::textAt(const QString& xpath) const
{
    const XmlNode node = selectSingleNode(xpath);
    if (node.isNull())
        return std::nullopt;
    return node.text();
}

std::optional<QString> XmlNode::attribute(const char* name) const
{
    const char* value = attributeUtf8(name);
    if (!value)
        return std::nullopt;
    return fromUtf8(value);
}

const char* XmlNode::attributeUtf8(const char* name) const
{
    // An attribute's or a text's context holds no element.
    const pugi::xml_node element(m_node);
    if (m_attribute || element.type() != pugi::node_element)
        return nullptr;
    const pugi::xml_attribute found = element.attribute(name);
    return found ? found.value() : nullptr;
}

XmlNode XmlNode::child(const char* name) const
{
    const pugi::xml_node from = container(ref());
    return from ? XmlNode(pugi::xpath_node(from.child(name))) : XmlNode();
}

XmlNode XmlNode::descendant(const char* name) const
{
    pugi::xml_node found;
    if (const pugi::xml_node from = container(ref()))
        forEachNamed(from, name, [&](const pugi::xml_node& node) {
            found = node;
            return false;
        });
    return XmlNode(pugi::xpath_node(found));
}

QList<XmlNode> XmlNode::descendants(const char* name) const
{
    QList<XmlNode> list;
    if (const pugi::xml_node from = container(ref()))
        forEachNamed(from, name, [&](const pugi::xml_node& node) {
            list.append(XmlNode(pugi::xpath_node(node)));
            return true;
        });
    return list;
}

XmlDocument::XmlDocument() : m_document(std::make_unique<pugi::xml_document>()) {}
XmlDocument::~XmlDocument() = default;
XmlDocument::XmlDocument(XmlDocument&&) noexcept = default;
XmlDocument& XmlDocument::operator=(XmlDocument&&) noexcept = default;

std::optional<XmlDocument> XmlDocument::parse(const QString& text, XmlError* error)
{
    if (text.size() > kMaxChars) {
        if (error) {
            error->offset = kMaxChars;
            error->description = QStringLiteral("Document longer than %1 characters").arg(kMaxChars);
        }
        return std::nullopt;
    }
    XmlDocument document;
    const QByteArray utf8 = text.toUtf8();
    const pugi::xml_parse_result result = document.m_document->load_buffer(
        utf8.constData(), static_cast<size_t>(utf8.size()), pugi::parse_default, pugi::encoding_utf8);
    // A document must have a root element; an empty or whitespace-only text is not XML.
    const bool hasElement = result && document.m_document->document_element();
    if (!hasElement) {
        if (error) {
            // pugixml counts bytes of the UTF-8 form; report characters of the text given.
            const auto byteOffset = result ? utf8.size() : static_cast<qsizetype>(result.offset);
            error->offset = QString::fromUtf8(utf8.constData(), byteOffset).size();
            error->description = result ? QStringLiteral("No root element") : QString::fromUtf8(result.description());
        }
        return std::nullopt;
    }
    if (const pugi::xml_node deep = tooDeep(*document.m_document)) {
        if (error) {
            // pugixml places an element at its name; the element starts at the '<' before it.
            error->offset = QString::fromUtf8(utf8.constData(), deep.offset_debug() - 1).size();
            error->description = QStringLiteral("Elements nested deeper than %1").arg(kMaxDepth);
        }
        return std::nullopt;
    }
    return document;
}

XmlNode XmlDocument::root() const
{
    XmlNode node;
    node.m_node = m_document->internal_object();
    return node;
}

}  // namespace orvx::xml
