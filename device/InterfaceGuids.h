#pragma once

#include "platform/com/Guid.h"

// Identifiers of the interfaces between the business object and a control. The module's own
// identifiers (classes, control dispatch interfaces, application) are in host/Guids.h.
namespace orvx::device {

using orvx::com::Guid;

inline constexpr Guid IID_IDtmUiRegistry = Guid::literal("{186C25C8-29AA-447B-B0F9-7C9DBBDB7C01}");
inline constexpr Guid IID_IDtmUiCurrent = Guid::literal("{C83F0288-F349-4CBD-A37A-71BF105503F6}");
inline constexpr Guid IID_IDtmUiEarlier = Guid::literal("{A73CE142-B218-415A-A6E2-BA001F2F2E8B}");
inline constexpr Guid IID_IUpdateUI = Guid::literal("{8CAEBC5F-C3F5-4675-9C3F-A63DC4680939}");
inline constexpr Guid IID_IDtmActiveXControl = Guid::literal("{40C5E280-39D8-479F-9273-24FFF24B414A}");

}  // namespace orvx::device
