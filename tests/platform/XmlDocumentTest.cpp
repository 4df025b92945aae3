#include "platform/xml/XmlDocument.h"

#include <gtest/gtest.h>

using orvx::xml::XmlDocument;
using orvx::xml::XmlError;

namespace {

const QString kViewSetting = QStringLiteral(
    "<ViewSetting>"
    "  <ControlData controlId='3' tag='1005' label=''>"
    "    <Choice tag='4' caption='Normal'/>"
    "    <Choice tag='1' caption='Setup'/>"
    "  </ControlData>"
    "  <ControlData controlId='4' tag='1000'><Text>Mode <b>now</b></Text></ControlData>"
    "</ViewSetting>");

TEST(XmlDocument, TellsAMissingNodeFromAnEmptyText)
{
    const auto document = XmlDocument::parse(kViewSetting);
    ASSERT_TRUE(document);
    const auto control = document->selectSingleNode(QStringLiteral("//ControlData[@controlId='3']"));
    ASSERT_FALSE(control.isNull());

    const auto label = control.textAt(QStringLiteral("./@label"));
    ASSERT_TRUE(label.has_value());
    EXPECT_TRUE(label->isEmpty());
    EXPECT_FALSE(control.textAt(QStringLiteral("./@unit")).has_value());
    EXPECT_TRUE(control.selectSingleNode(QStringLiteral("./@unit")).isNull());
    EXPECT_EQ(control.textAt(QStringLiteral("./@tag")), QStringLiteral("1005"));
    EXPECT_EQ(control.name(), QStringLiteral("ControlData"));
    EXPECT_EQ(control.selectSingleNode(QStringLiteral("./@controlId")).name(), QStringLiteral("controlId"));
}

// An attribute of the node itself is read without the XPath engine; it answers as the engine
// does (a predicate that is always true makes the engine answer) from every kind of node.
TEST(XmlDocument, AnOwnAttributeAnswersAsTheXPathEngine)
{
    const auto document = XmlDocument::parse(
        QStringLiteral("<a x='1' y='' p:z='2' xmlns:p='urn:p' _n.m-2='3'><b x='4'/>text</a>"));
    ASSERT_TRUE(document);
    const auto a = document->selectSingleNode(QStringLiteral("/a"));
    const orvx::xml::XmlNode contexts[] = {
        document->root(),
        a,
        a.selectSingleNode(QStringLiteral("b")),
        a.selectSingleNode(QStringLiteral("@x")),
        a.selectSingleNode(QStringLiteral("text()")),
        orvx::xml::XmlNode(),
    };
    const char* const queries[] = {"./@x", "@x", "./@y", "./@missing", "./@p:z", "@*", "./@_n.m-2", "./@", "@1x"};
    for (std::size_t c = 0; c < std::size(contexts); ++c)
        for (const char* query : queries) {
            const QString fast = QLatin1String(query);
            const QString engine = fast + QStringLiteral("[true()]");
            EXPECT_EQ(contexts[c].textAt(fast), contexts[c].textAt(engine)) << c << ' ' << query;
            EXPECT_EQ(contexts[c].selectSingleNode(fast).name(), contexts[c].selectSingleNode(engine).name())
                << c << ' ' << query;
        }
    for (std::size_t c = 0; c < std::size(contexts); ++c)
        for (const char* name : {"x", "y", "missing", "_n.m-2"})
            EXPECT_EQ(contexts[c].attribute(name),
                      contexts[c].textAt(QStringLiteral("./@%1[true()]").arg(QLatin1String(name))))
                << c << ' ' << name;
    EXPECT_EQ(a.textAt(QStringLiteral("./@x")), QStringLiteral("1"));
    EXPECT_EQ(a.textAt(QStringLiteral("./@_n.m-2")), QStringLiteral("3"));
    EXPECT_EQ(a.attribute("y"), QString()) << "an empty attribute is there";
}

// The element steps the controls read most are walked without the XPath engine; from every kind
// of node they answer as the engine does, a node without children first.
TEST(XmlDocument, AnElementStepAnswersAsTheXPathEngine)
{
    const auto document = XmlDocument::parse(QStringLiteral(
        "<a x='0'><b n='1'><c><b n='2'/></c><b n='3'/></b>text<c/><d><b n='4'/><e><b n='5'/></e></d></a>"));
    ASSERT_TRUE(document);
    const auto a = document->selectSingleNode(QStringLiteral("/a"));
    const orvx::xml::XmlNode contexts[] = {
        orvx::xml::XmlNode(),
        a.selectSingleNode(QStringLiteral("@x")),
        a.selectSingleNode(QStringLiteral("text()")),
        a.selectSingleNode(QStringLiteral("c")),
        document->root(),
        a,
        a.selectSingleNode(QStringLiteral("b")),
        a.selectSingleNode(QStringLiteral("d")),
    };
    const auto numbers = [](const QList<orvx::xml::XmlNode>& nodes) {
        QStringList all;
        for (const auto& node : nodes)
            all.append(node.attribute("n").value_or(QStringLiteral("-")));
        return all.join(QLatin1Char(' '));
    };
    for (std::size_t c = 0; c < std::size(contexts); ++c) {
        const auto& from = contexts[c];
        for (const char* name : {"b", "c", "e", "missing"}) {
            const QString step = QLatin1String(name);
            EXPECT_EQ(from.child(name).name(), from.selectSingleNode(QStringLiteral("./") + step).name()) << c << name;
            EXPECT_EQ(from.descendant(name).attribute("n"),
                      from.selectSingleNode(QStringLiteral(".//") + step).attribute("n"))
                << c << name;
            EXPECT_EQ(from.descendant(name).isNull(), from.selectSingleNode(QStringLiteral(".//") + step).isNull())
                << c << name;
            EXPECT_EQ(numbers(from.descendants(name)), numbers(from.selectNodes(QStringLiteral(".//") + step)))
                << c << name;
        }
    }
    EXPECT_EQ(numbers(a.descendants("b")), QStringLiteral("1 2 3 4 5"));
    EXPECT_EQ(a.child("b").attribute("n"), QStringLiteral("1"));
}

TEST(XmlDocument, SelectsRelativeToANodeInDocumentOrder)
{
    const auto document = XmlDocument::parse(kViewSetting);
    ASSERT_TRUE(document);
    const auto control = document->selectSingleNode(QStringLiteral("//ControlData"));
    const auto choices = control.selectNodes(QStringLiteral(".//Choice"));
    ASSERT_EQ(choices.size(), 2);
    EXPECT_EQ(choices[0].textAt(QStringLiteral("./@caption")), QStringLiteral("Normal"));
    EXPECT_EQ(choices[1].textAt(QStringLiteral("./@tag")), QStringLiteral("1"));
    // An absolute path from a node still searches the whole document.
    EXPECT_EQ(control.selectNodes(QStringLiteral("//ControlData")).size(), 2);
}

TEST(XmlDocument, AnElementsTextIsAllTheTextBelowIt)
{
    const auto document = XmlDocument::parse(kViewSetting);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->textAt(QStringLiteral("//Text")), QStringLiteral("Mode now"));

