#include "FakeBusinessObject.h"

#include "device/IUpdateUI.h"
#include "device/StringBridge.h"

#include <stdexcept>

namespace orvx::test {

using com::BStr;
using com::Status;

Status FakeBusinessObject::QueryInterface(const com::Guid& iid, void** object)
{
    if ((iid == device::IDtmUiRegistry::iid && !answersRegistry) ||
        (iid == device::IDtmUiCurrent::iid && !answersCurrent) ||
        (iid == device::IDtmUiEarlier::iid && !answersEarlier)) {
        if (object)
            *object = nullptr;
        return Status::NoInterface;
    }
    return ComObjectOf::QueryInterface(iid, object);
}

void FakeBusinessObject::log(const char* operation, Via via, const BStr& argument, com::Variant value)
{
    calls.append(Call{QString::fromLatin1(operation), via, device::toQString(argument), std::move(value)});
}

std::optional<Status> FakeBusinessObject::injectFault(com::Variant* value)
{
    if (faultableCalls++ != faultAt)
        return std::nullopt;
    faultedCall = calls.last();
    switch (fault.kind) {
    case Fault::Fails: return fault.status;
    case Fault::Throws: throw std::runtime_error("business object broke down");
    case Fault::ThrowsForeign: throw 42;
    case Fault::Empty:
        if (value)
            *value = com::Variant();
        return Status::Ok;
    case Fault::Malformed:
        if (value)
            *value = device::textVariant(QStringLiteral("\u00ff-1e999#\x01"));
        return Status::Ok;
    }
    return std::nullopt;
}

Status FakeBusinessObject::notify(std::int32_t code, const com::Variant& value)
{
    const auto update = com::queryInterface<device::IUpdateUI>(m_control);
    if (!update)
        return Status::NoInterface;
    return update->Notify(code, value);
}

Status FakeBusinessObject::notify(std::int32_t code, const QString& text)
{
    return notify(code, device::textVariant(text));
}

QList<Call> FakeBusinessObject::callsOf(const QString& operation) const
{
    QList<Call> found;
    for (const Call& call : calls)
        if (call.operation == operation)
            found.append(call);
    return found;
}

QStringList FakeBusinessObject::writtenTags() const
{
    QStringList tags;
    for (const Call& call : callsOf(QStringLiteral("SetParameter")))
        tags.append(call.argument);
    return tags;
}

QString FakeBusinessObject::stateDocumentOf(const QMap<QString, QString>& attributes)
{
    QString document = QStringLiteral("<DtmState");
    for (auto it = attributes.begin(); it != attributes.end(); ++it)
        document += QStringLiteral(" %1=\"%2\"").arg(it.key(), it.value().toHtmlEscaped());
    return document + QStringLiteral("/>");
}

Status FakeBusinessObject::CloseControl(const BStr& callerTag)
{
    log("CloseControl", Via::Earlier, callerTag);
    return Status::Ok;
}

Status FakeBusinessObject::GetParameter(const BStr& tag, com::Variant* value)
{
    log("GetParameter", Via::Earlier, tag);
    if (const auto injected = injectFault(value))
        return *injected;
    const QString key = device::toQString(tag);
    if (failingTags.contains(key))
        return failingTags.value(key);
    if (!value)
        return Status::InvalidPointer;
    const auto it = parameters.find(key);
    if (it != parameters.end())
        *value = *it;
    else if (otherParameters)
        *value = *otherParameters;
    else
        return Status::InvalidArgument;  // no such parameter
    return Status::Ok;
}

Status FakeBusinessObject::SetParameter(const BStr& tag, const com::Variant& value, std::uint32_t* word)
{
    log("SetParameter", Via::Earlier, tag, value);
    if (const auto injected = injectFault(nullptr))
        return *injected;
    const QString key = device::toQString(tag);
    if (failingTags.contains(key))
        return failingTags.value(key);
    if (word)
        *word = 0;
    if (!value.isEmpty())  // an empty value starts a command and stores nothing
        parameters[key] = value;
    return Status::Ok;
}

Status FakeBusinessObject::getText(Via via, const BStr& key, BStr* text)
{
    log("GetText", via, key);
    if (!text)
        return Status::InvalidPointer;
    com::Variant faulty;
    if (const auto injected = injectFault(&faulty)) {
        if (*injected == Status::Ok)
            *text = device::toBStr(device::variantText(faulty));
        return *injected;
    }
    const QString k = device::toQString(key);
    *text = device::toBStr(texts.contains(k) ? texts.value(k) : QStringLiteral("##") + k);
    return Status::Ok;
}

Status FakeBusinessObject::getStateDocument(Via via, BStr* document)
{
    log("GetStateDocument", via, {});
    if (!document)
        return Status::InvalidPointer;
    *document = device::toBStr(stateDocument);
    return Status::Ok;
}

Status FakeBusinessObject::registerControl(Via via, const BStr& progId, const BStr& callerTag,
                                           device::IDtmActiveXControl* control, bool, bool* accepted)
{
    log("RegisterControl", via, callerTag, device::textVariant(device::toQString(progId)));
    if (accepted)
        *accepted = acceptRegistration;
    m_control = com::ComPtr<device::IDtmActiveXControl>(control);
    return Status::Ok;
}

Status FakeBusinessObject::unregisterControl(Via via, const BStr& callerTag, bool was, bool* result)
{
    log("UnregisterControl", via, callerTag, com::Variant::boolean(was));
    m_control.reset();
    if (result)
        *result = true;
    return Status::Ok;
}

}  // namespace orvx::test
