#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace pugi {
class xml_document;
class xpath_node;
struct xml_node_struct;
struct xml_attribute_struct;
}  // namespace pugi

namespace orvx::xml {

class XmlDocument;

// One node of a parsed document: an element, an attribute, a text, or nothing. A node refers
// into its document and is valid only while the document lives.
class XmlNode {
public:
    XmlNode() = default;

    bool isNull() const;
    explicit operator bool() const { return !isNull(); }

    // The node's text: an attribute's value, or the concatenated text below an element. A null
    // node has the empty text; use textAt to tell a missing node from an empty one.
    QString text() const;
    // The element or attribute name.
    QString name() const;

    // The first node matching an XPath 1.0 expression evaluated from this node ("./@tag",
    // ".//Choice", or absolute "//@state"). A null node when nothing matches or the expression
    // is not valid XPath.
    XmlNode selectSingleNode(const QString& xpath) const;
    // All matching nodes in document order; empty when nothing matches or the expression is
    // not valid XPath.
    QList<XmlNode> selectNodes(const QString& xpath) const;
    // The text of the first matching node, or nothing when no node matches.
    std::optional<QString> textAt(const QString& xpath) const;
    // The value of this element's attribute `name` (a plain name), as textAt("./@name") gives
    // it but without an XPath query: nothing when this is no element or has no such attribute.
    std::optional<QString> attribute(const char* name) const;
    // The same value as the UTF-8 bytes the document holds, for a reader that only compares or
    // converts it: null when attribute() gives nothing. Valid while the document lives.
    const char* attributeUtf8(const char* name) const;
    // Element steps without an XPath query, for the shapes read often: the first child element
    // named `name` ("./name"), the first element of that name below this node in document order
    // (".//name"), and all of them. Null or empty when this is no element or document.
    XmlNode child(const char* name) const;
    XmlNode descendant(const char* name) const;
    QList<XmlNode> descendants(const char* name) const;

private:
    friend class XmlDocument;
    // A node is two pointers into its document, as the XPath engine's node is: copied freely.
    explicit XmlNode(const pugi::xpath_node& node);
    pugi::xpath_node ref() const;
    pugi::xml_node_struct* m_node = nullptr;  // the node, or the element of an attribute
    pugi::xml_attribute_struct* m_attribute = nullptr;
};

// Where a text failed to parse: the character offset into the text and what was wrong.
struct XmlError {
    qsizetype offset = -1;
    QString description;
};

// A parsed XML document. Parsing a text that is not well-formed XML gives no document, nor does
// a text longer than kMaxChars or elements nested deeper than kMaxDepth: the documents read here
// (state documents, layout descriptions, ViewSettings) are a few kilobytes and a few levels deep.
class XmlDocument {
public:
    static constexpr qsizetype kMaxChars = qsizetype{16} << 20;
    static constexpr int kMaxDepth = 256;

    ~XmlDocument();
    XmlDocument(XmlDocument&&) noexcept;
    XmlDocument& operator=(XmlDocument&&) noexcept;

    static std::optional<XmlDocument> parse(const QString& text, XmlError* error = nullptr);

    // The document node; XPath from it works as from any node.
    XmlNode root() const;
    XmlNode selectSingleNode(const QString& xpath) const { return root().selectSingleNode(xpath); }
    QList<XmlNode> selectNodes(const QString& xpath) const { return root().selectNodes(xpath); }
    std::optional<QString> textAt(const QString& xpath) const { return root().textAt(xpath); }

private:
    XmlDocument();
    std::unique_ptr<pugi::xml_document> m_document;
};

}  // namespace orvx::xml

Q_DECLARE_TYPEINFO(orvx::xml::XmlNode, Q_PRIMITIVE_TYPE);
