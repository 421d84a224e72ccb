#include "Engine/Graphics/G2d/g2dDXError.h"

#include "Engine/Core/Env/dbgLog.h"

namespace {

struct ErrorName {
    plD3dResult result;
    const char* name;
};

constexpr ErrorName kErrorNames[] = {
    {plD3dErr::InvalidArg, "E_INVALIDARG"},
    {plD3dErr::OutOfMemory, "E_OUTOFMEMORY"},
    {plD3dErr::Fail, "E_FAIL"},
    {plD3dErr::OutOfVideoMemory, "D3DERR_OUTOFVIDEOMEMORY"},
    {plD3dErr::UnsupportedColorOperation, "D3DERR_UNSUPPORTEDCOLOROPERATION"},
    {plD3dErr::WrongTextureFormat, "D3DERR_WRONGTEXTUREFORMAT"},
    {plD3dErr::UnsupportedColorArg, "D3DERR_UNSUPPORTEDCOLORARG"},
    {plD3dErr::UnsupportedAlphaOperation, "D3DERR_UNSUPPORTEDALPHAOPERATION"},
    {plD3dErr::UnsupportedAlphaArg, "D3DERR_UNSUPPORTEDALPHAARG"},
    {plD3dErr::TooManyOperations, "D3DERR_TOOMANYOPERATIONS"},
    {plD3dErr::ConflictingTextureFilter, "D3DERR_CONFLICTINGTEXTUREFILTER"},
    {plD3dErr::UnsupportedFactorValue, "D3DERR_UNSUPPORTEDFACTORVALUE"},
    {plD3dErr::ConflictingRenderState, "D3DERR_CONFLICTINGRENDERSTATE"},
    {plD3dErr::UnsupportedTextureFilter, "D3DERR_UNSUPPORTEDTEXTUREFILTER"},
    {plD3dErr::ConflictingTexturePalette, "D3DERR_CONFLICTINGTEXTUREPALETTE"},
    {plD3dErr::DriverInternalError, "D3DERR_DRIVERINTERNALERROR"},
    {plD3dErr::NotFound, "D3DERR_NOTFOUND"},
    {plD3dErr::MoreData, "D3DERR_MOREDATA"},
    {plD3dErr::DeviceLost, "D3DERR_DEVICELOST"},
    {plD3dErr::DeviceNotReset, "D3DERR_DEVICENOTRESET"},
    {plD3dErr::NotAvailable, "D3DERR_NOTAVAILABLE"},
    {plD3dErr::InvalidDevice, "D3DERR_INVALIDDEVICE"},
    {plD3dErr::InvalidCall, "D3DERR_INVALIDCALL"},
    {plD3dErr::DriverInvalidCall, "D3DERR_DRIVERINVALIDCALL"},
};

} // namespace

const char* g2dDXErrorName(plD3dResult result) {
    for (const ErrorName& entry : kErrorNames)
        if (entry.result == result)
            return entry.name;
    return "Unknown Error";
}

void g2dReportDXError(plD3dResult result) {
    DBG_WARNING("DirectX Error: %s", g2dDXErrorName(result));
}
