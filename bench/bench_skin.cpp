// Skinning a 10 000-vertex skin on the fake device: every vertex influenced by two joints against every
// vertex by one. Each influence costs one point transform, and both upload the same vertices, so the
// two/one ratio printed after the table should be at most 2.
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scJoint.h"
#include "Engine/Graphics/Sc/scSingleSkinObject.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/plServices.h"
#include "benchReport.h"
#include "tests/Engine/Graphics/G2d/g2dNoText.h"

#include <cstdio>
#include <vector>

namespace {

constexpr u32 kSide = 100; // 100 x 100 vertices

// A grid skin whose root joint influences every vertex, and, with two influences, a child joint too.
std::unique_ptr<scSingleSkinObject> MakeSkin(u32 influences) {
    std::vector<maVector3d> positions, normals;
    std::vector<u16> indices;
    for (u32 y = 0; y < kSide; ++y)
        for (u32 x = 0; x < kSide; ++x) {
            positions.emplace_back(static_cast<f32>(x), 0.0f, static_cast<f32>(y));
            normals.emplace_back(0.0f, 1.0f, 0.0f);
        }
    for (u32 y = 0; y + 1 < kSide; ++y)
        for (u32 x = 0; x + 1 < kSide; ++x) {
            const auto a = static_cast<u16>(y * kSide + x);
            indices.insert(indices.end(), {a, static_cast<u16>(a + kSide), static_cast<u16>(a + 1)});
        }
    g3dMaterial* none = nullptr;
    g3dFragment* fragment = g3dFragmentManager::CreateFragmentPNT(
        positions.data(), normals.data(), static_cast<u32>(positions.size()), indices.data(),
        static_cast<u32>(indices.size()), &none, nullptr, 1, true);
    auto skin = std::make_unique<scSingleSkinObject>(fragment, positions, normals, 0);
    std::vector<scJointInfluence> all(positions.size());
    for (u32 v = 0; v < all.size(); ++v)
        all[v] = {static_cast<u16>(v), 1.0f / static_cast<f32>(influences)};
    const u32 count = static_cast<u32>(all.size());
    auto root = std::make_unique<scJoint>();
    root->SetInfluences(all.data(), count, count);
    if (influences == 2) {
        auto child = std::make_unique<scJoint>();
        child->SetTranslation(0, 1, 0);
        child->SetInfluences(all.data(), count, count);
        root->AddChild(std::move(child));
    }
    root->SetRotationEuler(0.1f, 0.2f, 0.3f);
    skin->SetJointTree(std::move(root));
    return skin;
}

void BM_ApplySkin(benchmark::State& state) {
    const auto skin = MakeSkin(static_cast<u32>(state.range(0)));
    for (auto _ : state)
        skin->ApplySkin();
}
BENCHMARK(BM_ApplySkin)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    plTestTimeSource time;
    plFakeD3d d3d;
    plInstallServices({.time = &time, .d3d = &d3d});
    g2dNoText text; // fragments need the screen, which asks for a text service
    g2dSetTextService(&text);
    g2dInitialize();
    g2dScreen::InitWindowed(640, 480, 0, 0);
    g3dFragmentManager::Initialize();
    g3dRenderer::Initialize();
    benchReport reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const benchReport::Figures* one = reporter.Find("BM_ApplySkin/1");
    const benchReport::Figures* two = reporter.Find("BM_ApplySkin/2");
    if (one && two)
        std::printf(
            "ApplySkin on 10 000 vertices: one influence %.1f us, two %.1f us, two/one %.2f (at most 2)\n",
            one->cpuSeconds * 1e6, two->cpuSeconds * 1e6, two->cpuSeconds / one->cpuSeconds);
    g3dRenderer::Shutdown();
    g2dScreen::Deinitialize();
    g2dShutdown();
    g2dSetTextService(nullptr);
    plInstallServices({});
    benchmark::Shutdown();
    return 0;
}
