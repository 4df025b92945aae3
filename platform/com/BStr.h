#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvx::com {

// The counted wide string of the business-object boundary: UTF-16, and a null string is
// distinct from an empty one (an absent tag is passed as null, never as "").
class BStr {
public:
    BStr() = default;  // null
    BStr(std::u16string text) : m_text(std::move(text)) {}
    BStr(std::u16string_view text) : m_text(std::in_place, text) {}
    BStr(const char16_t* text)
    {
        if (text)
            m_text = std::u16string(text);
    }

    // From UTF-8 text; malformed bytes become U+FFFD.
    static BStr fromUtf8(std::string_view utf8);

    bool isNull() const { return !m_text.has_value(); }
    bool isEmpty() const { return !m_text || m_text->empty(); }
    // The characters; a null string reads as empty.
    std::u16string_view view() const { return m_text ? std::u16string_view(*m_text) : std::u16string_view(); }
    std::size_t size() const { return view().size(); }
    std::string toUtf8() const;

    friend bool operator==(const BStr&, const BStr&) = default;

private:
    std::optional<std::u16string> m_text;
};

std::string utf16ToUtf8(std::u16string_view text);
std::u16string utf8ToUtf16(std::string_view text);

}  // namespace orvx::com
