#include "TextProvider.h"

#include "device/IDtmUiCurrent.h"
#include "device/IDtmUiEarlier.h"
#include "device/StringBridge.h"
#include "frameworkapi/TextIds.h"

#include <map>

namespace orvx::framework {

namespace {

const QString kMarker = QStringLiteral("##");

// The built-in English texts, shared by every provider and never changed.
const std::map<std::uint32_t, QString>& builtInTexts()
{
    static const std::map<std::uint32_t, QString> texts{
        {TextConnected, QStringLiteral("Connected")},
        {TextDisconnected, QStringLiteral("Disconnected")},
        {TextValidModified, QStringLiteral("ValidModified")},
        {TextInvalidModified, QStringLiteral("InvalidModified")},
        {TextAllDataLoaded, QStringLiteral("AllDataLoaded")},
        {TextDefault, QStringLiteral("Default")},
        {TextCommunicationInProgress, QStringLiteral("Communication with device is in progress")},
        {TextDataSet, QStringLiteral("Data set")},
        {TextDataSetLocked, QStringLiteral("Data set locked")},
        {TextDevice, QStringLiteral("Device")},
        {TextDeviceLocked, QStringLiteral("Device locked")},
        {TextFailure, QStringLiteral("Failure")},
        {TextFunctionalCheck, QStringLiteral("Functional check")},
        {TextOutOfTolerance, QStringLiteral("Out of tolerance")},
        {TextMaintenanceRequired, QStringLiteral("Maintenance required")},
        {TextOk, QStringLiteral("OK")},
        {TextDiagnosisDeactivated, QStringLiteral("Diagnosis deactivated")},
        {TextUnknownValidationError, QStringLiteral("Unknown validation error")},
        {TextValueOutOfRange, QStringLiteral("Numeric value must be within {min} and {max}")},
        {TextStringLengthOutOfRange, QStringLiteral("String length must be within {min} and {max}")},
        {TextNotWholeNumber, QStringLiteral("Input is not a valid whole number")},
        {TextNotFloatingNumber, QStringLiteral("Input is not a valid floating number")},
        {TextNotDivisible, QStringLiteral("Input value must be divisible by {step}")},
    };
    return texts;
}

}  // namespace

CTextProvider::CTextProvider()
{
    builtInTexts();
}

CTextProvider::~CTextProvider() {}

void CTextProvider::SetCurrentTextSource(device::IDtmUiCurrent* source)
{
    m_current = com::ComPtr<device::IDtmUiCurrent>(source);
}

void CTextProvider::SetEarlierTextSource(device::IDtmUiEarlier* source)
{
    m_earlier = com::ComPtr<device::IDtmUiEarlier>(source);
}

std::optional<QString> CTextProvider::askSource(const QString& key)
{
    // The status is not looked at: an absent answer reads as the empty text, and so does a
    // source that throws.
    if (!m_current && !m_earlier)
        return std::nullopt;
    com::BStr answer;
    try {
        if (m_current)
            m_current->GetText(device::toBStr(key), &answer);
        else
            m_earlier->GetText(device::toBStr(key), &answer);
    } catch (...) {
        return QString();
    }
    return device::toQString(answer);
}

QString CTextProvider::lookUp(const QString& key, bool* found)
{
    const QString marker = kMarker + key;
    const QString text = askSource(key).value_or(marker);
    *found = text != marker;
    return text;
}

QString CTextProvider::GetTextByKey(const QString& key)
{
    bool found = false;
    return lookUp(key, &found);
}

QString CTextProvider::GetTextById(std::uint32_t id)
{
    const QString key = QStringLiteral("UI_TEXT_") + QString::number(id);
    bool found = false;
    const QString text = lookUp(key, &found);
    if (found)
        return text;
    const auto& builtIn = builtInTexts();
    if (const auto it = builtIn.find(id); it != builtIn.end())
        return it->second;
    return kMarker + key;
}

QString CTextProvider::TranslateName(const QString& name)
{
    QString result = askSource(name).value_or(name);
    if (result.size() >= 2 && result.startsWith(kMarker))
        result = name;
    return result;
}

}  // namespace orvx::framework
