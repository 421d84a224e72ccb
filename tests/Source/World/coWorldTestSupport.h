#pragma once
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Graphics/G2d/g2dScreenFixture.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Source/Track/coParkWorld.h"

#include <functional>

// Terrain given by a height function, counting the probes; installed while it lives.
class coHeightWorld : public coParkWorld {
  public:
    explicit coHeightWorld(std::function<float(float, float)> height) : m_height(std::move(height)) {
        coSetParkWorld(this);
    }
    ~coHeightWorld() override { coSetParkWorld(nullptr); }
    bool GetHeightAt(float x, float z, float& height) const override {
        ++probes;
        height = m_height(x, z);
        return true;
    }
    mutable int probes = 0;

  private:
    std::function<float(float, float)> m_height;
};

// A windowed test device with the texture and fragment managers started.
class coWorldDeviceTest : public g2dScreenFixture {
  protected:
    void SetUp() override {
        g2dScreenFixture::SetUp();
        g3dTextureManager::Initialize();
        g2dScreen::InitWindowed(64, 48, 0, 0);
        g3dSelectTextureFormats();
        g3dFragmentManager::Initialize();
    }
    void TearDown() override {
        EXPECT_EQ(g3dFragmentManager::GetFirstFragment(), nullptr);
        g2dScreenFixture::TearDown();
    }
};

// The same with the renderer's lists up, for what the world draws.
class coWorldRendererTest : public coWorldDeviceTest {
  protected:
    void SetUp() override {
        coWorldDeviceTest::SetUp();
        g3dRenderer::Initialize();
    }
    void TearDown() override {
        g3dRenderer::Shutdown();
        coWorldDeviceTest::TearDown();
    }
};
