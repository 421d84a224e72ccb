#include "Engine/Graphics/G2d/private/g2dImagePAC.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G2d/g2dDXError.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"

void g2dImagePAC::Create(u32 width, u32 height, plD3dFormat format) {
    Release();
    if (!g_pdevice) {
        DBG_WARNING("image surface of %u x %u made without a device", width, height);
        return;
    }
    const plD3dResult result = g_pdevice->CreateImageSurface(width, height, format, &surface);
    if (plD3dFailed(result)) {
        g2dReportDXError(result);
        surface = nullptr;
    }
}

void g2dImagePAC::Release() {
    if (surface)
        surface->Release();
    surface = nullptr;
    pitch = 0;
}

u8* g2dImagePAC::Lock() {
    if (!surface)
        return nullptr;
    plD3dLockedRect locked;
    const plD3dResult result = surface->LockRect(&locked, nullptr, plD3dLock::NoSysLock);
    if (plD3dFailed(result)) {
        g2dReportDXError(result);
        return nullptr;
    }
    pitch = locked.pitch;
    return static_cast<u8*>(locked.bits);
}

void g2dImagePAC::Unlock() {
    if (!surface)
        return;
    const plD3dResult result = surface->UnlockRect();
    if (plD3dFailed(result))
        g2dReportDXError(result);
    pitch = 0;
}
