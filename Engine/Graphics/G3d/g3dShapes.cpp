#include "Engine/Graphics/G3d/g3dShapes.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr f32 kPi = std::numbers::pi_v<f32>;

// Whether a sphere of that many stacks and ring vertices fits 16-bit indices.
bool SphereFits(i32 stacks, i32 slices, i64 ringSize) {
    if (stacks < 2 || slices < 1 || (stacks - 1) * ringSize + 2 > 0xFFFF) {
        DBG_WARNING("No sphere of %d stacks and %d slices can be made", stacks, slices);
        return false;
    }
    return true;
}

maVector3d Direction(f32 theta, f32 phi) {
    return {std::cos(phi) * std::sin(theta), std::cos(theta), std::sin(phi) * std::sin(theta)};
}

struct Mesh {
    std::vector<maVector3d> positions, normals;
    std::vector<maVector2d> uvs;
    std::vector<u16> indices;

    void Add(const maVector3d& direction, f32 radius) {
        positions.emplace_back(direction.x * radius, direction.y * radius, direction.z * radius);
        normals.push_back(direction);
    }
    void Triangle(u32 a, u32 b, u32 c) {
        indices.insert(indices.end(), {static_cast<u16>(a), static_cast<u16>(b), static_cast<u16>(c)});
    }
};

} // namespace

g3dMaterial& g3dGetShapeMaterial() {
    static g3dMaterial material;
    return material;
}

g3dFragment* g3dMakeWireBox(f32 width, f32 height, f32 depth) {
    const f32 x = width / 2, y = height / 2, z = depth / 2;
    const f32 signs[8][3] = {{-1, -1, 1}, {1, -1, 1}, {1, -1, -1}, {-1, -1, -1},
                             {-1, 1, 1},  {1, 1, 1},  {1, 1, -1},  {-1, 1, -1}};
    const f32 n = 1.0f / std::sqrt(3.0f);
    maVector3d positions[8], normals[8];
    for (int i = 0; i < 8; ++i) {
        positions[i] = maVector3d(signs[i][0] * x, signs[i][1] * y, signs[i][2] * z);
        normals[i] = maVector3d(signs[i][0] * n, signs[i][1] * n, signs[i][2] * n);
    }
    const u16 edges[24] = {0, 1, 1, 2, 2, 3, 3, 0, 0, 4, 1, 5, 2, 6, 3, 7, 7, 6, 6, 5, 5, 4, 4, 7};
    g3dMaterial* material = &g3dGetShapeMaterial();
    return g3dFragmentManager::CreateFragmentPN(positions, normals, 8, edges, 24, &material, nullptr, 1,
                                                false);
}

g3dFragment* g3dMakeSphere(f32 radius, i32 stacks, i32 slices) {
    if (!SphereFits(stacks, slices, slices))
        return nullptr;
    const u32 n = static_cast<u32>(stacks), m = static_cast<u32>(slices);
    Mesh mesh;
    for (u32 i = 1; i < n; ++i)
        for (u32 j = 0; j < m; ++j)
            mesh.Add(Direction(static_cast<f32>(i) * kPi / static_cast<f32>(n),
                               static_cast<f32>(j) * 2 * kPi / static_cast<f32>(m)),
                     radius);
    const u32 top = (n - 1) * m, bottom = top + 1;
    mesh.Add({0, 1, 0}, radius);
    mesh.Add({0, -1, 0}, radius);
    for (u32 r = 0; r + 2 < n; ++r)
        for (u32 j = 0; j < m; ++j) {
            const u32 a = r * m + j, b = r * m + (j + 1) % m, c = (r + 1) * m + j,
                      d = (r + 1) * m + (j + 1) % m;
            mesh.Triangle(a, b, d);
            mesh.Triangle(d, c, a);
        }
    const u32 last = (n - 2) * m;
    for (u32 j = 0; j < m; ++j) {
        mesh.Triangle(top, (j + 1) % m, j);
        mesh.Triangle(bottom, last + j, last + (j + 1) % m);
    }
    g3dMaterial* material = &g3dGetShapeMaterial();
    return g3dFragmentManager::CreateFragmentPNT(
        mesh.positions.data(), mesh.normals.data(), static_cast<u32>(mesh.positions.size()),
        mesh.indices.data(), static_cast<u32>(mesh.indices.size()), &material, nullptr, 1, false);
}

g3dFragment* g3dMakeTexturedSphere(f32 radius, i32 stacks, i32 slices) {
    if (!SphereFits(stacks, slices, i64{slices} + 1))
        return nullptr;
    const u32 n = static_cast<u32>(stacks), m = static_cast<u32>(slices), ring = m + 1;
    Mesh mesh;
    for (u32 i = 1; i < n; ++i)
        for (u32 j = 0; j <= m; ++j) {
            const f32 theta = static_cast<f32>(i) * kPi / static_cast<f32>(n);
            const f32 phi = static_cast<f32>(j) * 2 * kPi / static_cast<f32>(m);
            mesh.Add(Direction(theta, phi), radius);
            mesh.uvs.emplace_back(theta / kPi, phi / (2 * kPi));
        }
    const u32 top = (n - 1) * ring, bottom = top + 1;
    mesh.Add({0, 1, 0}, radius);
    mesh.uvs.emplace_back(0.0f, 0.0f);
    mesh.Add({0, -1, 0}, radius);
    mesh.uvs.emplace_back(1.0f, 0.0f);
    for (u32 r = 0; r + 2 < n; ++r)
        for (u32 j = 0; j < m; ++j) {
            const u32 a = r * ring + j, c = a + ring, d = c + 1;
            mesh.Triangle(a, a + 1, d);
            mesh.Triangle(d, c, a);
        }
    const u32 last = (n - 2) * ring;
    for (u32 j = 0; j < m; ++j) {
        mesh.Triangle(top, j + 1, j);
        mesh.Triangle(bottom, last + j, last + j + 1);
    }
    g3dMaterial* material = &g3dGetShapeMaterial();
    return g3dFragmentManager::CreateFragmentPNT2(
        mesh.positions.data(), mesh.normals.data(), mesh.uvs.data(), static_cast<u32>(mesh.positions.size()),
        mesh.indices.data(), static_cast<u32>(mesh.indices.size()), &material, nullptr, 1, false);
}
