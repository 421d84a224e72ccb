#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "../G2d/g2dScreenFixture.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"

#include <cmath>

namespace {

class g3dLightManagerTest : public g2dScreenFixture {
  protected:
    void SetUp() override {
        g2dScreenFixture::SetUp();
        g2dScreen::InitWindowed(64, 48, 0, 0);
        g3dLightManager::Initialize();
    }
    void TearDown() override {
        g3dLightManager::Shutdown();
        g2dScreenFixture::TearDown();
    }

    // The light and ambient calls since the last look.
    std::vector<std::string> Sent() {
        std::vector<std::string> calls;
        const auto& log = m_d3d.GetLog();
        for (; m_seen < log.size(); ++m_seen)
            if (log[m_seen].rfind("SetLight ", 0) == 0 || log[m_seen].rfind("LightEnable ", 0) == 0 ||
                log[m_seen].rfind("SetRenderState 139 ", 0) == 0)
                calls.push_back(log[m_seen]);
        return calls;
    }
    g3dPointLight* LitPoint() {
        g3dPointLight* light = g3dLightManager::CreatePointLight();
        light->SetEnabled();
        return light;
    }

    size_t m_seen = 0;
};

using Lines = std::vector<std::string>;

} // namespace

TEST_F(g3dLightManagerTest, TheDeviceRecordDerivesTheRangeFromTheAttenuation) {
    // Where 1 / (a0 + a1 d + a2 d^2) falls to a hundredth; none, behind the light or not finite: 1e6.
    const struct {
        f32 a0, a1, a2, range;
    } cases[] = {
        {1, 0, 0, 1000000.0f},      {1, 0.5f, 0, 198.0f},       {150, 1, 0, 1000000.0f},
        {1, -1, 0, 1000000.0f},     {1, 0, 0.01f, 99.498744f},  {150, 10, 0.01f, 1000000.0f},
        {1, 0, -0.01f, 1000000.0f}, {1, 1e-37f, 0, 1000000.0f},
    };
    for (const auto& c : cases) {
        g3dPointLight* light = LitPoint();
        light->SetPosition({1, 2, 3});
        light->SetConstantAttenuation(c.a0);
        light->SetLinearAttenuation(c.a1);
        light->SetQuadraticAttenuation(c.a2);
        g3dLightManager::UpdateLights();
        plD3dLight sent;
        ASSERT_EQ(Device().GetLight(0, &sent), plD3dErr::Ok);
        EXPECT_NEAR(sent.range, c.range, 1e-3f) << c.a0 << " " << c.a1 << " " << c.a2;
        EXPECT_EQ(sent.type, plD3dLightType::Point);
        EXPECT_EQ(sent.position.z, 3.0f);
        g3dLightManager::RemoveLight(light);
    }
    // A range given is sent as it is; a directional light has no fall-off.
    g3dPointLight* ranged = LitPoint();
    ranged->SetRange(50.0f);
    g3dDirectionalLight* sun = g3dLightManager::CreateDirectionalLight();
    sun->SetEnabled();
    sun->SetColor(0.5f, 0.25f, 1, 1);
    sun->SetDirection({0, 0, -4});
    g3dLightManager::UpdateLights();
    plD3dLight sent;
    Device().GetLight(0, &sent);
    EXPECT_EQ(sent.range, 50.0f);
    Device().GetLight(1, &sent);
    EXPECT_EQ(sent.type, plD3dLightType::Directional);
    EXPECT_EQ(sent.direction.z, -1.0f);
    EXPECT_EQ(sent.attenuation0, 1.0f);
    EXPECT_EQ(sent.range, 1000000.0f);
    EXPECT_EQ(sent.specular.g, 0.25f);
    EXPECT_EQ(sent.ambient.r, 0.0f);
}

TEST_F(g3dLightManagerTest, LightsTakeFreeIndicesInCreationOrderAndSendOnlyChanges) {
    Sent();
    std::vector<g3dPointLight*> lights;
    for (int i = 0; i < 10; ++i)
        lights.push_back(LitPoint());
    g3dPointLight* neverOn = g3dLightManager::CreatePointLight();
    g3dLightManager::UpdateLights();
    Lines expected;
    for (int i = 0; i < 8; ++i) {
        expected.push_back("SetLight " + std::to_string(i) + " 1 1e+06");
        expected.push_back("LightEnable " + std::to_string(i) + " 1");
    }
    EXPECT_EQ(Sent(), expected);

    // Nothing changed, nothing sent; a colour sends the light again and keeps it enabled.
    g3dLightManager::UpdateLights();
    EXPECT_EQ(Sent(), Lines{});
    lights[4]->SetColor(1, 0, 0, 1);
    g3dLightManager::UpdateLights();
    EXPECT_EQ(Sent(), Lines{"SetLight 4 1 1e+06"});

    // The third gives up index 2, which the ninth takes on the next frame; the tenth waits.
    g3dLightManager::RemoveLight(lights[2]);
    EXPECT_EQ(Sent(), Lines{"LightEnable 2 0"});
    g3dLightManager::UpdateLights();
    EXPECT_EQ(Sent(), (Lines{"SetLight 2 1 1e+06", "LightEnable 2 1"}));
    // Switched off, a light frees its index for the tenth.
    lights[0]->SetEnabled(false);
    g3dLightManager::UpdateLights();
    EXPECT_EQ(Sent(), (Lines{"LightEnable 0 0", "SetLight 0 1 1e+06", "LightEnable 0 1"}));
    g3dLightManager::RemoveLight(neverOn);
    g3dLightManager::RemoveLight(nullptr);
    EXPECT_EQ(Sent(), Lines{});

    // After a reset the lit lights count from 0 again in creation order: the recoloured fifth comes third.
    g2dBroadcastDeviceLost();
    g2dBroadcastDeviceReset();
    const Lines afterReset = Sent();
    ASSERT_EQ(afterReset.size(), 8u * 2 + 8 + 1);
    EXPECT_EQ(afterReset.back(), "SetRenderState 139 4294967295");
    plD3dLight sent;
    Device().GetLight(2, &sent);
    EXPECT_EQ(sent.diffuse.g, 0.0f);
}

TEST_F(g3dLightManagerTest, TheLimitIsAskedAgainWhileZeroAndCappedAt1000) {
    Device().SetMaxActiveLights(0);
    LitPoint();
    g3dLightManager::UpdateLights();
    EXPECT_EQ(Sent(), Lines{});
    Device().SetMaxActiveLights(5000);
    for (int i = 0; i < 1000; ++i)
        LitPoint();
    g3dLightManager::UpdateLights();
    EXPECT_EQ(Sent().size(), 2000u);
}

TEST_F(g3dLightManagerTest, TheAmbientColourSaturates) {
    Sent();
    g3dLightManager::SetAmbientColor(1.5f, 0.5f, -1.0f, 1.0f);
    EXPECT_EQ(Sent(), Lines{"SetRenderState 139 4294934272"}); // ff ff 7f 00
}
