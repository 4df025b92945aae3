#pragma once

namespace orvx::xml {
class XmlDocument;
}

namespace orvx::framework {

// A ViewSetting resource parsed once and kept for the life of the process: every page made
// applies its own, and a resource compiled into the module never changes. Null when the resource
// is missing or is no XML. For the user-interface thread.
const xml::XmlDocument* viewSettingResource(int resource);

}  // namespace orvx::framework
