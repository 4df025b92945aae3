#pragma once

#include "IValidator.h"

#include <memory>

namespace orvx::framework {
class ITextResource;
}
namespace orvx::xml {
class XmlNode;
}

namespace orvx::controls {

// Builds the validator a ControlData element describes in its "Validator" child.
class CValidatorFactory {
public:
    // None when there is no Validator child, its type is unknown (types compare case-sensitively)
    // or one of its limits is not a number: the field then accepts any entry. The validator's
    // messages come from 'texts', those of the control's business object (none: no messages);
    // they must outlive it.
    static std::unique_ptr<IValidator> CreateValidator(const xml::XmlNode& controlData,
                                                       framework::ITextResource* texts);
};

}  // namespace orvx::controls
