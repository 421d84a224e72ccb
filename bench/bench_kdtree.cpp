#include "Engine/Core/Geo/geoIntersection.h"
#include "Engine/Core/Geo/geoKDTree.h"
#include "Engine/Core/Ma/maRandom.h"
#include "benchReport.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

// A terrain heightfield of 256 x 256 cells (131,072 triangles), 8 units a cell, fed to the tree in
// 64 x 64-cell patches because indices are 16-bit.
namespace {

constexpr int kCells = 256;
constexpr int kPatch = 64;
constexpr float kSpacing = 8.0f;

float Height(int i, int j) {
    const float x = i * kSpacing, z = j * kSpacing;
    return 40.0f * std::sin(x * 0.01f) * std::cos(z * 0.013f) + 15.0f * std::sin(x * 0.05f + z * 0.03f);
}

struct Patch {
    std::vector<maVector3d> vertices;
    std::vector<u16> indices;
};

struct Terrain {
    std::vector<Patch> patches;
    // The same triangles for the brute-force reference, corners quantised as the tree stores them.
    std::vector<maVector3d> corners;
    std::vector<maVector3d> normals;

    Terrain() {
        maRandomSeed(1);
        std::vector<float> height((kCells + 1) * (kCells + 1));
        for (int j = 0; j <= kCells; ++j)
            for (int i = 0; i <= kCells; ++i)
                height[j * (kCells + 1) + i] = Height(i, j) + maRandomFloat(-2.0f, 2.0f);
        for (int pj = 0; pj < kCells; pj += kPatch)
            for (int pi = 0; pi < kCells; pi += kPatch)
                patches.push_back(MakePatch(height, pi, pj));
        for (const Patch& p : patches)
            for (size_t k = 0; k < p.indices.size(); k += 3)
                AddReference(p.vertices[p.indices[k]], p.vertices[p.indices[k + 1]],
                             p.vertices[p.indices[k + 2]]);
    }

    static Patch MakePatch(const std::vector<float>& height, int pi, int pj) {
        Patch p;
        for (int j = 0; j <= kPatch; ++j)
            for (int i = 0; i <= kPatch; ++i)
                p.vertices.emplace_back((pi + i) * kSpacing, height[(pj + j) * (kCells + 1) + pi + i],
                                        (pj + j) * kSpacing);
        auto at = [](int i, int j) { return static_cast<u16>(j * (kPatch + 1) + i); };
        // Wound so that the normals face up.
        for (int j = 0; j < kPatch; ++j)
            for (int i = 0; i < kPatch; ++i)
                p.indices.insert(p.indices.end(), {at(i, j), at(i, j + 1), at(i + 1, j), at(i + 1, j),
                                                   at(i, j + 1), at(i + 1, j + 1)});
        return p;
    }

    void AddReference(maVector3d a, maVector3d b, maVector3d c) {
        for (maVector3d* p : {&a, &b, &c})
            for (int k = 0; k < 3; ++k)
                (*p)[k] = static_cast<float>(std::floor((*p)[k] * 10000.0) / 10000.0);
        maVector3d n;
        (b - a).Cross(c - a, n);
        corners.insert(corners.end(), {a, b, c});
        normals.push_back(n / n.Length());
    }

    void Fill(geoKDTree& tree) const {
        for (const Patch& p : patches)
            tree.AddTriangles(p.vertices.data(), static_cast<u32>(p.vertices.size()), p.indices.data(),
                              static_cast<u32>(p.indices.size()));
        tree.Build();
    }

