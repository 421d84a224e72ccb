#include "Engine/Platform/Graphics/plD3d.h"

#include "Engine/Platform/Graphics/plD3dPixels.h"
#include "Engine/Platform/plServices.h"

plD3d* plD3d::Create() {
    if (m_refs == 0 && !Open())
        return nullptr;
    ++m_refs;
    return this;
}

u32 plD3d::Release() {
    if (m_refs == 0)
        return 0;
    if (--m_refs == 0)
        Close();
    return m_refs;
}

plD3dResult plD3d::GetAdapterIdentifier(u32 adapter, u32, plD3dAdapterIdentifier* identifier) {
    if (adapter != plD3dAdapterDefault || !identifier)
        return plD3dErr::InvalidCall;
    *identifier = m_identifier;
    return plD3dErr::Ok;
}

u32 plD3d::GetAdapterModeCount(u32 adapter) const {
    return adapter == plD3dAdapterDefault ? static_cast<u32>(m_modes.size()) : 0;
}

plD3dResult plD3d::EnumAdapterModes(u32 adapter, u32 mode, plD3dDisplayMode* displayMode) const {
    if (adapter != plD3dAdapterDefault || mode >= m_modes.size() || !displayMode)
        return plD3dErr::InvalidCall;
    *displayMode = m_modes[mode];
    return plD3dErr::Ok;
}

plD3dResult plD3d::GetAdapterDisplayMode(u32 adapter, plD3dDisplayMode* displayMode) const {
    if (adapter != plD3dAdapterDefault || !displayMode)
        return plD3dErr::InvalidCall;
    *displayMode = m_desktop;
    return plD3dErr::Ok;
}

plD3dResult plD3d::CheckDeviceFormat(u32 adapter, plD3dDevType type, plD3dFormat adapterFormat, u32 usage,
                                     u32 resourceType, plD3dFormat checkFormat) const {
    if (adapter != plD3dAdapterDefault || type != plD3dDevType::Hal || !plD3dIsColorFormat(adapterFormat) ||
        resourceType != plD3dRType::Texture || (usage != 0 && usage != plD3dUsage::RenderTarget))
        return plD3dErr::InvalidCall;
    return SupportsTextureFormat(checkFormat, usage) ? plD3dErr::Ok : plD3dErr::NotAvailable;
}

plD3dResult plD3d::CreateDevice(u32 adapter, plD3dDevType type, u32 behaviorFlags,
                                plD3dPresentParameters* params, plD3dDevice** device) {
    if (!device)
        return plD3dErr::InvalidCall;
    *device = nullptr;
    const u32 processing =
        behaviorFlags & (plD3dCreate::HardwareVertexProcessing | plD3dCreate::SoftwareVertexProcessing);
    if (adapter != plD3dAdapterDefault || type != plD3dDevType::Hal || !params || m_refs == 0 ||
        (processing != plD3dCreate::HardwareVertexProcessing &&
         processing != plD3dCreate::SoftwareVertexProcessing))
        return plD3dErr::InvalidCall;
    if (params->windowed) {
        if (params->backBufferFormat == plD3dFormat::Unknown)
            params->backBufferFormat = m_desktop.format;
        if (params->backBufferWidth == 0 || params->backBufferHeight == 0)
            GetWindowSize(params->backBufferWidth, params->backBufferHeight);
    }
    if (!plD3dIsColorFormat(params->backBufferFormat) || params->backBufferWidth == 0 ||
        params->backBufferHeight == 0 ||
        (params->enableAutoDepthStencil && params->autoDepthStencilFormat != plD3dFormat::D16))
        return plD3dErr::InvalidCall;
    if (params->backBufferCount == 0)
        params->backBufferCount = 1;
    return CreateDeviceOn(behaviorFlags, *params, device);
}

plD3d* plDirect3DCreate() {
    return plGetD3d().Create();
}
