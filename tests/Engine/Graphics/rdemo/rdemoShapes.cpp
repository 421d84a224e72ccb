// The "shapes" scene: the wire box, the sphere and the textured sphere drawn white and unlit straight
// from their buffers into the left half of the back buffer. Then the device is made to act lost, and
// the next frame's reset makes every buffer again from the fragments' system copies; the shapes are
// drawn once more into the right half. The two halves must match.
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dShapes.h"
#include "Engine/Platform/Gl/plGlD3dDevice.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "rdemo.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr i32 kHalf = kDemoWidth / 2;
constexpr u32 kClear = 0xFF203040;

maMatrix4d Place(f32 turn, f32 tilt, f32 y) {
    maMatrix4d spin, lean, at;
    spin.SetRotationY(turn);
    lean.SetRotationX(tilt);
    at.SetTranslation(0, y, 12);
    return spin * lean * at;
}

bool DrawFragment(const g3dFragment& fragment, const maMatrix4d& world) {
    const bool lines = fragment.GetPrimitive() != 1;
    g_pdevice->SetTransform(plD3dTs::World, &world);
    g_pdevice->SetVertexShader(fragment.GetFVF());
    g_pdevice->SetStreamSource(0, fragment.GetVertexBuffer(), g3dVertexStride(fragment.GetVertexKind()));
    g_pdevice->SetIndices(fragment.GetIndexBuffer(), 0);
    return !plD3dFailed(g_pdevice->DrawIndexedPrimitive(lines ? plD3dPt::LineList : plD3dPt::TriangleList, 0,
                                                        fragment.GetVertexCount(), 0,
                                                        fragment.GetIndexCount() / (lines ? 2u : 3u)));
}

// The three shapes over the half of the back buffer that starts at column left.
bool DrawShapes(const g3dFragment* const shapes[3], i32 left) {
    const plD3dViewport half{static_cast<u32>(left), 0, kHalf, kDemoHeight, 0.0f, 1.0f};
    g_pdevice->SetViewport(&half);
    g_pdevice->Clear(0, nullptr, plD3dClear::Target | plD3dClear::ZBuffer, kClear, 1.0f, 0);
    const maMatrix4d projection = DemoProjection(100.0f, kHalf);
    const maMatrix4d view;
    g_pdevice->SetTransform(plD3dTs::Projection, &projection);
    g_pdevice->SetTransform(plD3dTs::View, &view);
    g_pdevice->SetRenderState(plD3dRs::Lighting, 0);
    g_pdevice->SetRenderState(plD3dRs::CullMode, plD3dCull::None);
    g_pdevice->BeginScene();
    const bool drawn = DrawFragment(*shapes[0], Place(0.6f, 0.4f, 4.3f)) &&
                       DrawFragment(*shapes[1], Place(0.3f, 0.2f, 0.0f)) &&
                       DrawFragment(*shapes[2], Place(0.0f, 0.0f, -4.6f));
    g_pdevice->EndScene();
    return drawn;
}

bool CopyHalf(plD3dSurface* from, plD3dSurface* to) {
    const plD3dRect rect{0, 0, kHalf, kDemoHeight};
    const plD3dPoint at{0, 0};
    return !plD3dFailed(g_pdevice->CopyRects(from, &rect, 1, to, &at));
}

// Channels further apart than a rounding step.
bool Differs(u32 a, u32 b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 2)
            return true;
    return false;
}

// Whether the right half repeats the left, and the left shows enough of the shapes.
bool HalvesMatch(const std::vector<u32>& picture) {
    size_t different = 0, lit = 0;
    for (i32 y = 0; y < kDemoHeight; ++y)
        for (i32 x = 0; x < kHalf; ++x) {
            const u32 left = picture[static_cast<size_t>(y * kDemoWidth + x)];
            different += Differs(left, picture[static_cast<size_t>(y * kDemoWidth + x + kHalf)]) ? 1 : 0;
            lit += (left & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
        }
    std::fprintf(stderr, "rdemo: %zu white pixels a half, %zu differ\n", lit, different);
    return different <= 16 && lit > 10000;
}

} // namespace

std::vector<u32> DrawShapesScene() {
    auto* device = dynamic_cast<plGlD3dDevice*>(g_pdevice);
    if (!device) {
        std::fprintf(stderr, "rdemo: the shapes need the OpenGL device\n");
        return {};
    }
    g3dFragmentManager::Initialize();
    g3dFragment* const shapes[3] = {g3dMakeWireBox(2.5f, 2.5f, 2.5f), g3dMakeSphere(2.0f, 8, 8),
                                    g3dMakeTexturedSphere(1.5f, 15, 15)};
    g2dPixelFormat argb;
    g2dGetPixelFormat(plD3dFormat::A8R8G8B8, argb);
    g2dImage saved(kHalf, kDemoHeight, argb);
    plD3dSurface* back = nullptr;
    g_pdevice->GetBackBuffer(0, plD3dBackBufferMono, &back);
    std::vector<u32> picture;
    bool ok = back && DrawShapes(shapes, 0) && CopyHalf(back, saved.GetSurface());
    if (back)
        back->Release();
    g2dScreen::EndFrame();

    device->InjectLoss();
    ok = ok && g2dScreen::EndFrame() == plD3dErr::Ok && device->TestCooperativeLevel() == plD3dErr::Ok;
    g_pdevice->GetBackBuffer(0, plD3dBackBufferMono, &back);
    ok = ok && back && CopyHalf(saved.GetSurface(), back) && DrawShapes(shapes, kHalf);
    if (back)
        back->Release();
    if (!ok)
        std::fprintf(stderr, "rdemo: the shapes could not be drawn around the reset\n");
    else if (std::vector<u32> drawn = DemoReadBackBuffer(); !HalvesMatch(drawn))
        std::fprintf(stderr, "rdemo: the shapes differ after the reset\n");
    else
        picture = std::move(drawn);
    for (g3dFragment* shape : shapes)
        g3dFragmentManager::DestroyFragment(shape);
    g2dScreen::EndFrame();
    return picture;
}
