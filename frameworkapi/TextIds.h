#pragma once

#include <cstdint>

namespace orvx::framework {

// Ids of the framework's own texts. 2 and 12 have no built-in text.
enum TextId : std::uint32_t {
    TextConnected = 0,
    TextDisconnected = 1,
    TextValidModified = 3,
    TextInvalidModified = 4,
    TextAllDataLoaded = 5,
    TextDefault = 6,
    TextCommunicationInProgress = 7,
    TextDataSet = 8,
    TextDataSetLocked = 9,
    TextDevice = 10,
    TextDeviceLocked = 11,
    TextFailure = 13,
    TextFunctionalCheck = 14,
    TextOutOfTolerance = 15,
    TextMaintenanceRequired = 16,
    TextOk = 17,
    TextDiagnosisDeactivated = 18,
    TextUnknownValidationError = 19,
    TextValueOutOfRange = 20,
    TextStringLengthOutOfRange = 21,
    TextNotWholeNumber = 22,
    TextNotFloatingNumber = 23,
    TextNotDivisible = 24,
};

}  // namespace orvx::framework
