#include "ViewSettings.h"

#include "platform/ui/Resources.h"
#include "platform/xml/XmlDocument.h"

#include <map>
#include <optional>

namespace orvx::framework {

const xml::XmlDocument* viewSettingResource(int resource)
{
    // Never destroyed, like the resources themselves.
    static auto* const parsed = new std::map<int, std::optional<xml::XmlDocument>>;
    auto it = parsed->find(resource);
    if (it == parsed->end())
        it = parsed->emplace(resource, xml::XmlDocument::parse(ui::xmlResource(resource))).first;
    return it->second ? &*it->second : nullptr;
}

}  // namespace orvx::framework
