#pragma once

#include "platform/com/Guid.h"

// Every identifier of the module's interfaces, classes, application and type library.
namespace orvx::host {

using orvx::com::Guid;

// Interfaces of the business object and of the frame link.
inline constexpr Guid IID_IDtmUiRegistry = Guid::literal("{186C25C8-29AA-447B-B0F9-7C9DBBDB7C01}");
inline constexpr Guid IID_IDtmUiCurrent = Guid::literal("{C83F0288-F349-4CBD-A37A-71BF105503F6}");
inline constexpr Guid IID_IDtmUiEarlier = Guid::literal("{A73CE142-B218-415A-A6E2-BA001F2F2E8B}");
inline constexpr Guid IID_IUpdateUI = Guid::literal("{8CAEBC5F-C3F5-4675-9C3F-A63DC4680939}");
inline constexpr Guid IID_IDtmActiveXControl = Guid::literal("{40C5E280-39D8-479F-9273-24FFF24B414A}");

// How a frame gives a control its parent window before Init (in place of in-place activation).
inline constexpr Guid IID_IDtmControlWindow = Guid::literal("{153295AF-155A-46F6-9637-C204DEACBDA7}");

// The dispatch interfaces of the four controls (no operations beyond the dispatch ones).
inline constexpr Guid IID_IOrvxESDDTMGUIView = Guid::literal("{964BA632-7D0C-481D-A561-38AF60F98BCF}");
inline constexpr Guid IID_IOffline = Guid::literal("{7E7D98F7-ABBB-47B6-89D9-3648838A5428}");
inline constexpr Guid IID_ITrend = Guid::literal("{81285291-801A-4759-9259-C1653FE123F1}");
inline constexpr Guid IID_ITAdress = Guid::literal("{4DDFA744-B0B3-499D-9B5D-DC6603FA3419}");

// The four control classes.
inline constexpr Guid CLSID_OrvxESDDTMGUIView = Guid::literal("{EFBE2CC6-E52F-494F-8001-8A0061B4C905}");
inline constexpr Guid CLSID_Offline = Guid::literal("{4B2943F0-48C7-40FD-B630-5DB288B2D52C}");
inline constexpr Guid CLSID_Trend = Guid::literal("{12B0181F-5F58-420C-827F-5521799D6C07}");
inline constexpr Guid CLSID_TAdress = Guid::literal("{C0201446-C720-4A97-B65F-9DB2071123BB}");

// The module's application identifier and its type library.
inline constexpr Guid APPID_OrvxTarnelGUI = Guid::literal("{A73BD1D0-5CBB-45C4-BFD5-1DB7BEEB4550}");
inline constexpr Guid LIBID_OrvxTarnelGUILib = Guid::literal("{0226DA14-E430-426B-839E-FCA5601B2E57}");

}  // namespace orvx::host
