#pragma once

#include "host/IDtmUiCurrent.h"
#include "host/IDtmUiEarlier.h"
#include "host/IDtmUiRegistry.h"

namespace orvx::simulator::detail {

// One facet per private interface of the business object. Operations of the same name on two
// interfaces meet in one protected operation, which the business object implements once.
class RegistryFacet : public host::IDtmUiRegistry {
public:
    com::Status RegisterControl(const com::BStr& progId, const com::BStr& callerTag,
                                host::IDtmActiveXControl* control, bool write, bool* accepted) override
    {
        return registerControl(progId, callerTag, control, write, accepted);
    }
    com::Status UnregisterControl(const com::BStr& callerTag, bool was, bool* result) override
    {
        return unregisterControl(callerTag, was, result);
    }

protected:
    virtual com::Status registerControl(const com::BStr& progId, const com::BStr& callerTag,
                                        host::IDtmActiveXControl* control, bool write, bool* accepted) = 0;
    virtual com::Status unregisterControl(const com::BStr& callerTag, bool was, bool* result) = 0;
};

class CurrentFacet : public host::IDtmUiCurrent {
public:
    com::Status GetText(const com::BStr& key, com::BStr* text) override { return getText(key, text); }
    com::Status GetStateDocument(com::BStr* document) override { return getStateDocument(document); }

protected:
    virtual com::Status getText(const com::BStr& key, com::BStr* text) = 0;
    virtual com::Status getStateDocument(com::BStr* document) = 0;
};

class EarlierFacet : public host::IDtmUiEarlier {
public:
    com::Status GetText(const com::BStr& key, com::BStr* text) override { return getText(key, text); }
    com::Status GetStateDocument(com::BStr* document) override { return getStateDocument(document); }
    com::Status RegisterControl(const com::BStr& progId, const com::BStr& callerTag,
                                host::IDtmActiveXControl* control, bool write, bool* accepted) override
    {
        return registerControl(progId, callerTag, control, write, accepted);
    }
    com::Status UnregisterControl(const com::BStr& callerTag, bool was, bool* result) override
    {
        return unregisterControl(callerTag, was, result);
    }

protected:
    virtual com::Status getText(const com::BStr& key, com::BStr* text) = 0;
    virtual com::Status getStateDocument(com::BStr* document) = 0;
    virtual com::Status registerControl(const com::BStr& progId, const com::BStr& callerTag,
                                        host::IDtmActiveXControl* control, bool write, bool* accepted) = 0;
    virtual com::Status unregisterControl(const com::BStr& callerTag, bool was, bool* result) = 0;
};

}  // namespace orvx::simulator::detail
