// Lit materials, fog, stage combiners, texture transforms and blending on the OpenGL device, by pixel.
#include "Engine/Platform/Graphics/plD3dTexture.h"
#include "plGlDevice.h"

#include <functional>

namespace {

struct LitVertex {
    f32 x, y, z, nx, ny, nz, u, v;
};

// Channels within one rounding step of each other.
bool Near(u32 a, u32 b) {
    return ::Near(a, b, 1);
}

plD3dTexture* MakeTexture(GlDevice& gl, std::vector<u32> texels) {
    plD3dTexture* texture = nullptr;
    EXPECT_EQ(gl.device->CreateTexture(static_cast<u32>(texels.size()), 1, 1, 0, plD3dFormat::A8R8G8B8,
                                       plD3dPool::Managed, &texture),
              plD3dErr::Ok);
    plD3dLockedRect locked;
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), plD3dErr::Ok);
    std::memcpy(locked.bits, texels.data(), texels.size() * 4);
    EXPECT_EQ(texture->UnlockRect(0), plD3dErr::Ok);
    return texture;
}

// Lit by the ambient light alone: the colour is the material's ambient, the alpha its diffuse alpha.
void SetColour(GlDevice& gl, plD3dColorValue colour) {
    plD3dMaterial material;
    material.ambient = colour;
    material.diffuse = {0, 0, 0, colour.a};
    gl.device->SetMaterial(&material);
}

void SetStage(GlDevice& gl, u32 stage, u32 colorOp, u32 alphaOp, u32 arg2) {
    const std::pair<u32, u32> states[] = {
        {plD3dTss::ColorOp, colorOp}, {plD3dTss::ColorArg1, plD3dTa::Texture}, {plD3dTss::ColorArg2, arg2},
        {plD3dTss::AlphaOp, alphaOp}, {plD3dTss::AlphaArg1, plD3dTa::Texture}, {plD3dTss::AlphaArg2, arg2}};
    for (const auto& [state, value] : states)
        gl.device->SetTextureStageState(stage, state, value);
}

// A quad over the whole target at that depth and half size, coordinates 0 to 1 across.
void DrawQuad(GlDevice& gl, f32 z, f32 half) {
    const LitVertex quad[4] = {{-half, half, z, 0, 0, -1, 0, 0},
                               {half, half, z, 0, 0, -1, 1, 0},
                               {-half, -half, z, 0, 0, -1, 0, 1},
                               {half, -half, z, 0, 0, -1, 1, 1}};
    gl.device->SetVertexShader(plD3dFvf::Xyz | plD3dFvf::Normal | plD3dFvf::Tex1);
    gl.device->BeginScene();
    EXPECT_EQ(gl.device->DrawPrimitiveUP(plD3dPt::TriangleStrip, 2, quad, sizeof(LitVertex)), plD3dErr::Ok);
    gl.device->EndScene();
}

} // namespace

using plGlD3dMaterialTest = plGlDeviceTest;

