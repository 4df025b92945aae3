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

// Builds the validator a ControlData element describes in its "Validator" child. Validators
// built take the text provider the factory holds at that moment.
class CValidatorFactory {
public:
    // Process-wide; the control initialised last sets it. A null provider keeps the previous one.
    static void SetTextProvider(framework::ITextResource* texts);
    static framework::ITextResource* TextProvider();
    // Called by a provider that goes away: the factory stops handing it out.
    static void ForgetTextProvider(framework::ITextResource* texts);

    // None when there is no Validator child, its type is unknown (types compare case-sensitively)
    // or one of its limits is not a number: the field then accepts any entry.
    static std::unique_ptr<IValidator> CreateValidator(const xml::XmlNode& controlData);
};

}  // namespace orvx::controls
