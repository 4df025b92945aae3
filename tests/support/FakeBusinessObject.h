#pragma once

#include "device/BusinessObjectFacets.h"
#include "device/IDtmActiveXControl.h"
#include "platform/com/ComObject.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace orvx::test {

using device::Via;

// One call the fake received, for tests to read back.
struct Call {
    QString operation;  // "GetParameter", "SetParameter", "GetText", "RegisterControl", ...
    Via via;
    QString argument;    // tag, key or caller tag; a null text stays null
    com::Variant value;  // the value written, for SetParameter
};

// How one call of a misbehaving business object goes wrong.
struct Fault {
    enum Kind {
        Fails,          // answers 'status'
        Throws,         // throws a std::exception
        ThrowsForeign,  // throws what is no std::exception
        Empty,          // answers Ok with an empty value or text
        Malformed,      // answers Ok with a text no conversion takes
    };
    Kind kind = Fails;
    com::Status status = com::Status::Failure;
};

// A scriptable business object for one device: parameters by tag, tags that fail with a chosen
// status, a state document, texts by key, and a log of every call. Each private interface can
// be switched off to play an older or a partial business object.
class FakeBusinessObject : public com::ComObject<device::RegistryFacet, device::CurrentFacet, device::EarlierFacet> {
public:
    // Which interfaces QueryInterface answers.
    bool answersRegistry = true;
    bool answersCurrent = true;
    bool answersEarlier = true;
    // What RegisterControl answers in its out-flag.
    bool acceptRegistration = true;

    QMap<QString, com::Variant> parameters;
    // What a tag not in 'parameters' reads as; without it such a read fails (InvalidArgument).
    std::optional<com::Variant> otherParameters;
    QMap<QString, com::Status> failingTags;
    QMap<QString, QString> texts;  // keys not here answer "##" + key
    QString stateDocument;
    QList<Call> calls;

    // One call to go wrong: the one numbered faultAt among GetParameter, SetParameter and
    // GetText, counted from 0 over the object's life; faultedCall is the call it hit.
    int faultAt = -1;
    Fault fault;
    int faultableCalls = 0;
    std::optional<Call> faultedCall;

    com::Status QueryInterface(const com::Guid& iid, void** object) override;

    // The control that registered last, or none after it unregistered.
    device::IDtmActiveXControl* registeredControl() const { return m_control.get(); }
    // Sends a notification to the registered control as the device side would.
    com::Status notify(std::int32_t code, const com::Variant& value);
    com::Status notify(std::int32_t code, const QString& text);

    // The calls of one operation, in order.
    QList<Call> callsOf(const QString& operation) const;
    // The tags written with SetParameter, in order.
    QStringList writtenTags() const;
    // A state document with the given attributes on its root.
    static QString stateDocumentOf(const QMap<QString, QString>& attributes);

    com::Status CloseControl(const com::BStr& callerTag) override;
    com::Status GetParameter(const com::BStr& tag, com::Variant* value) override;
    com::Status SetParameter(const com::BStr& tag, const com::Variant& value, std::uint32_t* word) override;

private:
    com::Status getText(Via via, const com::BStr& key, com::BStr* text) override;
    com::Status getStateDocument(Via via, com::BStr* document) override;
    com::Status registerControl(Via via, const com::BStr& progId, const com::BStr& callerTag,
                                device::IDtmActiveXControl* control, bool write, bool* accepted) override;
    com::Status unregisterControl(Via via, const com::BStr& callerTag, bool was, bool* result) override;
    void log(const char* operation, Via via, const com::BStr& argument, com::Variant value = {});
    // When this call (the last logged) is the one to go wrong: what it answers, after filling
    // 'value' as the fault has it (may be null). Throws for the faults that throw.
    std::optional<com::Status> injectFault(com::Variant* value);

    com::ComPtr<device::IDtmActiveXControl> m_control;
};

}  // namespace orvx::test
