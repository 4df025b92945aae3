#pragma once

#include "device/InterfaceGuids.h"

// Every identifier of the module: those of the business-object interfaces (from
// device/InterfaceGuids.h) and the module's own interfaces, classes, application and type library.
namespace orvx::host {

using com::Guid;

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
