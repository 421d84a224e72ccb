#pragma once
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/plServices.h"
#include "plD3dTestHelpers.h"

#include <gtest/gtest.h>

// The test factory installed and a windowed device of 32 x 16 on it.
struct FakeDevice {
    plFakeD3d factory;
    plD3d* d3d = nullptr;
    plD3dDevice* device = nullptr;
    plD3dPresentParameters params = Windowed(32, 16);

    FakeDevice() {
        plInstallServices({.d3d = &factory});
        d3d = plDirect3DCreate();
        EXPECT_EQ(
            d3d->CreateDevice(0, plD3dDevType::Hal, plD3dCreate::HardwareVertexProcessing, &params, &device),
            plD3dErr::Ok);
    }
    ~FakeDevice() {
        if (device) {
            EXPECT_EQ(device->Release(), 0u);
        }
        EXPECT_EQ(d3d->Release(), 0u);
        plInstallServices({});
    }
    plFakeD3dDevice& Fake() { return *factory.GetDevice(); }
};
