// Device lights on the OpenGL device, by pixel: they stay in world space whatever the view.
#include "plGlDevice.h"

#include <cmath>
#include <numbers>

namespace {

struct NormalVertex {
    f32 x, y, z, nx, ny, nz;
};

// The red channel at the centre after a white quad facing -z at depth 0.5 is drawn lit.
u32 LitCentre(GlDevice& gl) {
    const NormalVertex quad[4] = {
        {-1, 1, 0.5f, 0, 0, -1}, {1, 1, 0.5f, 0, 0, -1}, {-1, -1, 0.5f, 0, 0, -1}, {1, -1, 0.5f, 0, 0, -1}};
    gl.device->Clear(0, nullptr, plD3dClear::Target | plD3dClear::ZBuffer, 0xFF000000, 1.0f, 0);
    gl.device->SetVertexShader(plD3dFvf::Xyz | plD3dFvf::Normal);
    gl.device->BeginScene();
    EXPECT_EQ(gl.device->DrawPrimitiveUP(plD3dPt::TriangleStrip, 2, quad, sizeof(NormalVertex)),
              plD3dErr::Ok);
    gl.device->EndScene();
    return (gl.Read()[kSize / 2 * kSize + kSize / 2] >> 16) & 0xFF;
}

} // namespace

TEST(plGlD3dLight, ADirectionalLightKeepsItsAngleThroughViewChanges) {
    GlDevice gl;
    ASSERT_NE(gl.device, nullptr);
    plD3dMaterial white;
    white.diffuse = {1, 1, 1, 1};
    gl.device->SetMaterial(&white);
    gl.device->SetRenderState(plD3dRs::CullMode, plD3dCull::None);
    // Travelling at 60 degrees to the quad's normal: a diffuse term of cos 60 = 0.5.
    const f32 angle = std::numbers::pi_v<f32> / 3;
    plD3dLight light;
    light.type = plD3dLightType::Directional;
    light.diffuse = {1, 1, 1, 1};
    light.direction = {-std::sin(angle), 0, std::cos(angle)};
    ASSERT_EQ(gl.device->SetLight(0, &light), plD3dErr::Ok);
    ASSERT_EQ(gl.device->LightEnable(0, true), plD3dErr::Ok);
    const u32 before = LitCentre(gl);
    EXPECT_TRUE(before == 127 || before == 128) << before;

    // A view tilted about x: a light left where the first view put it would give 0.5 x cos 20.
    maMatrix4d view;
    view.SetRotationX(20.0f * std::numbers::pi_v<f32> / 180.0f);
    gl.device->SetTransform(plD3dTs::View, &view);
    const u32 after = LitCentre(gl);
    EXPECT_TRUE(after == 127 || after == 128) << after;

    gl.device->LightEnable(0, false);
    EXPECT_EQ(LitCentre(gl), 0u);
}
