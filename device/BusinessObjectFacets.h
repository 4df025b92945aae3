#pragma once

#include "IDtmUiCurrent.h"
#include "IDtmUiEarlier.h"
#include "IDtmUiRegistry.h"

namespace orvx::device {

// The private interface a business-object call came through.
enum class Via { Registry, Current, Earlier };

// For whoever implements a business object: one facet per private interface. Operations of the
// same name on two interfaces meet in one protected operation, implemented once, which is told
// the interface the call came through.
class RegistryFacet : public IDtmUiRegistry {
public:
    com::Status RegisterControl(const com::BStr& progId, const com::BStr& callerTag, IDtmActiveXControl* control,
                                bool write, bool* accepted) override
    {
        return registerControl(Via::Registry, progId, callerTag, control, write, accepted);
    }
    com::Status UnregisterControl(const com::BStr& callerTag, bool was, bool* result) override
    {
        return unregisterControl(Via::Registry, callerTag, was, result);
    }

protected:
    virtual com::Status registerControl(Via via, const com::BStr& progId, const com::BStr& callerTag,
                                        IDtmActiveXControl* control, bool write, bool* accepted) = 0;
    virtual com::Status unregisterControl(Via via, const com::BStr& callerTag, bool was, bool* result) = 0;
};

class CurrentFacet : public IDtmUiCurrent {
public:
    com::Status GetText(const com::BStr& key, com::BStr* text) override { return getText(Via::Current, key, text); }
    com::Status GetStateDocument(com::BStr* document) override { return getStateDocument(Via::Current, document); }

protected:
    virtual com::Status getText(Via via, const com::BStr& key, com::BStr* text) = 0;
    virtual com::Status getStateDocument(Via via, com::BStr* document) = 0;
};

class EarlierFacet : public IDtmUiEarlier {
public:
    com::Status GetText(const com::BStr& key, com::BStr* text) override { return getText(Via::Earlier, key, text); }
    com::Status GetStateDocument(com::BStr* document) override { return getStateDocument(Via::Earlier, document); }
    com::Status RegisterControl(const com::BStr& progId, const com::BStr& callerTag, IDtmActiveXControl* control,
                                bool write, bool* accepted) override
    {
        return registerControl(Via::Earlier, progId, callerTag, control, write, accepted);
    }
    com::Status UnregisterControl(const com::BStr& callerTag, bool was, bool* result) override
    {
        return unregisterControl(Via::Earlier, callerTag, was, result);
    }

protected:
    virtual com::Status getText(Via via, const com::BStr& key, com::BStr* text) = 0;
    virtual com::Status getStateDocument(Via via, com::BStr* document) = 0;
    virtual com::Status registerControl(Via via, const com::BStr& progId, const com::BStr& callerTag,
                                        IDtmActiveXControl* control, bool write, bool* accepted) = 0;
    virtual com::Status unregisterControl(Via via, const com::BStr& callerTag, bool was, bool* result) = 0;
};

}  // namespace orvx::device