TEST_F(plGlD3dMaterialTest, StagesFogTransformsAndBlendingGiveTheirPixels) {
    plD3dTexture* grey = MakeTexture(gl, {0x80808080});
    plD3dTexture* red = MakeTexture(gl, {0x40FF0000});
    plD3dTexture* two = MakeTexture(gl, {0xFFFF0000, 0xFF00FF00});
    const auto floatBits = [](f32 value) { return std::bit_cast<u32>(value); };
    const struct {
        const char* name;
        std::function<void()> setup;
        u32 expected, mask;
    } cases[] = {
        {"modulate",
         [&] {
             SetColour(gl, {0.5f, 0.5f, 0.5f, 1});
             gl.device->SetTexture(0, grey);
             SetStage(gl, 0, plD3dTop::Modulate, plD3dTop::SelectArg2, plD3dTa::Diffuse);
         },
         0x00404040, 0x00FFFFFF},
        {"add smooth",
         [&] {
             SetColour(gl, {0, 0, 0, 0.5f});
             gl.device->SetTexture(0, grey);
             SetStage(gl, 0, plD3dTop::SelectArg2, plD3dTop::AddSmooth, plD3dTa::Diffuse);
         },
         0xBF000000, 0xFF000000},
        {"blend texture alpha",
         [&] {
             SetColour(gl, {0, 0, 1, 1});
             gl.device->SetTexture(1, red);
             SetStage(gl, 0, plD3dTop::SelectArg2, plD3dTop::SelectArg2, plD3dTa::Diffuse);
             SetStage(gl, 1, plD3dTop::BlendTextureAlpha, plD3dTop::SelectArg2, plD3dTa::Current);
         },
         0x004000BF, 0x00FFFFFF},
        {"stage offset",
         [&] {
             SetColour(gl, {1, 1, 1, 1});
             gl.device->SetTexture(0, two);
             SetStage(gl, 0, plD3dTop::Modulate, plD3dTop::SelectArg2, plD3dTa::Diffuse);
             gl.device->SetTextureStageState(0, plD3dTss::MagFilter, plD3dTexf::Point);
             gl.device->SetTextureStageState(0, plD3dTss::TextureTransformFlags, plD3dTtff::Count2);
             const maMatrix4d offset(1, 0, 0, 0, 0, 1, 0, 0, 0.5f, 0, 1, 0, 0, 0, 0, 1);
             gl.device->SetTransform(plD3dTs::Texture0, &offset);
         },
         0x0000FF00, 0x00FFFFFF},
        {"empty stage",
         [&] {
             SetColour(gl, {1, 0, 0, 1});
             SetStage(gl, 0, plD3dTop::SelectArg1, plD3dTop::SelectArg2, plD3dTa::Diffuse);
         },
         0x00FFFFFF, 0x00FFFFFF},
        {"linear fog",
         [&] {
             SetColour(gl, {1, 1, 1, 1});
             SetStage(gl, 0, plD3dTop::SelectArg2, plD3dTop::SelectArg2, plD3dTa::Diffuse);
             // A perspective of near 1 and far 200: the eye distance is z.
             const f32 q = 200.0f / 199.0f;
             const maMatrix4d projection(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, q, 1, 0, 0, -q, 0);
             gl.device->SetTransform(plD3dTs::Projection, &projection);
             const std::pair<u32, u32> fog[] = {{plD3dRs::FogEnable, 1},
                                                {plD3dRs::FogTableMode, 3},
                                                {plD3dRs::FogStart, floatBits(0.0f)},
                                                {plD3dRs::FogEnd, floatBits(100.0f)},
                                                {plD3dRs::FogColor, 0}};
             for (const auto& [state, value] : fog)
                 gl.device->SetRenderState(state, value);
         },
         0x007F7F7F, 0x00FFFFFF},
    };
    // Every case starts from a reset device, lit by white ambient light, with nothing culled or depth-tested.
    const auto restart = [&] {
        gl.device->Reset(&gl.params);
        gl.device->SetRenderState(plD3dRs::ZEnable, 0);
        gl.device->SetRenderState(plD3dRs::CullMode, plD3dCull::None);
        gl.device->SetRenderState(plD3dRs::Ambient, 0xFFFFFFFF);
    };
    for (const auto& c : cases) {
        restart();
        c.setup();
        gl.device->Clear(0, nullptr, plD3dClear::Target, 0, 1.0f, 0);
        u32 projected = 0;
        gl.device->GetRenderState(plD3dRs::FogEnable, &projected);
        projected ? DrawQuad(gl, 50.0f, 60.0f) : DrawQuad(gl, 0.5f, 1.0f);
        const u32 pixel = gl.Read()[kSize * kSize / 2 + kSize / 4] & c.mask;
        EXPECT_TRUE(Near(pixel, c.expected) || (c.expected == 0x007F7F7F && Near(pixel, 0x00808080)))
            << c.name << ": " << std::hex << pixel;
    }
    // Alpha blending against additive blending of red at half alpha over dark blue.
    for (const auto& [dest, expected] :
         {std::pair{plD3dBlend::InvSrcAlpha, 0x00800040u}, {plD3dBlend::One, 0x00800080u}}) {
        restart();
        gl.device->SetRenderState(plD3dRs::AlphaBlendEnable, 1);
        gl.device->SetRenderState(plD3dRs::SrcBlend, plD3dBlend::SrcAlpha);
        gl.device->SetRenderState(plD3dRs::DestBlend, dest);
        SetColour(gl, {1, 0, 0, 0.5f});
        SetStage(gl, 0, plD3dTop::SelectArg2, plD3dTop::SelectArg2, plD3dTa::Diffuse);
        gl.device->Clear(0, nullptr, plD3dClear::Target, 0xFF000080, 1.0f, 0);
        DrawQuad(gl, 0.5f, 1.0f);
        const u32 pixel = gl.Read()[kSize * kSize / 2 + kSize / 4] & 0x00FFFFFF;
        EXPECT_TRUE(Near(pixel, expected)) << dest << ": " << std::hex << pixel;
    }
    for (plD3dTexture* texture : {grey, red, two})
        EXPECT_EQ(texture->Release(), 0u);
}
