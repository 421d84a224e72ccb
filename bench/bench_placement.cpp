// One frame of placing a prop (the pick ray through the pointer, the terrain hit, the grid's test of
// the footprint and the collision test against the track) with 500 props standing in the park against
// with 50: 2000 frames of the pointer sweeping the park, one run each. The ratio is printed (target: at
// most 2: the grid and the box tree keep the tests local).
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Collision/coPickPathMesh.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coModePlaceProp.h"
#include "Source/Modes/coModeTool.h"
#include "Source/Track/coParkWorld.h"
#include "Source/World/coPlacementGrid.h"
#include "Source/World/coProp.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropTemplate.h"
#include "benchReport.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kFrames = 2000;
constexpr float kHalfSize = 500.0f;

// Flat ground at height 0 over the whole park.
class FlatPark : public coParkWorld {
  public:
    bool IntersectSegment(const maVector3d& p0, const maVector3d& p1, maVector3d& point) const override {
        if (p0.y < 0.0f || p1.y >= 0.0f)
            return false;
        point = p0 + (p1 - p0) * (p0.y / (p0.y - p1.y));
        return true;
    }
};

// A circuit of 40 pick paths round the park's middle, 20 points each, registered for the collision tests.
class Track {
  public:
    Track() {
        for (int piece = 0; piece < 40; ++piece) {
            std::vector<maVector3d> points;
            for (int i = 0; i < 20; ++i) {
                const float a =
                    (static_cast<float>(piece) + static_cast<float>(i) / 19.0f) * 6.2831853f / 40.0f;
                points.emplace_back(300.0f * std::cos(a), 4.0f, 300.0f * std::sin(a));
            }
            auto& mesh = m_meshes.emplace_back(std::make_unique<coPickPathMesh>());
            mesh->SetPoints(points.data(), static_cast<int>(points.size()));
            coRegisterPlacedPiece(mesh.get(), nullptr);
        }
    }
    ~Track() {
        for (auto& mesh : m_meshes)
            coUnregisterPlacedPiece(mesh.get());
        coCollisionClearMarkers();
    }

  private:
    std::vector<std::unique_ptr<coPickPathMesh>> m_meshes;
};

void PlacementFrames(benchmark::State& state, int standing) {
    FlatPark park;
    coSetParkWorld(&park);
    coGetPlacementGrid().Build(-kHalfSize, kHalfSize, -kHalfSize, kHalfSize, 250, 250);
    coCollisionSetForced(true);
    coPropTemplate rock(envString("rock"), envString("Rock"), false);
    maRandomSeed(7);
    for (int i = 0; i < standing; ++i) {
        auto prop = std::make_unique<coProp>(rock);
        prop->SetPosition(
            maVector3d(maRandomFloat(-kHalfSize, kHalfSize), 0.0f, maRandomFloat(-kHalfSize, kHalfSize)));
        coPropList::Add(std::move(prop));
    }
    {
        Track track;
        g3dCamera camera;
        camera.LookAt(maVector3d(0.0f, 400.0f, -600.0f), maVector3d(0.0f, 0.0f, 0.0f),
                      maVector3d(0.0f, 1.0f, 0.0f));
        coProp placing(rock);
        int placeable = 0;
        for (auto _ : state) {
            for (int frame = 0; frame < kFrames; ++frame) {
                const coPickRay ray = coCastPickRay(camera, static_cast<float>(frame % 800),
                                                    static_cast<float>(200 + frame % 400), 800, 600);
                maVector3d hit;
                if (park.IntersectSegment(ray.start, ray.end, hit))
                    placing.SetPosition(hit);
                const bool mayPlace = coPropMayStand(placing);
                coGetPlacementGrid().SetCursorBox(placing.GetBounds(), mayPlace);
                placeable += mayPlace ? 1 : 0;
            }
        }
        benchmark::DoNotOptimize(placeable);
    }
    coPropList::DeleteAll();
    coCollisionSetForced(false);
    coSetParkWorld(nullptr);
}

void BM_Place50(benchmark::State& state) {
    PlacementFrames(state, 50);
}
BENCHMARK(BM_Place50)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Place500(benchmark::State& state) {
    PlacementFrames(state, 500);
}
BENCHMARK(BM_Place500)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchRunAndPrint(argc, argv, [&](const benchReport& report) {
        const benchReport::Figures* few = report.Find("BM_Place50/iterations:1");
        const benchReport::Figures* many = report.Find("BM_Place500/iterations:1");
        if (few && many && few->cpuSeconds > 0.0)
            std::printf(
                "placement frame (CPU) with 500 props %.3f us / with 50 props %.3f us = %.2f (target: at "
                "most 2)\n",
                many->cpuSeconds * 1e6 / kFrames, few->cpuSeconds * 1e6 / kFrames,
                many->cpuSeconds / few->cpuSeconds);
    });
}
