#include "platform/com/BStr.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComPtr.h"

#include <gtest/gtest.h>

using namespace orvx::com;

namespace {

TEST(Guid, RoundTripsTheBracedForm)
{
    const auto guid = Guid::parse("{0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9}");
    ASSERT_TRUE(guid);
    EXPECT_EQ(guid->data1, 0x0A1B2C3Du);
    EXPECT_EQ(guid->data2, 0x4E5Fu);
    EXPECT_EQ(guid->data3, 0x6071u);
    EXPECT_EQ(guid->data4[0], 0x82);
    EXPECT_EQ(guid->data4[7], 0xF9);
    EXPECT_EQ(guid->toString(), "{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}");
    EXPECT_EQ(Guid::parse(guid->toString()), guid);
}

TEST(Guid, RejectsEveryOtherForm)
{
    for (const char* text : {
             "",
             "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9",     // no braces
             "{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F}",    // one digit short
             "{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F90}",  // one digit more
             "{0A1B2C3D_4E5F-6071-8293-A4B5C6D7E8F9}",   // wrong separator
             "{0A1B2C3D-4E5F-6071-82930A4B5C6D7E8F9}",   // separator missing
             "{0A1B2C3G-4E5F-6071-8293-A4B5C6D7E8F9}",   // not hexadecimal
             "{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9)",
             "(0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}",
             "{0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8g9}",  // past 'f'
             "{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F/}",  // beside the digits
             "{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F:}",
         }) {
        EXPECT_FALSE(Guid::parse(text)) << text;
    }
}

class ITestThing : public IUnknown {
public:
    static constexpr Guid iid = Guid::literal("{11111111-2222-3333-4444-555555555555}");
    virtual int value() = 0;
};

class Thing : public ComObject<ITestThing> {
public:
    explicit Thing(bool* destroyed) : m_destroyed(destroyed) {}
    ~Thing() override { *m_destroyed = true; }
    int value() override { return 42; }

private:
    bool* m_destroyed;
};

TEST(ComPtr, TheLastReferenceDestroysTheObject)
{
    bool destroyed = false;
    {
        auto thing = makeComObject<Thing>(&destroyed);
        EXPECT_EQ(thing->referenceCount(), 1u);
        ComPtr<Thing> copy = thing;
        EXPECT_EQ(thing->referenceCount(), 2u);
        copy = copy;  // assigning a reference to itself keeps the object
        copy = std::move(copy);
        EXPECT_FALSE(destroyed);
        thing.reset();
        EXPECT_FALSE(destroyed);
        EXPECT_EQ(copy->value(), 42);
    }
    EXPECT_TRUE(destroyed);
}

TEST(ComPtr, QueryAnswersSupportedInterfacesAndEmptyForOthers)
{
    bool destroyed = false;
    auto thing = makeComObject<Thing>(&destroyed);

    auto asThing = queryInterface<ITestThing>(thing);
    ASSERT_TRUE(asThing);
    EXPECT_EQ(asThing->value(), 42);
    EXPECT_TRUE(queryInterface<IUnknown>(thing));
    EXPECT_FALSE(queryInterface<IDispatch>(thing));  // no dispatch interface among its interfaces
    EXPECT_FALSE(queryInterface<IClassFactory>(thing));
    EXPECT_EQ(thing->referenceCount(), 2u) << "only the held reference stays counted";

    void* raw = reinterpret_cast<void*>(1);
    EXPECT_EQ(thing->QueryInterface(IClassFactory::iid, &raw), Status::NoInterface);
    EXPECT_EQ(raw, nullptr);
    EXPECT_EQ(thing->QueryInterface(ITestThing::iid, nullptr), Status::InvalidPointer);
}

class Refusing : public ComObject<ITestThing> {
public:
    Status QueryInterface(const Guid&, void**) override { return Status::Failure; }
    int value() override { return 0; }
};

TEST(ComPtr, AQueryThatFailsOtherwiseIsRaised)
{
    auto refusing = makeComObject<Refusing>();
    try {
        queryInterface<ITestThing>(refusing);
        FAIL() << "a failed query must be raised";
    } catch (const ComError& error) {
        EXPECT_EQ(error.status(), Status::Failure);
        EXPECT_NE(std::string(error.what()).find("0x80004005"), std::string::npos);
    }
}

// A raised failure names what failed, the status in words and its code.
TEST(ComError, SaysWhatFailedAndHow)
{
    const struct {
        Status status;
        const char* what;
        const char* text;
    } cases[] = {
        {Status::NoInterface, "query", "query: no such interface (0x80004002)"},
        {Status::AccessDenied, "", "access denied (0x80070005)"},
        {Status::InvalidArgument, "SetParameter", "SetParameter: invalid argument (0x80070057)"},
        {Status::TypeMismatch, "convert", "convert: type mismatch (0x80020005)"},
        {Status::Overflow, "", "overflow (0x8002000A)"},
        {Status::ClassNotAvailable, "create", "create: class not available (0x80040111)"},
        {Status::InvalidPointer, "", "invalid pointer (0x80004003)"},
        {Status::NotImplemented, "", "not implemented (0x80004001)"},
        {static_cast<Status>(static_cast<std::int32_t>(0x80001234u)), "odd", "odd: unknown status (0x80001234)"},
    };
    for (const auto& c : cases) {
        try {
            check(c.status, *c.what ? c.what : nullptr);
            ADD_FAILURE() << c.text << " was not raised";
        } catch (const ComError& error) {
            EXPECT_EQ(error.status(), c.status);
            EXPECT_STREQ(error.what(), c.text);
        }
    }
    EXPECT_EQ(check(Status::False, "query"), Status::False);  // a success other than Ok is no failure
}

TEST(BStr, NullIsNotEmpty)
{
    const BStr null;
    const BStr empty(u"");
    EXPECT_TRUE(null.isNull());
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_NE(null, empty);
    EXPECT_EQ(BStr(static_cast<const char16_t*>(nullptr)), null);
}

TEST(BStr, ConvertsUtf8BothWays)
{
    // "Ventil", a degree sign, a euro sign and a character outside the basic plane.
    const std::string utf8 = "Ventil \xC2\xB0 \xE2\x82\xAC \xF0\x9F\x94\xA7";
    const BStr text = BStr::fromUtf8(utf8);
    EXPECT_EQ(text.size(), 13u);  // the last character takes two UTF-16 units
    EXPECT_EQ(text.toUtf8(), utf8);
}

TEST(BStr, MalformedUtf8BecomesReplacementCharacters)
{
    EXPECT_EQ(BStr::fromUtf8("a\xFF"
                             "b")
                  .view(),
              u"a\uFFFDb");
    EXPECT_EQ(BStr::fromUtf8("\xC0\xAF").view(), u"\uFFFD\uFFFD");  // overlong '/'
    EXPECT_EQ(BStr::fromUtf8("\xE2\x82").view(), u"\uFFFD\uFFFD");  // cut short
    EXPECT_EQ(utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");            // lone surrogate
    EXPECT_EQ(utf16ToUtf8(u"x\xDBFF"), "x\xEF\xBF\xBD");            // cut short
    EXPECT_EQ(utf16ToUtf8(u"\xD800\xE000"), "\xEF\xBF\xBD\xEE\x80\x80");
    EXPECT_EQ(utf16ToUtf8(u"\xDC00"), "\xEF\xBF\xBD");                                  // a low one first
    EXPECT_EQ(BStr::fromUtf8("\xED\xA0\x80").view(), u"\uFFFD\uFFFD\uFFFD");            // a surrogate
    EXPECT_EQ(BStr::fromUtf8("\xF4\x90\x80\x80").view(), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // past U+10FFFF
}

}  // namespace
