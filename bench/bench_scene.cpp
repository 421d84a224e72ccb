#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/Sc/scObject.h"
#include "Engine/Graphics/Sc/scSceneManager.h"

#include "benchReport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

// One culling pass over N objects of the update list, a third in front of the camera, a third behind and
// a third off to the side: eight corners an object, so ten times the objects should cost ten times the
// time.
namespace {

class Crate : public scObject {
  public:
    explicit Crate(const maVector3d& centre) {
        maBoundingBox box;
        box.AddPoint(centre - maVector3d(1, 1, 1));
        box.AddPoint(centre + maVector3d(1, 1, 1));
        SetBoundingBox(box);
    }
    void Update(float) override {}
};

void BM_CullObjects(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<Crate>> crates;
    for (int i = 0; i < count; ++i) {
        const float spread = static_cast<float>(i % 100);
        const maVector3d centres[3] = {{spread - 50, 0, 100}, {0, spread, -100}, {500 + spread, 0, 50}};
        crates.push_back(std::make_unique<Crate>(centres[i % 3]));
        scAddToUpdateList(crates.back().get());
    }
    g3dCamera camera;
    maMatrix4d view, projection;
    camera.GetViewMatrix(view);
    camera.GetProjectionMatrix(projection);
    const maMatrix4d viewProjection = view * projection;
    for (auto _ : state)
        scCullObjects(viewProjection);
    // The crates leave the list as they go.
}
BENCHMARK(BM_CullObjects)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return benchRunAndPrint(argc, argv, [&](const benchReport& reporter) {
        const benchReport::Figures* small = reporter.Find("BM_CullObjects/1000");
        const benchReport::Figures* large = reporter.Find("BM_CullObjects/10000");
        if (small && large)
            std::printf(
                "culling pass, 10 000 objects / 1 000: %.2f (expected about 10: one pass, eight corners an "
                "object)\n",
                large->cpuSeconds / small->cpuSeconds);
    });
}
