#pragma once

#include <QString>

#include <cstdint>

namespace orvx::framework {

// Framework texts by key or by numeric text id.
class ITextResource {
public:
    virtual ~ITextResource() = default;
    // The business object's text for a key, or "##" followed by the key when it has none or no
    // text source is set; a source that fails without answering gives the empty text.
    virtual QString GetTextByKey(const QString& key) = 0;
    // The text with id n: the business object's text for "UI_TEXT_<n>", else the built-in one,
    // else "##UI_TEXT_<n>"; a source that fails without answering gives the empty text.
    virtual QString GetTextById(std::uint32_t id) = 0;
};

}  // namespace orvx::framework