    // CDATA is text like any other, taken as written.
    const auto withCdata = XmlDocument::parse(
        QStringLiteral("<Curve>a<![CDATA[ <1;2> & ]]>b<![CDATA[]]><!-- not text --></Curve>"));
    ASSERT_TRUE(withCdata);
    EXPECT_EQ(withCdata->textAt(QStringLiteral("/Curve")), QStringLiteral("a <1;2> & b"));
    EXPECT_EQ(withCdata->textAt(QStringLiteral("/Curve/text()[2]")), QStringLiteral(" <1;2> & "));
}

TEST(XmlDocument, ReadsTheStateDocument)
{
    const auto document = XmlDocument::parse(
        QStringLiteral("<?xml version='1.0' encoding='utf-8'?>"
                       "<DtmState name='PV-101 &#x2192; Tank' state='Online' userLevel=''/>"));
    ASSERT_TRUE(document);
    EXPECT_EQ(document->textAt(QStringLiteral("//@name")), QStringLiteral("PV-101 \u2192 Tank"));
    EXPECT_EQ(document->textAt(QStringLiteral("//@state")), QStringLiteral("Online"));
    EXPECT_EQ(document->textAt(QStringLiteral("//@userLevel")), QString(""));
    EXPECT_FALSE(document->textAt(QStringLiteral("//@isPrivateDialogEnabled")));
}

