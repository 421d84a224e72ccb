#pragma once
#include "Engine/Platform/Graphics/plD3dTypes.h"

// The header name of a device result ("D3DERR_DEVICELOST"), "Unknown Error" for results outside the
// table (success codes among them).
const char* g2dDXErrorName(plD3dResult result);
// Writes "DirectX Error: <name>" to the debug log. The caller decides whether to go on.
void g2dReportDXError(plD3dResult result);