    // Every triangle against the segment, the nearest front-side hit kept.
    bool BruteForce(const maVector3d& a, const maVector3d& b, maVector3d& point) const {
        const maVector3d d = b - a;
        float best = 1.0f;
        bool found = false;
        for (size_t i = 0; i < normals.size(); ++i) {
            const maVector3d* v = &corners[i * 3];
            const maVector3d& n = normals[i];
            if (maDot(a - v[0], n) < 0.0f || maDot(b - v[0], n) > 0.0f)
                continue;
            float t, u, w;
            if (!geoIntersectLinePlane(a, d, v[0], n, t) || t < 0.0f || t >= best)
                continue;
            if (!geoPointInTriangle(v[0], v[1], v[2], a + d * t, n, u, w))
                continue;
            best = t;
            point = a + d * t;
            found = true;
        }
        return found;
    }
};

const Terrain& GetTerrain() {
    static const Terrain terrain;
    return terrain;
}

const geoKDTree& GetTree() {
    static geoKDTree tree;
    if (tree.GetTriangleCount() == 0)
        GetTerrain().Fill(tree);
    return tree;
}

// Downward probes from above the highest ground to below the lowest, at random places on the terrain.
std::vector<std::pair<maVector3d, maVector3d>> MakeQueries() {
    maRandomSeed(7);
    std::vector<std::pair<maVector3d, maVector3d>> q;
    const float size = kCells * kSpacing;
    for (int i = 0; i < 1024; ++i) {
        const float x = maRandomFloat(0.0f, size), z = maRandomFloat(0.0f, size);
        q.emplace_back(maVector3d(x, 200.0f, z), maVector3d(x, -200.0f, z));
    }
    return q;
}

void BM_Build(benchmark::State& state) {
    const Terrain& terrain = GetTerrain();
    u32 nodes = 0, depth = 0;
    for (auto _ : state) {
        geoKDTree tree;
        terrain.Fill(tree);
        nodes = tree.GetNodeCount();
        depth = tree.GetDepth();
        benchmark::DoNotOptimize(nodes);
    }
    state.counters["triangles"] = static_cast<double>(terrain.normals.size());
    state.counters["nodes"] = nodes;
    state.counters["depth"] = depth;
}
BENCHMARK(BM_Build)->Unit(benchmark::kMillisecond);

void BM_SegmentTree(benchmark::State& state) {
    const geoKDTree& tree = GetTree();
    const auto queries = MakeQueries();
    size_t i = 0, hits = 0;
    for (auto _ : state) {
        const auto& [a, b] = queries[i++ % queries.size()];
        geoKDTreeHit hit;
        hits += tree.IntersectSegment(a, b, hit);
        benchmark::DoNotOptimize(hit);
    }
    state.counters["hit_rate"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SegmentTree)->Unit(benchmark::kMicrosecond);

void BM_SegmentBruteForce(benchmark::State& state) {
    const Terrain& terrain = GetTerrain();
    const auto queries = MakeQueries();
    size_t i = 0, hits = 0;
    for (auto _ : state) {
        const auto& [a, b] = queries[i++ % queries.size()];
        maVector3d point;
        hits += terrain.BruteForce(a, b, point);
        benchmark::DoNotOptimize(point);
    }
    state.counters["hit_rate"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SegmentBruteForce)->Unit(benchmark::kMicrosecond);

// The tree and the brute force must find the same ground, or the ratio means nothing.
int CheckAgreement() {
    int disagreements = 0;
    for (const auto& [a, b] : MakeQueries()) {
        geoKDTreeHit hit;
        maVector3d point;
        const bool tree = GetTree().IntersectSegment(a, b, hit);
        const bool brute = GetTerrain().BruteForce(a, b, point);
        if (tree != brute || (tree && std::abs(hit.point.y - point.y) > 1e-3f))
            ++disagreements;
    }
    return disagreements;
}

} // namespace

int main(int argc, char** argv) {
    if (const int bad = CheckAgreement()) {
        std::printf("kd-tree and brute force disagree on %d of 1024 downward segments\n", bad);
        return 1;
    }
    return benchRunAndPrint(argc, argv, [](const benchReport& report) {
        const benchReport::Figures* tree = report.Find("BM_SegmentTree");
        const benchReport::Figures* brute = report.Find("BM_SegmentBruteForce");
        if (tree && brute && tree->seconds > 0.0)
            std::printf(
                "Downward segment query: kd-tree %.3f us, brute force %.1f us, kd-tree %.0fx faster\n",
                tree->seconds * 1e6, brute->seconds * 1e6, brute->seconds / tree->seconds);
    });
}