TEST(XmlDocument, TextThatIsNotXmlGivesNoDocumentAndSaysWhere)
{
    struct Case {
        QString text;
        qsizetype offset;
    };
    const Case cases[] = {
        {QString(), 0},
        {QStringLiteral("   "), 3},
        {QStringLiteral("<a><b></a>"), 8},
        {QStringLiteral("<a>\u00e4\u00e4</b>"), 7},  // offsets count characters, not bytes
        {QStringLiteral("<a>text"), 6},
        {QStringLiteral("<?xml version='1.0'?><!-- no element -->"), 40},
    };
    for (const auto& c : cases) {
        XmlError error;
        EXPECT_FALSE(XmlDocument::parse(c.text, &error)) << c.text.toStdString();
        EXPECT_EQ(error.offset, c.offset) << c.text.toStdString();
        EXPECT_FALSE(error.description.isEmpty());
        EXPECT_FALSE(XmlDocument::parse(c.text)) << "nor without asking where";
    }
}

TEST(XmlDocument, AQueryAskedAgainAmongManyAnswersAsTheFirstTime)
{
    const auto document = XmlDocument::parse(QStringLiteral("<a><b/><b/><b/></a>"));
    ASSERT_TRUE(document);
    // More expressions than a thread keeps compiled, each asked twice, a malformed one between.
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 600; ++i) {
            const QString query = QStringLiteral("/a/b[position() <= %1]").arg(i);
            ASSERT_EQ(document->selectNodes(query).size(), std::min(i, 3)) << query.toStdString();
            ASSERT_TRUE(document->selectNodes(query + QLatin1Char('[')).isEmpty());
        }
}

TEST(XmlDocument, AnExpressionThatIsNotANodeQuerySelectsNothing)
{
    const auto document = XmlDocument::parse(kViewSetting);
    ASSERT_TRUE(document);
    for (const char* xpath : {"//ControlData[", "count(//Choice)", "", "@@tag"}) {
        EXPECT_TRUE(document->selectSingleNode(QString::fromLatin1(xpath)).isNull()) << xpath;
        EXPECT_TRUE(document->selectNodes(QString::fromLatin1(xpath)).isEmpty()) << xpath;
    }
}

TEST(XmlDocument, ANullNodeAnswersNothing)
{
    const auto document = XmlDocument::parse(kViewSetting);
    ASSERT_TRUE(document);
    const auto missing = document->selectSingleNode(QStringLiteral("//Nothing"));
    EXPECT_TRUE(missing.isNull());
    EXPECT_TRUE(missing.text().isEmpty());
    EXPECT_TRUE(missing.selectSingleNode(QStringLiteral("//ControlData")).isNull());
    EXPECT_TRUE(missing.selectNodes(QStringLiteral(".//Choice")).isEmpty());
}

}  // namespace

namespace {

// Elements nested 'depth' deep, with a text in the innermost.
QString nested(int depth)
{
    return QStringLiteral("<a>").repeated(depth) + QStringLiteral("x") + QStringLiteral("</a>").repeated(depth);
}

}  // namespace

TEST(XmlDocument, ATextTooLongOrNestedTooDeepIsRefusedAndSaysWhere)
{
    const QString longest = QStringLiteral("<a>") + QString(XmlDocument::kMaxChars - 7, QLatin1Char(' ')) +
                            QStringLiteral("</a>");
    const struct {
        QString text;
        bool parses;
        qsizetype offset;
        const char* description;
    } cases[] = {
        {nested(XmlDocument::kMaxDepth), true, -1, ""},
        {nested(XmlDocument::kMaxDepth + 1), false, 3 * XmlDocument::kMaxDepth, "Elements nested deeper than 256"},
        {longest, true, -1, ""},
        {longest + QLatin1Char(' '), false, XmlDocument::kMaxChars, "Document longer than 16777216 characters"},
    };
    for (const auto& c : cases) {
        XmlError error;
        EXPECT_EQ(XmlDocument::parse(c.text, &error).has_value(), c.parses) << c.text.size();
        EXPECT_EQ(error.offset, c.offset) << c.text.size();
        EXPECT_EQ(error.description.toStdString(), c.description) << c.text.size();
    }
}
