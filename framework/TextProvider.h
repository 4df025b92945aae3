#pragma once

#include "frameworkapi/ITextResource.h"
#include "platform/com/ComPtr.h"

#include <optional>

namespace orvx::device {
class IDtmUiCurrent;
class IDtmUiEarlier;
}  // namespace orvx::device

namespace orvx::framework {

// The texts of one control: the business object's when it has them, else a built-in English
// table shared by all providers. Works with the current source, the earlier one, or neither.
class CTextProvider : public ITextResource {
public:
    CTextProvider();
    ~CTextProvider() override;

    void SetCurrentTextSource(device::IDtmUiCurrent* source);
    void SetEarlierTextSource(device::IDtmUiEarlier* source);

    QString GetTextByKey(const QString& key) override;
    QString GetTextById(std::uint32_t id) override;
    // The business object's text for a device name, or the name itself when it has none.
    QString TranslateName(const QString& name);

private:
    // The source's answer for a key; nothing when no source is set.
    std::optional<QString> askSource(const QString& key);
    // The source's text, or "##" + key; 'found' when the two differ.
    QString lookUp(const QString& key, bool* found);

    // Declared in this order so that the earlier source is released first.
    com::ComPtr<device::IDtmUiCurrent> m_current;
    com::ComPtr<device::IDtmUiEarlier> m_earlier;
};

}  // namespace orvx::framework
