#pragma once

#include "platform/com/BStr.h"

#include <map>
#include <string>

namespace orvx::device {

// A business object's translations by text key; a key without one answers "##" followed by the
// key, as the controls expect of an unknown key.
class TextTable {
public:
    void Load(std::map<std::u16string, std::u16string> texts) { m_texts = std::move(texts); }
    com::BStr Text(const com::BStr& key) const
    {
        const std::u16string k(key.view());
        const auto it = m_texts.find(k);
        return com::BStr(it != m_texts.end() ? it->second : u"##" + k);
    }

private:
    std::map<std::u16string, std::u16string> m_texts;
};

}  // namespace orvx::device
