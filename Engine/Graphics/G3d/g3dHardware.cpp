#include "Engine/Graphics/G3d/g3dHardware.h"

#include "Engine/Graphics/G3d/g3dExceptions.h"
#include "Engine/Platform/Graphics/plD3d.h"

namespace {
std::string g_adapterName;
} // namespace

const std::string& g3dGetAdapterName() {
    return g_adapterName;
}

void g3dCheckHardware(std::string& adapterName) {
    plD3d* d3d = plDirect3DCreate();
    if (!d3d)
        throw g3dNo3DHardwareX();
    plD3dAdapterIdentifier identifier;
    if (!plD3dFailed(d3d->GetAdapterIdentifier(plD3dAdapterDefault, 0, &identifier)))
        adapterName = identifier.description;
    d3d->Release();
    g_adapterName = adapterName;
}
