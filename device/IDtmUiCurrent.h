#pragma once

#include "InterfaceGuids.h"
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

namespace orvx::device {

// Texts and the state document of the business object. Slots 7 to 9 and 11 to 13 are
// operations this system does not use; they answer "not implemented" unless an object has them.
class IDtmUiCurrent : public com::IDispatch {
public:
    static constexpr Guid iid = IID_IDtmUiCurrent;

    virtual com::Status Reserved7() { return com::Status::NotImplemented; }
    virtual com::Status Reserved8() { return com::Status::NotImplemented; }
    virtual com::Status Reserved9() { return com::Status::NotImplemented; }
    // slot 10: the text for a key; an unknown key answers "##" followed by the key.
    virtual com::Status GetText(const com::BStr& key, com::BStr* text) = 0;
    virtual com::Status Reserved11() { return com::Status::NotImplemented; }
    virtual com::Status Reserved12() { return com::Status::NotImplemented; }
    virtual com::Status Reserved13() { return com::Status::NotImplemented; }
    // slot 14: the state document (XML). The status is not looked at: an empty or unparsable text
    // reads as a document without attributes.
    virtual com::Status GetStateDocument(com::BStr* document) = 0;

protected:
    ~IDtmUiCurrent() = default;
};

}  // namespace orvx::device
